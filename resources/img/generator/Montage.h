// A picture of the artwork for people: the images read back from their files and put
// together as the editor puts them, in two settings, above every image's frames.
#pragma once

#include <string>

// Reads the eight images from `imageFolder` and writes the picture to `path`. Throws on failure.
void WriteMontage(const std::string& imageFolder, const std::string& path);

#pragma once

#include <string>

// The parts of the editor window's file and folder services that do not depend on the window
// system.

// The folder of a path: the path up to and including the last separator ("\" or "/") that
// comes before its last character; "" without one.
std::string DirectoryOfPath(const char* path);

// The file dialog's filter and default extension for a list of extensions separated by
// blanks ("wav aif"): the patterns "*.wav;*.aif" as description and as pattern, each ended by
// a NUL, with a second NUL at the end; the default extension is the first word. False (and
// nothing written) for an empty list or one too long for the dialog.
bool FileDialogFilter(const char* extensions, std::string* filter, std::string* defaultExtension);

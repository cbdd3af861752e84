// The editor's eight images as the module holds them: resource id, file name, size, frames.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lice/LICE_Bitmap.h"

struct EditorImage
{
  int id;
  const char* name;
  int width;
  int height;
  int frames;
};

inline const std::vector<EditorImage>& EditorImages()
{
  static const std::vector<EditorImage> images = {
    {100, "resources/img/bkg.png", 650, 410, 1},
    {101, "resources/img/big-knob.png", 128, 12800, 100},
    {102, "resources/img/small-knob.png", 100, 10000, 100},
    {103, "resources/img/gain-meter.png", 16, 7500, 25},
    {104, "resources/img/peak-meter.png", 16, 17640, 49},
    {105, "resources/img/button.png", 24, 48, 2},
    {106, "resources/img/up-limit-fader.png", 115, 27, 1},
    {107, "resources/img/low-limit-fader.png", 115, 27, 1},
  };
  return images;
}

// The image decoded from the module's resource, or null.
std::unique_ptr<LICE_MemBitmap> DecodeModuleImage(int id);

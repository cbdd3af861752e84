// 8-bit RGBA images (straight alpha) as the PNG files hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image
{
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // row after row, 4 bytes a pixel

  Image() = default;
  Image(int w, int h) : width(w), height(h), rgba(std::size_t(w) * std::size_t(h) * 4, 0) {}
  std::uint8_t* At(int x, int y) { return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
  const std::uint8_t* At(int x, int y) const
  {
    return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
  }
};

// Frames of one size, stacked top to bottom in order.
Image StackFrames(const std::vector<Image>& frames);

// Writes 8-bit RGBA, not interlaced, with fixed compression settings and no time or text
// chunks, so the same image always gives the same bytes. Throws on failure.
void WritePng(const std::string& path, const Image& image);

// Test images written with libpng's own encoder, independent of the decoder under test, plus
// hand-made files the encoder refuses to write.
#pragma once

#include <cstdint>
#include <vector>

#include "lice/LICE_Pixel.h"

struct PngImage
{
  int width = 1;
  int height = 1;
  int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
  int depth = 8;
  bool interlaced = false;
  std::vector<std::uint16_t> samples;        // channels per pixel, row after row
  std::vector<std::uint8_t> palette;         // r, g, b triples
  std::vector<std::uint8_t> paletteAlpha;    // tRNS of a palette (may be shorter)
  bool hasTransparentColour = false;         // tRNS of grey and RGB
  std::uint16_t transparent[3] = {0, 0, 0};  // grey in [0], or r, g, b

  int Channels() const { return colourType == 4 ? 2 : colourType == 2 ? 3 : colourType == 6 ? 4 : 1; }
  // The decoded words this image should give, from the samples alone.
  std::vector<Pixel32> Expected() const;
};

// An image of random samples (and a random palette for colour type 3).
PngImage RandomPng(int colourType, int depth, int width, int height, unsigned seed);
std::vector<unsigned char> WritePng(const PngImage& image);
// Signature, an IHDR with the given fields, one IDAT of `rawBytes` zero bytes (none for 0), IEND.
std::vector<unsigned char> HandMadePng(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                                       std::size_t rawBytes);

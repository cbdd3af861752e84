#pragma once

// A colour as alpha, red, green and blue, each 0..255.
struct IColour
{
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  constexpr IColour() = default;
  constexpr IColour(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  bool operator==(const IColour& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColour& o) const { return !(*this == o); }
};

constexpr IColour ColourBlack(255, 0, 0, 0);
constexpr IColour ColourWhite(255, 255, 255, 255);
constexpr IColour ColourDefaultText(255, 0, 0, 0);

// Text for the artwork, rendered by FreeType from one font file.
#pragma once

#include <string>

#include "Canvas.h"

enum class Align
{
  Left,
  Centre,
  Right
};

class Typeface
{
public:
  // Throws when the file cannot be opened as a font.
  explicit Typeface(const std::string& path);
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  // Width in pixels of `text` at `size` with `tracking` extra pixels between letters.
  int Measure(const std::string& text, int size, int tracking = 0) const;

  // Draws `text` (ASCII) with its baseline at `baseline` and x as its left edge, centre or right
  // edge by `align`.
  void Draw(Canvas& canvas, const std::string& text, int size, float x, int baseline, Align align, Rgba colour,
            int tracking = 0) const;

private:
  // Coverage of the text and where its baseline and left edge lie in it.
  Coverage Render(const std::string& text, int size, int tracking, int* ascent) const;

  struct Library;
  Library* mFt;
};

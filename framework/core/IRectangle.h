#pragma once

// An area in pixels; right and bottom are exclusive. All four fields zero means empty;
// any other rectangle counts as non-empty, even one with right <= left.
struct IRectangle
{
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;

  IRectangle() = default;
  IRectangle(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }

  IRectangle UnionWith(const IRectangle& other) const;
  IRectangle IntersectionWith(const IRectangle& other) const;
  // Touching edges count on the right and bottom of this rectangle only, so the test is
  // not symmetric; the editor's redraw logic is built on exactly this test.
  bool Overlaps(const IRectangle& other) const;

  bool operator==(const IRectangle& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRectangle& o) const { return !(*this == o); }
};

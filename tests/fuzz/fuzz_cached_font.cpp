// Text as the editor hands it to a cached font: any bytes (valid UTF-8 or not, with or
// without a terminating NUL), any font and draw flags, any rectangle, colours and blend, onto
// bitmaps of any size and row order. Nothing may be written outside the bitmap and a
// measured rectangle never comes back inverted.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "lice/LICE_CachedFont.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/lice/FakeGlyphRasteriser.h"
#include "tests/lice/TestBitmaps.h"

namespace {
int Coordinate(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0:
    return in.ConsumeIntegral<int>();
  case 1:
    return in.PickValueInArray<int>({INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1, -1, 0});
  default:
    return in.ConsumeIntegralInRange(-80, 120);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  ScopedFakeRasteriser raster;
  // Glyphs of any advance, wider than their cell or of no width, for a few characters.
  for (int g = in.ConsumeIntegralInRange(0, 3); g > 0; --g)
  {
    const int ch = in.ConsumeIntegralInRange(0, 0xFFFF);
    const int advance = in.ConsumeIntegralInRange(-4, 300);
    const int ink = in.ConsumeIntegralInRange(0, 255);
    raster.fake.glyphs[ch] = FakeGlyph{advance, [ink](int x, int y, int) { return (x + y) % 3 ? ink : 0; }};
  }
  auto font = std::make_unique<LICE_CachedFont>();
  const int height = in.ConsumeIntegralInRange(-3, 120);
  const int fontFlags = in.ConsumeIntegral<uint16_t>() & ~LICE_FontNativeDraw;
  font->AssignFont(LICE_CreateFont("Arial", height, 400, false, 0, 0), fontFlags | LICE_FontOwnsHandle);
  font->ChangeTextColour(in.ConsumeIntegral<uint32_t>());
  font->ChangeBackColour(in.ConsumeIntegral<uint32_t>());
  font->ChangeEffectColour(in.ConsumeIntegral<uint32_t>());
  font->ChangeBackMode(in.ConsumeIntegralInRange(0, 3));
  const float alpha = in.PickValueInArray(
    {1.0f, 0.5f, 0.0f, -1.0f, 2.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()});
  font->ChangeBlend(
    in.PickValueInArray<BlendMode>({BlendCopy, BlendAdd, BlendDodge, BlendMultiply, BlendOverlay, BlendHsvAdjust,
                                    BlendChannelCopy, BlendCopy | BlendUseSourceAlpha, 0x7FFFFFFF}),
    alpha);

  for (int call = 0; call < 4 && in.remaining_bytes() > 0; ++call)
  {
    const int w = in.ConsumeIntegralInRange(0, 64), h = in.ConsumeIntegralInRange(0, 64);
    GuardedBitmap bitmap(w, h, in.ConsumeBool());
    LICE_TextRect rect{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
    const int flags = in.ConsumeIntegral<int>();
    const bool nulTerminated = in.ConsumeBool();
    const std::string bytes = in.ConsumeRandomLengthString(64);
    const int length = nulTerminated ? -1 : static_cast<int>(bytes.size());
    // Exactly the bytes given, so a read past `length` (or past the NUL) shows.
    std::vector<char> text(bytes.begin(), bytes.end());
    if (nulTerminated)
      text.push_back('\0');
    std::unique_ptr<char[]> exact(new char[text.size() ? text.size() : 1]);
    std::copy(text.begin(), text.end(), exact.get());
    const bool noBitmap = in.ConsumeIntegralInRange(0, 7) == 0;
    const LICE_TextRect before = rect;
    font->PaintText(noBitmap ? nullptr : &bitmap, exact.get(), length, &rect, flags);
    TQ_FUZZ_CHECK(bitmap.GuardsIntact());
    if (flags & LICE_DT_CALCRECT)
      TQ_FUZZ_CHECK(rect.left == before.left && rect.top == before.top && rect.right >= rect.left &&
                    rect.bottom >= rect.top);
  }
  font.reset();
  TQ_FUZZ_CHECK(raster.fake.doubleDeletes == 0);
  return 0;
}

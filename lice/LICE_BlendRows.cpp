#include "lice/LICE_BlendRows.h"

#include <algorithm>

#include "platform/cpu/CpuFeatures.h"
#include "platform/cpu/SseSupport.h"

// Written as plain loops without branches but the final select, so the compiler vectorises
// them as far as it can for the processor every build must run on.
void LICE_CopyRowPortable(Pixel32* __restrict d, const Pixel32* __restrict s, int width, int w)
{
  for (int x = 0; x < width; ++x)
  {
    const Pixel32 c = s[x];
    LICE_MixCopyPixel(&d[x], LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w);
  }
}

// A fully opaque source needs no case of its own: keep = 0 gives the source.
void LICE_AlphaFullRowPortable(Pixel32* __restrict d, const Pixel32* __restrict s, int width, int)
{
  for (int x = 0; x < width; ++x)
  {
    const Pixel32 sp = s[x], dp = d[x];
    const int sa = LICE_Alpha(sp);
    const int keep = 255 - sa;
    const int sr = LICE_Red(sp), sg = LICE_Green(sp), sb = LICE_Blue(sp);
    const int r = sr + (LICE_Red(dp) - sr) * keep / 256;
    const int g = sg + (LICE_Green(dp) - sg) * keep / 256;
    const int b = sb + (LICE_Blue(dp) - sb) * keep / 256;
    const int a = std::min(255, sa + LICE_Alpha(dp));
    const Pixel32 blended = (Pixel32(a) << 24) | (Pixel32(r) << 16) | (Pixel32(g) << 8) | Pixel32(b);
    d[x] = sa ? blended : dp;
  }
}

void LICE_AlphaRowPortable(Pixel32* __restrict d, const Pixel32* __restrict s, int width, int w)
{
  for (int x = 0; x < width; ++x)
  {
    const Pixel32 sp = s[x], dp = d[x];
    const int sa = LICE_Alpha(sp);
    const int k = w * (sa + 1) / 256;
    const int sr = LICE_Red(sp), sg = LICE_Green(sp), sb = LICE_Blue(sp);
    const int r = LICE_Clamp255(sr + (LICE_Red(dp) - sr) * (256 - k) / 256);
    const int g = LICE_Clamp255(sg + (LICE_Green(dp) - sg) * (256 - k) / 256);
    const int b = LICE_Clamp255(sb + (LICE_Blue(dp) - sb) * (256 - k) / 256);
    const int a = LICE_Clamp255(std::min(255, k + LICE_Alpha(dp)));
    const Pixel32 blended = (Pixel32(a) << 24) | (Pixel32(r) << 16) | (Pixel32(g) << 8) | Pixel32(b);
    d[x] = sa ? blended : dp;
  }
}

namespace {
constexpr LICE_BlendRowSet kPortableRows = {LICE_CopyRowPortable, LICE_AlphaFullRowPortable, LICE_AlphaRowPortable};
}  // namespace

const LICE_BlendRowSet& LICE_BlendRowsFor(LICE_BlendPath path)
{
#if TQ_HAVE_SSE_PATH
  if (path == LICE_BlendPath::Avx2)
    return LICE_BlendRowsAvx2;
  if (path == LICE_BlendPath::Sse2)
    return LICE_BlendRowsSse2;
#else
  (void)path;
#endif
  return kPortableRows;
}

const LICE_BlendRowSet& LICE_BlendRows()
{
  const CpuFeatures& cpu = ProcessorFeatures();
  if (cpu.avx2)
    return LICE_BlendRowsFor(LICE_BlendPath::Avx2);
  if (cpu.sse2)
    return LICE_BlendRowsFor(LICE_BlendPath::Sse2);
  return kPortableRows;
}

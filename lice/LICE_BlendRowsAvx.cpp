#include "lice/LICE_BlendRows.h"

#include "platform/cpu/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <immintrin.h>

// The 128-bit loops' arithmetic on eight pixels per round. Widening and narrowing work
// within each 128-bit half, so the pixels come back in their order.

namespace {

TQ_AVX_FUNCTION __m256i Select(__m256i mask, __m256i yes, __m256i no)
{
  return _mm256_blendv_epi8(no, yes, mask);
}

// s + (c - s) * k / 256, truncated toward zero, for |c - s| <= 255 and 0 <= k <= 256.
TQ_AVX_FUNCTION __m256i Toward(__m256i s, __m256i c, __m256i k)
{
  const __m256i diff = _mm256_sub_epi16(c, s);
  const __m256i sign = _mm256_srai_epi16(diff, 15);
  const __m256i magnitude = _mm256_abs_epi16(diff);
  const __m256i step = _mm256_srli_epi16(_mm256_mullo_epi16(magnitude, k), 8);
  return _mm256_add_epi16(s, _mm256_sub_epi16(_mm256_xor_si256(step, sign), sign));
}

TQ_AVX_FUNCTION __m256i SpreadAlpha(__m256i v)
{
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF);
}

TQ_AVX_FUNCTION __m256i Load(const Pixel32* p)
{
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

TQ_AVX_FUNCTION void Store(Pixel32* p, __m256i v)
{
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

TQ_AVX_FUNCTION __m256i CopyEight(__m256i dv, __m256i sv, __m256i keep)
{
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = Toward(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero), keep);
  const __m256i hi = Toward(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero), keep);
  return _mm256_packus_epi16(lo, hi);
}

TQ_AVX_FUNCTION __m256i AlphaFullEight(__m256i dv, __m256i sv)
{
  const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi16(255);
  const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i slo = _mm256_unpacklo_epi8(sv, zero), shi = _mm256_unpackhi_epi8(sv, zero);
  const __m256i lo = Toward(slo, _mm256_unpacklo_epi8(dv, zero), _mm256_sub_epi16(full, SpreadAlpha(slo)));
  const __m256i hi = Toward(shi, _mm256_unpackhi_epi8(dv, zero), _mm256_sub_epi16(full, SpreadAlpha(shi)));
  const __m256i blended = Select(alphaBytes, _mm256_adds_epu8(sv, dv), _mm256_packus_epi16(lo, hi));
  const __m256i transparent = _mm256_cmpeq_epi32(_mm256_and_si256(sv, alphaBytes), zero);
  return Select(transparent, dv, blended);
}

TQ_AVX_FUNCTION __m256i AlphaFour(__m256i d16, __m256i s16, __m256i w16)
{
  const __m256i one = _mm256_set1_epi16(1), whole = _mm256_set1_epi16(256), full = _mm256_set1_epi16(255);
  const __m256i alphaLanes = _mm256_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0);
  const __m256i k = _mm256_srli_epi16(_mm256_mullo_epi16(w16, _mm256_add_epi16(SpreadAlpha(s16), one)), 8);
  const __m256i colour = Toward(s16, d16, _mm256_sub_epi16(whole, k));
  return Select(alphaLanes, _mm256_min_epi16(_mm256_add_epi16(k, d16), full), colour);
}

TQ_AVX_FUNCTION __m256i AlphaEight(__m256i dv, __m256i sv, __m256i w16)
{
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = AlphaFour(_mm256_unpacklo_epi8(dv, zero), _mm256_unpacklo_epi8(sv, zero), w16);
  const __m256i hi = AlphaFour(_mm256_unpackhi_epi8(dv, zero), _mm256_unpackhi_epi8(sv, zero), w16);
  return _mm256_packus_epi16(lo, hi);
}

TQ_AVX_ENTRY void CopyRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  if (w < 1 || w > 255)
    return LICE_CopyRowPortable(d, s, width, w);
  const __m256i keep = _mm256_set1_epi16(static_cast<short>(256 - w));
  int x = 0;
  for (; x + 8 <= width; x += 8)
    Store(d + x, CopyEight(Load(d + x), Load(s + x), keep));
  LICE_BlendRowsSse2.copy(d + x, s + x, width - x, w);
}

TQ_AVX_ENTRY void AlphaFullRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  int x = 0;
  for (; x + 8 <= width; x += 8)
    Store(d + x, AlphaFullEight(Load(d + x), Load(s + x)));
  LICE_BlendRowsSse2.alphaFull(d + x, s + x, width - x, w);
}

TQ_AVX_ENTRY void AlphaRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  if (w < 1 || w > 255)
    return LICE_AlphaRowPortable(d, s, width, w);
  const __m256i w16 = _mm256_set1_epi16(static_cast<short>(w));
  int x = 0;
  for (; x + 8 <= width; x += 8)
    Store(d + x, AlphaEight(Load(d + x), Load(s + x), w16));
  LICE_BlendRowsSse2.alpha(d + x, s + x, width - x, w);
}

}  // namespace

const LICE_BlendRowSet LICE_BlendRowsAvx2 = {CopyRow, AlphaFullRow, AlphaRow};

#endif

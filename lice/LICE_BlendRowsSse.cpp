#include "lice/LICE_BlendRows.h"

#include "platform/cpu/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <emmintrin.h>

// Four pixels per round, widened to 16-bit channels two pixels per register.

namespace {

TQ_SSE_FUNCTION inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// s + (c - s) * k / 256, truncated toward zero, for |c - s| <= 255 and 0 <= k <= 256: the
// magnitude's product fits 16 bits unsigned; the sign goes back on after the shift.
TQ_SSE_FUNCTION inline __m128i Toward(__m128i s, __m128i c, __m128i k)
{
  const __m128i diff = _mm_sub_epi16(c, s);
  const __m128i sign = _mm_srai_epi16(diff, 15);
  const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(diff, sign), sign);
  const __m128i step = _mm_srli_epi16(_mm_mullo_epi16(magnitude, k), 8);
  return _mm_add_epi16(s, _mm_sub_epi16(_mm_xor_si128(step, sign), sign));
}

// Each pixel's alpha in all four of its channels.
TQ_SSE_FUNCTION inline __m128i SpreadAlpha(__m128i v)
{
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
}

TQ_SSE_FUNCTION inline __m128i Load(const Pixel32* p)
{
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

TQ_SSE_FUNCTION inline void Store(Pixel32* p, __m128i v)
{
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

TQ_SSE_FUNCTION inline __m128i CopyFour(__m128i dv, __m128i sv, __m128i keep)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = Toward(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero), keep);
  const __m128i hi = Toward(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero), keep);
  return _mm_packus_epi16(lo, hi);
}

// Colour moves toward the source by 255 - sa; alpha is sa + destination alpha, saturated;
// a transparent source leaves the pixel alone.
TQ_SSE_FUNCTION inline __m128i AlphaFullFour(__m128i dv, __m128i sv)
{
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
  const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i slo = _mm_unpacklo_epi8(sv, zero), shi = _mm_unpackhi_epi8(sv, zero);
  const __m128i lo = Toward(slo, _mm_unpacklo_epi8(dv, zero), _mm_sub_epi16(full, SpreadAlpha(slo)));
  const __m128i hi = Toward(shi, _mm_unpackhi_epi8(dv, zero), _mm_sub_epi16(full, SpreadAlpha(shi)));
  const __m128i blended = Select(alphaBytes, _mm_adds_epu8(sv, dv), _mm_packus_epi16(lo, hi));
  const __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(sv, alphaBytes), zero);
  return Select(transparent, dv, blended);
}

// Two pixels: k = w (sa + 1) / 256; colour moves toward the source by 256 - k, alpha is
// k + destination alpha, saturated. A transparent source gives k = 0 for these weights,
// which keeps the pixel as it is.
TQ_SSE_FUNCTION inline __m128i AlphaTwo(__m128i d16, __m128i s16, __m128i w16)
{
  const __m128i one = _mm_set1_epi16(1), whole = _mm_set1_epi16(256), full = _mm_set1_epi16(255);
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  const __m128i k = _mm_srli_epi16(_mm_mullo_epi16(w16, _mm_add_epi16(SpreadAlpha(s16), one)), 8);
  const __m128i colour = Toward(s16, d16, _mm_sub_epi16(whole, k));
  return Select(alphaLanes, _mm_min_epi16(_mm_add_epi16(k, d16), full), colour);
}

TQ_SSE_FUNCTION inline __m128i AlphaFour(__m128i dv, __m128i sv, __m128i w16)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = AlphaTwo(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), w16);
  const __m128i hi = AlphaTwo(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), w16);
  return _mm_packus_epi16(lo, hi);
}

TQ_SSE_ENTRY void CopyRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  if (w < 1 || w > 255)
    return LICE_CopyRowPortable(d, s, width, w);
  const __m128i keep = _mm_set1_epi16(static_cast<short>(256 - w));
  int x = 0;
  for (; x + 4 <= width; x += 4)
    Store(d + x, CopyFour(Load(d + x), Load(s + x), keep));
  LICE_CopyRowPortable(d + x, s + x, width - x, w);
}

TQ_SSE_ENTRY void AlphaFullRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  int x = 0;
  for (; x + 4 <= width; x += 4)
    Store(d + x, AlphaFullFour(Load(d + x), Load(s + x)));
  LICE_AlphaFullRowPortable(d + x, s + x, width - x, w);
}

TQ_SSE_ENTRY void AlphaRow(Pixel32* d, const Pixel32* s, int width, int w)
{
  if (w < 1 || w > 255)
    return LICE_AlphaRowPortable(d, s, width, w);
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
  int x = 0;
  for (; x + 4 <= width; x += 4)
    Store(d + x, AlphaFour(Load(d + x), Load(s + x), w16));
  LICE_AlphaRowPortable(d + x, s + x, width - x, w);
}

}  // namespace

const LICE_BlendRowSet LICE_BlendRowsSse2 = {CopyRow, AlphaFullRow, AlphaRow};

#endif

// Pixels, combine modes and the per-pixel blend helpers shared by every drawing routine.
#pragma once

#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "pixels are addressed as blue, green, red, alpha bytes in memory");

// 0xAARRGGBB, straight (not premultiplied) alpha. In memory: blue, green, red, alpha.
using Pixel32 = std::uint32_t;

// Low byte: the per-channel blend; bit 0x10000: weight by source alpha (fills: by colour alpha).
using BlendMode = std::int32_t;

constexpr BlendMode BlendCopy = 0;
constexpr BlendMode BlendAdd = 1;
constexpr BlendMode BlendDodge = 2;
constexpr BlendMode BlendMultiply = 3;
constexpr BlendMode BlendOverlay = 4;
constexpr BlendMode BlendHsvAdjust = 5;
constexpr BlendMode BlendChannelCopy = 0xF0;
constexpr BlendMode BlendUseSourceAlpha = 0x10000;

// Hue runs 0..383 in six sectors of 64 (0 red, 64 yellow, 128 green, 192 cyan, 256 blue, 320 magenta).
constexpr int LICE_HueRange = 384;

inline int LICE_Blue(Pixel32 p)
{
  return static_cast<int>(p & 0xFF);
}
inline int LICE_Green(Pixel32 p)
{
  return static_cast<int>((p >> 8) & 0xFF);
}
inline int LICE_Red(Pixel32 p)
{
  return static_cast<int>((p >> 16) & 0xFF);
}
inline int LICE_Alpha(Pixel32 p)
{
  return static_cast<int>(p >> 24);
}

inline Pixel32 LICE_Rgba(int red, int green, int blue, int alpha)
{
  return (static_cast<Pixel32>(alpha & 0xFF) << 24) | (static_cast<Pixel32>(red & 0xFF) << 16) |
         (static_cast<Pixel32>(green & 0xFF) << 8) | static_cast<Pixel32>(blue & 0xFF);
}

inline int LICE_Clamp255(int v)
{
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// The integer weight every routine derives from its float alpha: trunc(alpha * 256).
// NaN gives 0 (draw nothing) and |alpha| is limited to 16, so neither the conversion nor the
// channel products can overflow; every weight a caller can mean (-16..16) is unchanged.
inline int LICE_WeightFromAlpha(double alpha)
{
  if (!(alpha == alpha))
    return 0;
  if (alpha > 16.0)
    alpha = 16.0;
  if (alpha < -16.0)
    alpha = -16.0;
  return static_cast<int>(alpha * 256.0);
}

inline void LICE_StoreClamped(Pixel32* pixel, int red, int green, int blue, int alpha)
{
  *pixel = LICE_Rgba(LICE_Clamp255(red), LICE_Clamp255(green), LICE_Clamp255(blue), LICE_Clamp255(alpha));
}

// Per-channel formulas, shared by the blit, fill, glyph and line loops. Weights 0..256 keep
// every result inside 0..255; the clamped stores only matter for weights outside that range.
inline int LICE_CopyChannel(int c, int s, int w)
{
  return s + (c - s) * (256 - w) / 256;
}
inline int LICE_AddChannel(int c, int s, int w)
{
  return c + s * w / 256;
}
inline int LICE_DodgeChannel(int c, int s, int w)
{
  const int k = s * w / 256;
  return k >= 255 ? c * 256 : c * 256 / (256 - k);
}
inline int LICE_MultiplyChannel(int c, int s, int w)
{
  return (c * ((s - 256) * w + 65536)) >> 16;
}
inline int LICE_OverlayChannel(int c, int s, int w)
{
  const int m = s * w + (256 - w) * 128;
  return ((c * (32768 - m) / 256 + m) * c) >> 15;
}

inline void LICE_MixCopyPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  LICE_StoreClamped(pixel, LICE_CopyChannel(LICE_Red(d), red, w), LICE_CopyChannel(LICE_Green(d), green, w),
                    LICE_CopyChannel(LICE_Blue(d), blue, w), LICE_CopyChannel(LICE_Alpha(d), alpha, w));
}

inline void LICE_MixAddPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  LICE_StoreClamped(pixel, LICE_AddChannel(LICE_Red(d), red, w), LICE_AddChannel(LICE_Green(d), green, w),
                    LICE_AddChannel(LICE_Blue(d), blue, w), LICE_AddChannel(LICE_Alpha(d), alpha, w));
}

inline void LICE_MixDodgePixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  LICE_StoreClamped(pixel, LICE_DodgeChannel(LICE_Red(d), red, w), LICE_DodgeChannel(LICE_Green(d), green, w),
                    LICE_DodgeChannel(LICE_Blue(d), blue, w), LICE_DodgeChannel(LICE_Alpha(d), alpha, w));
}

inline void LICE_MixMultiplyPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  LICE_StoreClamped(pixel, LICE_MultiplyChannel(LICE_Red(d), red, w), LICE_MultiplyChannel(LICE_Green(d), green, w),
                    LICE_MultiplyChannel(LICE_Blue(d), blue, w), LICE_MultiplyChannel(LICE_Alpha(d), alpha, w));
}

inline void LICE_MixOverlayPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  LICE_StoreClamped(pixel, LICE_OverlayChannel(LICE_Red(d), red, w), LICE_OverlayChannel(LICE_Green(d), green, w),
                    LICE_OverlayChannel(LICE_Blue(d), blue, w), LICE_OverlayChannel(LICE_Alpha(d), alpha, w));
}

// Reciprocals for the HSV conversion: entry 0 is 0, entry i is floor(65536 / i) - 1.
extern const std::uint16_t HsvReciprocals[256];

void LICE_PixelToHsv(int red, int green, int blue, int* hue, int* saturation, int* value);
Pixel32 LICE_HsvToPixel(int hue, int saturation, int value, int alpha);

// Source red shifts the hue, green the saturation, blue the value (128 = no change); the
// pixel's alpha becomes `alpha`.
void LICE_MixHsvPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w);

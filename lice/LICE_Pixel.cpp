#include "lice/LICE_Pixel.h"

#include <array>

namespace {

constexpr std::array<std::uint16_t, 256> MakeReciprocals()
{
  std::array<std::uint16_t, 256> table{};
  for (int i = 1; i < 256; ++i)
    table[i] = static_cast<std::uint16_t>(65536 / i - 1);
  return table;
}

constexpr std::array<std::uint16_t, 256> kReciprocals = MakeReciprocals();

// One rising or falling channel of a hue sector, d the distance from the sector's pure colour.
inline int SectorChannel(int saturation, int value, int d)
{
  return (value * (16384 - saturation * d) / 16384) & 0xFF;
}

}  // namespace

const std::uint16_t HsvReciprocals[256] = {
#define R4(i) kReciprocals[i], kReciprocals[i + 1], kReciprocals[i + 2], kReciprocals[i + 3]
#define R16(i) R4(i), R4(i + 4), R4(i + 8), R4(i + 12)
  R16(0),   R16(16),  R16(32),  R16(48),  R16(64),  R16(80),  R16(96),  R16(112),
  R16(128), R16(144), R16(160), R16(176), R16(192), R16(208), R16(224), R16(240),
#undef R16
#undef R4
};

void LICE_PixelToHsv(int r, int g, int b, int* hue, int* saturation, int* value)
{
  int maximum, base, c, spread;
  if (g > r)
  {
    if (g > b)
    {
      maximum = g;
      base = 128;
      c = b - r;
      spread = g - (r < b ? r : b);
    }
    else
    {
      maximum = b;
      base = 256;
      c = r - g;
      spread = b - r;
    }
  }
  else if (r > b)
  {
    maximum = r;
    c = g - b;
    if (g >= b)
    {
      base = 0;
      spread = r - b;
    }
    else
    {
      base = 383;
      spread = r - g;
    }
  }
  else
  {
    maximum = b;
    base = 256;
    c = r - g;
    spread = b - (g < r ? g : r);
  }
  *value = maximum;
  *hue = base + (c * (kReciprocals[spread] + 1)) / 1024;
  *saturation = (spread * kReciprocals[maximum]) / 256;
}

Pixel32 LICE_HsvToPixel(int h, int s, int v, int a)
{
  // Out-of-range arguments are folded into range first; every in-range result is unchanged.
  h %= LICE_HueRange;
  if (h < 0)
    h += LICE_HueRange;
  s = s < 0 ? 0 : (s > 256 ? 256 : s);
  v = LICE_Clamp255(v);
  const int low = ((256 - s) * v / 256) & 0xFF;
  int red, green, blue;
  if (h < 64)
  {
    red = v;
    green = SectorChannel(s, v, 64 - h);
    blue = low;
  }
  else if (h < 128)
  {
    red = SectorChannel(s, v, h - 64);
    green = v;
    blue = low;
  }
  else if (h < 192)
  {
    red = low;
    green = v;
    blue = SectorChannel(s, v, 192 - h);
  }
  else if (h < 256)
  {
    red = low;
    green = SectorChannel(s, v, h - 192);
    blue = v;
  }
  else if (h < 320)
  {
    red = SectorChannel(s, v, 320 - h);
    green = low;
    blue = v;
  }
  else
  {
    red = v;
    green = low;
    blue = SectorChannel(s, v, h - 320);
  }
  return LICE_Rgba(red, green, blue, LICE_Clamp255(a));
}

void LICE_MixHsvPixel(Pixel32* pixel, int red, int green, int blue, int alpha, int w)
{
  const Pixel32 d = *pixel;
  int h, s, v;
  LICE_PixelToHsv(LICE_Red(d), LICE_Green(d), LICE_Blue(d), &h, &s, &v);
  h += w * (red / 2 + red - 192) / 256;
  // Large weights can move the hue by several turns: wrap it fully, not just once.
  h %= LICE_HueRange;
  if (h < 0)
    h += LICE_HueRange;
  s = LICE_Clamp255(s + w * (green - 128) / 128);
  v = LICE_Clamp255(v + w * (blue - 128) / 128);
  *pixel = LICE_HsvToPixel(h, s, v, alpha);
}

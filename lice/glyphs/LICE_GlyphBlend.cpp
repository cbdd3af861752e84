#include "lice/glyphs/LICE_GlyphBlend.h"

#include <algorithm>

namespace {
struct Colour
{
  int red, green, blue;
};

Colour ColourOf(Pixel32 p)
{
  return Colour{LICE_Red(p), LICE_Green(p), LICE_Blue(p)};
}

// Per-pixel operations: the source alpha is always 255, so alpha moves toward opaque.
struct CopyOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixCopyPixel(p, c.red, c.green, c.blue, 255, k); }
};
struct AddOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixAddPixel(p, c.red, c.green, c.blue, 255, k); }
};
struct DodgeOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixDodgePixel(p, c.red, c.green, c.blue, 255, k); }
};
struct MultiplyOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixMultiplyPixel(p, c.red, c.green, c.blue, 255, k); }
};
struct OverlayOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixOverlayPixel(p, c.red, c.green, c.blue, 255, k); }
};
struct HsvOp
{
  static void Apply(Pixel32* p, const Colour& c, int k) { LICE_MixHsvPixel(p, c.red, c.green, c.blue, 255, k); }
};

// How a mask byte v becomes a weight and a colour.
struct PlainFull  // alpha 1.0: weight v + 1, so 255 is full strength
{
  Colour text;
  int Weight(int v) const { return v + 1; }
  const Colour& Pick(int) const { return text; }
};
struct PlainScaled
{
  Colour text;
  int w;
  int Weight(int v) const { return std::min(w * v / 256, 256); }
  const Colour& Pick(int) const { return text; }
};
struct MonoWeight
{
  Colour text;
  int w;
  int Weight(int) const { return w; }
  const Colour& Pick(int) const { return text; }
};
struct EffectWeight
{
  Colour text, effect;
  int w;
  int Weight(int) const { return w; }
  const Colour& Pick(int v) const { return v == 255 ? text : effect; }
};

template <class Op, class Rule>
void Run(const LICE_GlyphSpan& span, const Rule& rule)
{
  const unsigned char* mask = span.mask;
  Pixel32* row = span.pixels;
  for (int y = 0; y < span.height; ++y, mask += span.maskStride, row += span.rowStep)
  {
    for (int x = 0; x < span.width; ++x)
    {
      const int v = mask[x];
      if (v)
        Op::Apply(row + x, rule.Pick(v), rule.Weight(v));
    }
  }
}

template <class Rule>
void RunMode(const LICE_GlyphSpan& span, int mode, const Rule& rule)
{
  switch (mode)
  {
  case BlendCopy:
    Run<CopyOp>(span, rule);
    break;
  case BlendAdd:
    Run<AddOp>(span, rule);
    break;
  case BlendDodge:
    Run<DodgeOp>(span, rule);
    break;
  case BlendMultiply:
    Run<MultiplyOp>(span, rule);
    break;
  case BlendOverlay:
    Run<OverlayOp>(span, rule);
    break;
  case BlendHsvAdjust:
    Run<HsvOp>(span, rule);
    break;
  default:
    break;
  }
}

void StoreWords(const LICE_GlyphSpan& span, Pixel32 text, Pixel32 effect)
{
  const unsigned char* mask = span.mask;
  Pixel32* row = span.pixels;
  for (int y = 0; y < span.height; ++y, mask += span.maskStride, row += span.rowStep)
  {
    for (int x = 0; x < span.width; ++x)
    {
      if (mask[x])
        row[x] = mask[x] == 255 ? text : effect;
    }
  }
}

}  // namespace

void LICE_BlendGlyphSpan(const LICE_GlyphSpan& span, LICE_GlyphFamily family, BlendMode mode, float alpha,
                         Pixel32 textColour, Pixel32 effectColour)
{
  const int low = mode & 0xFF;
  if (low > BlendHsvAdjust)
    return;
  if (family != LICE_GlyphFamily::Plain && alpha == 1.0f && low == BlendCopy)
  {
    // Mono stores the text colour for every mark, shadow or outline marks included.
    StoreWords(span, textColour, family == LICE_GlyphFamily::Mono ? textColour : effectColour);
    return;
  }
  int w = LICE_WeightFromAlpha(alpha);
  if (w == 0)
    return;
  if (family != LICE_GlyphFamily::Plain)
    w = std::min(w, 256);
  if (low == BlendCopy && w < 0)
    return;

  const Colour text = ColourOf(textColour);
  switch (family)
  {
  case LICE_GlyphFamily::Plain:
    if (w == 256)
      RunMode(span, low, PlainFull{text});
    else
      RunMode(span, low, PlainScaled{text, w});
    break;
  case LICE_GlyphFamily::Mono:
    RunMode(span, low, MonoWeight{text, w});
    break;
  case LICE_GlyphFamily::Effect:
    RunMode(span, low, EffectWeight{text, ColourOf(effectColour), w});
    break;
  }
}

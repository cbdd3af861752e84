#include "framework/gui/IGraphics.h"

#include "framework/core/IPlugBase.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IControl.h"
#include "lice/LICE_AreaBitmap.h"
#include "lice/LICE_Blit.h"
#include "lice/LICE_CachedFont.h"
#include "lice/LICE_Line.h"

#include <mutex>

namespace {

const IColour kOverlayGreen(255, 0, 255, 0);
constexpr int kOverlayTextSize = 20;
constexpr int kOverlayTextWidth = 150;
constexpr int kOverlayTextMaxLength = 32;

IRectangle OverlayTextArea(int width, int height)
{
  return IRectangle(width - kOverlayTextWidth, height - kOverlayTextSize, width, height);
}

// The part of the draw bitmap in the area being drawn: lines and text are clipped to it, as
// every blit is.
LICE_AreaBitmap AreaOf(LICE_IBitmap& bitmap, const IRectangle& area)
{
  return LICE_AreaBitmap(bitmap, area.L, area.T, area.R, area.B);
}

}  // namespace

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps, const IGraphicsFlags& flags)
  : mPlug(plug),
    mControls(GrowBuffer::kPageGranularity),
    mWidth(width),
    mHeight(height),
    mFps(fps > 0 ? fps : kDefaultFps),
    mFlags(flags),
    mOverlayStyle(kOverlayTextSize, kOverlayGreen)
{}

IGraphics::~IGraphics()
{
  // No call back into the plug-in from here: the plug-in may be half destroyed already.
  mKeyboardCatcher.reset();
  mControls.DeleteAll();
}

void IGraphics::SetKeyboardCatcher(IControl* catcher)
{
  mKeyboardCatcher.reset(catcher);
}

int IGraphics::AddControl(IControl* control)
{
  if (!control)
    return -1;
  if (!mControls.Append(control))
  {
    delete control;
    return -1;
  }
  return mControls.Count() - 1;
}

LICE_IBitmap* IGraphics::LoadBitmap(int resourceId, const char* name)
{
  if (LICE_IBitmap* cached = FindCachedBitmap(resourceId))
    return cached;
  LICE_IBitmap* loaded = LoadImageResource(resourceId, name);
  if (!loaded)
    return nullptr;
  CacheBitmap(loaded, resourceId);
  // Another editor may have cached the same image meanwhile: the first record is the one.
  return FindCachedBitmap(resourceId);
}

IBitmapRef IGraphics::FetchBitmap(int resourceId, const char* name, int frames, bool framesSideBySide)
{
  IBitmapRef ref;
  ref.frames = frames;
  ref.framesSideBySide = framesSideBySide;
  if (LICE_IBitmap* bitmap = LoadBitmap(resourceId, name))
  {
    ref.bitmap = bitmap;
    ref.width = bitmap->PixelWidth();
    ref.height = bitmap->PixelHeight();
  }
  return ref;
}

void IGraphics::SetBackdrop(int resourceId, const char* name)
{
  // Made even when the image is missing: an inert backdrop keeps every index the same.
  const IBitmapRef backdrop = FetchBitmap(resourceId, name);
  IControl* control = new IBitmapControl(mPlug, 0, 0, backdrop, IBlendSpec::kPlainCopy);
  if (!mControls.InsertAt(0, control))
    delete control;
}

void IGraphics::CreateDrawSurfaces()
{
  mDrawBitmap = std::make_unique<LICE_SysBitmap>(mWidth, mHeight);
  // A new bitmap holds nothing yet.
  MarkAllChanged();
}

void IGraphics::PushParamToControls(int paramIdx, double value, bool normalised)
{
  if (!normalised)
  {
    const IPlugParameter* param = mPlug ? mPlug->ParamAt(paramIdx) : nullptr;
    if (!param)
      return;
    value = param->NormalOf(value);
  }
  for (int i = 0, n = NControls(); i < n; ++i)
  {
    IControl* control = ControlAt(i);
    if (control->ParamIdx() == paramIdx)
      control->ApplyPlugValue(value);
    const int auxIdx = control->AuxIndexOfParam(paramIdx);
    if (auxIdx >= 0)
      control->ApplyPlugAuxValue(auxIdx, value);
  }
}

void IGraphics::GreyControlsOfParam(int paramIdx, bool greyed)
{
  for (int i = 0, n = NControls(); i < n; ++i)
  {
    IControl* control = ControlAt(i);
    if (control->ParamIdx() == paramIdx)
      control->SetGreyed(greyed);
  }
}

void IGraphics::MarkAllChanged()
{
  for (int i = 0, n = NControls(); i < n; ++i)
    ControlAt(i)->MarkChanged(false);
}

bool IGraphics::CollectDirtyRect(IRectangle* out) const
{
  // The overlay is drawn again every frame over the area it was drawn over, and its text,
  // which follows the pointer, wherever that area lay.
  bool dirty = mFlags.showBounds;
  if (dirty)
    *out = out->UnionWith(mRedrawRect).UnionWith(OverlayTextArea(mWidth, mHeight));
  for (int i = 0, n = NControls(); i < n; ++i)
  {
    const IControl* control = ControlAt(i);
    // A control without area has nothing to draw.
    if (control->Rect().Empty() || !control->NeedsRedraw())
      continue;
    *out = out->UnionWith(control->Rect());
    dirty = true;
  }
  return dirty;
}

namespace {

bool Contains(const IRectangle& outer, const IRectangle& inner)
{
  return outer.L <= inner.L && outer.T <= inner.T && outer.R >= inner.R && outer.B >= inner.B;
}

// Drawn in full when it lies inside r: only then is what r presents all of it. A paint of
// some other area (a window uncovered by the host) must not swallow changes it did not show.
void ClearWhenInside(IControl* control, const IRectangle& r)
{
  const IRectangle& rect = control->Rect();
  if (rect.Empty() || Contains(r, rect))
    control->ClearChanged();
}

}  // namespace

bool IGraphics::RedrawRect(const IRectangle& r)
{
  if (NControls() == 0)
    return false;
  if (mFlags.strictDrawing || mFlags.showBounds)
  {
    // The draw bitmap keeps every frame: r is drawn again whole, in one pass, and each
    // control drawn whole is done with.
    DrawArea(r);
    for (int i = 0, n = NControls(); i < n; ++i)
      ClearWhenInside(ControlAt(i), r);
    if (mFlags.showBounds)
      DrawBoundsOverlay();
  }
  else
    RedrawChangedControls(r);
  return PresentRect(r);
}

void IGraphics::RedrawChangedControls(const IRectangle& r)
{
  const int n = NControls();
  IControl* backdrop = ControlAt(0);
  if (backdrop->NeedsRedraw())
  {
    mRedrawRect = backdrop->Rect();
    for (int i = 0; i < n; ++i)
    {
      IControl* control = ControlAt(i);
      if (i > 0 && control->IsHidden())
        continue;
      control->Render(this);
      ClearWhenInside(control, r);
    }
    return;
  }
  for (int i = 1; i < n; ++i)
  {
    IControl* changed = ControlAt(i);
    if (!changed->NeedsRedraw())
      continue;
    mRedrawRect = changed->Rect();
    for (int j = 0; j < n; ++j)
    {
      IControl* control = ControlAt(j);
      if (!control->IsHidden() && (j == i || mRedrawRect.Overlaps(control->Rect())))
        control->Render(this);
    }
    ClearWhenInside(changed, r);
  }
}

void IGraphics::DrawBoundsOverlay()
{
  for (int i = 1, n = NControls(); i < n; ++i)
    OutlineRect(kOverlayGreen, ControlAt(i)->Rect());
  StringBuffer position;
  position.Format(kOverlayTextMaxLength, "x: %i, y: %i", mLastX, mLastY);
  IRectangle where = OverlayTextArea(mWidth, mHeight);
  RenderText(mOverlayStyle, position.Get(), &where, false);
}

bool IGraphics::OutlineRect(const IColour&, const IRectangle& rect)
{
  if (!mDrawBitmap)
    return true;
  LICE_AreaBitmap area = AreaOf(*mDrawBitmap, mRedrawRect);
  const Pixel32 green = LICE_Rgba(kOverlayGreen.R, kOverlayGreen.G, kOverlayGreen.B, kOverlayGreen.A);
  const int l = rect.L - area.Left(), t = rect.T - area.Top(), r = rect.R - area.Left(), b = rect.B - area.Top();
  LICE_DrawSegment(&area, l, t, r, t, green, 1.0f, BlendCopy, false);
  LICE_DrawSegment(&area, l, b, r, b, green, 1.0f, BlendCopy, false);
  LICE_DrawSegment(&area, l, t, l, b, green, 1.0f, BlendCopy, false);
  LICE_DrawSegment(&area, r, t, r, b, green, 1.0f, BlendCopy, false);
  return true;
}

void IGraphics::DrawArea(const IRectangle& area)
{
  mRedrawRect = area;
  for (int i = 0, n = NControls(); i < n; ++i)
  {
    IControl* control = ControlAt(i);
    if (!control->IsHidden() && area.Overlaps(control->Rect()))
      control->Render(this);
  }
}

bool IGraphics::BlitBitmap(const IBitmapRef& bitmap, const IRectangle& dest, int sx, int sy, const IBlendSpec* blend)
{
  const IRectangle c = dest.IntersectionWith(mRedrawRect);
  if (c.W() <= 0 || c.H() <= 0 || bitmap.Empty())
    return true;
  sx += c.L - dest.L;
  sy += c.T - dest.T;
  BlendMode mode = BlendCopy | BlendUseSourceAlpha;
  float weight = IBlendSpec::kFullWeight;
  if (blend)
  {
    weight = blend->weight;
    switch (blend->kind)
    {
    case IBlendSpec::kPlainCopy:
      mode = BlendCopy;
      break;
    case IBlendSpec::kAdd:
      mode = BlendAdd | BlendUseSourceAlpha;
      break;
    case IBlendSpec::kDodge:
      mode = BlendDodge | BlendUseSourceAlpha;
      break;
    default:
      break;
    }
  }
  const LICE_SourceRect source{sx, sy, sx + c.W(), sy + c.H()};
  LICE_CopyRect(mDrawBitmap.get(), bitmap.bitmap, c.L, c.T, &source, weight, mode);
  return true;
}

bool IGraphics::MeasureTextRect(ITextStyle& style, const char* text, IRectangle* rect)
{
  return RenderText(style, text, rect, true);
}

bool IGraphics::RenderText(ITextStyle& style, const char* text, IRectangle* rect, bool measureOnly)
{
  if (!text || !text[0] || !rect)
    return true;
  LICE_CachedFont* font = style.font ? style.font : ObtainFont(style);
  if (!font)
    return false;
  const IColour& colour = style.colour;
  int flags = LICE_DT_VCENTER | LICE_DT_SINGLELINE | LICE_DT_NOCLIP;
  if (colour.A < 255)
    flags |= LICE_DT_USE_TEXT_ALPHA;
  if (style.align == ITextStyle::kAlignCenter)
    flags |= LICE_DT_CENTER;
  else if (style.align != ITextStyle::kAlignNear)
    flags |= LICE_DT_RIGHT;

  // Fonts are shared by every editor of the process: the colour is set and used in one step.
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  font->ChangeTextColour(LICE_Rgba(colour.R, colour.G, colour.B, colour.A));
  if (!measureOnly)
  {
    // Like every blit, clipped to the area being drawn: a text reaching beyond it would be
    // blended again over pixels that were not drawn afresh.
    if (!mDrawBitmap)
      return true;
    LICE_AreaBitmap area = AreaOf(*mDrawBitmap, mRedrawRect);
    LICE_TextRect place{rect->L - area.Left(), rect->T - area.Top(), rect->R - area.Left(), rect->B - area.Top()};
    if (area.PixelWidth() > 0)
      font->PaintText(&area, text, -1, &place, flags);
    return true;
  }
  LICE_TextRect measured{0, 0, 0, 0};
  font->PaintText(mDrawBitmap.get(), text, -1, &measured, flags | LICE_DT_CALCRECT);
  const int w = measured.right - measured.left;
  const int h = measured.bottom - measured.top;
  if (style.align == ITextStyle::kAlignNear)
    rect->R = rect->L + w;
  else if (style.align == ITextStyle::kAlignCenter)
  {
    rect->L = static_cast<int>((static_cast<double>(rect->L) + rect->R) * 0.5) - w / 2;
    rect->R = rect->L + w;
  }
  else
    rect->L = rect->R - w;
  rect->B = rect->T + h;
  return true;
}

namespace {

// Style qualities as font qualities: default, anti-aliased, sub-pixel, else non-anti-aliased.
int FontQuality(int styleQuality)
{
  switch (styleQuality)
  {
  case ITextStyle::kQualityDefault:
    return 0;
  case ITextStyle::kQualityAntiAliased:
    return 4;
  case ITextStyle::kQualityClearType:
    return 5;
  default:
    return 3;
  }
}

}  // namespace

LICE_CachedFont* IGraphics::ObtainFont(ITextStyle& style)
{
  LICE_CachedFont* font = FindCachedFont(style);
  if (!font)
  {
    std::unique_ptr<LICE_CachedFont> made(new LICE_CachedFont);
    const LICE_FontHandle handle = LICE_CreateFont(
      style.face, style.size, style.style == ITextStyle::kStyleBold ? 700 : 400,
      style.style == ITextStyle::kStyleItalic, (style.orientation % 360) * 10, FontQuality(style.quality));
    if (!handle)
      return nullptr;
    font = made.release();
    font->AssignFont(handle, LICE_FontOwnsHandle | LICE_FontNativeDraw);
    CacheFont(font, style);
    font = FindCachedFont(style);
    if (!font)
      return nullptr;
  }
  style.font = font;
  return font;
}

void IGraphics::ChangeSize(int width, int height)
{
  EndGesture();
  mWidth = width;
  mHeight = height;
  mCaptureIdx = -1;
  mHoverIdx = -1;
  mLastX = mLastY = -1;
  mControls.DeleteAll();
  mDrawBitmap.reset();
  CreateDrawSurfaces();
  if (mPlug)
    mPlug->ResizeEditor(width, height);
}

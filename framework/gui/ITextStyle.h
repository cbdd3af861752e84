#pragma once

#include "framework/core/IColour.h"

class LICE_CachedFont;

// How a text is drawn. The font is filled in by the editor's font cache, which owns it; a
// copy of the style shares the pointer.
struct ITextStyle
{
  enum EStyle
  {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleItalic = 2,
  };
  enum EAlign
  {
    kAlignNear = 0,
    kAlignCenter = 1,
    kAlignFar = 2,
  };
  enum EQuality
  {
    kQualityDefault = 0,
    kQualityAntiAliased = 2,
    kQualityClearType = 3,
  };

  static constexpr int kFaceSize = 32;

  char face[kFaceSize] = "Arial";
  int size = 12;
  IColour colour = ColourDefaultText;
  IColour entryBackground = ColourWhite;
  IColour entryText = ColourBlack;
  int style = kStyleNormal;
  int align = kAlignCenter;
  int orientation = 0;
  int quality = kQualityDefault;
  LICE_CachedFont* font = nullptr;

  ITextStyle() = default;
  // The face is cut to 31 characters.
  ITextStyle(int size, const IColour& colour, const char* face = "Arial", int style = kStyleNormal,
             int align = kAlignCenter, int orientation = 0, int quality = kQualityDefault);
};

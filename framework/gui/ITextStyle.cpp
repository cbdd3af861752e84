#include "framework/gui/ITextStyle.h"

#include "framework/core/IPlugParameter.h"

ITextStyle::ITextStyle(int size_, const IColour& colour_, const char* face_, int style_, int align_, int orientation_,
                       int quality_)
  : size(size_), colour(colour_), style(style_), align(align_), orientation(orientation_), quality(quality_)
{
  CopyText(face, kFaceSize, face_ ? face_ : "Arial");
}

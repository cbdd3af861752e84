#include "framework/gui/PlatformGraphics.h"
#include "framework/gui/headless/IGraphicsHeadless.h"

IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsHeadless(plug, width, height, fps);
}

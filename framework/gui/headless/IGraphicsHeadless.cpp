#include "framework/gui/headless/IGraphicsHeadless.h"

#include "framework/core/StringBuffer.h"
#include "framework/gui/ImageResource.h"

void IGraphicsHeadless::HostDirectory(StringBuffer& out)
{
  out.Assign("");
}

void IGraphicsHeadless::PlugDirectory(StringBuffer& out)
{
  out.Assign("");
}

void IGraphicsHeadless::DesktopDirectory(StringBuffer& out)
{
  out.Assign("");
}

void IGraphicsHeadless::AppDataDirectory(StringBuffer& out, bool)
{
  out.Assign("");
}

void IGraphicsHeadless::AskForFile(StringBuffer& file, int, StringBuffer&, const char*)
{
  file.Assign("");
}

bool IGraphicsHeadless::ReadClipboardText(StringBuffer& out)
{
  out.Assign("");
  return false;
}

LICE_IBitmap* IGraphicsHeadless::LoadImageResource(int resourceId, const char* name)
{
  return LoadPngResource(nullptr, resourceId, name);
}

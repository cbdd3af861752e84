#pragma once

#include "framework/gui/IGraphics.h"

// The editor without a window, for systems where the plug-in has no editor window: every
// control, drawing and dispatch works; window requests answer that there is no window, and
// the images come from the module's compiled-in resources.
class IGraphicsHeadless : public IGraphics
{
public:
  using IGraphics::IGraphics;

  // Nothing to show the area on.
  bool PresentRect(const IRectangle&) override { return true; }
  void CancelTextEntry() override {}
  int ShowMessage(const char*, const char*, int) override { return 0; }
  IMenu* RunPopupMenu(IMenu*, const IRectangle&) override { return nullptr; }
  void BeginTextEntry(IControl*, const ITextStyle&, const IRectangle&, const char*, IPlugParameter*) override {}
  void HostDirectory(StringBuffer& out) override;
  void PlugDirectory(StringBuffer& out) override;
  void DesktopDirectory(StringBuffer& out) override;
  void AppDataDirectory(StringBuffer& out, bool allUsers) override;
  void AskForFile(StringBuffer& file, int action, StringBuffer& directory, const char* extensions) override;
  bool AskForColour(IColour&, const char*) override { return false; }
  bool LaunchUrl(const char*, const char*, const char*, const char*) override { return false; }
  void* OpenInParent(void*) override { return nullptr; }
  void CloseView() override {}
  void* NativeWindow() const override { return nullptr; }
  bool ReadClipboardText(StringBuffer& out) override;
  void PlatformStub() override {}
  LICE_IBitmap* LoadImageResource(int resourceId, const char* name) override;
};

// Editors, plug-ins and images for the editor framework's tests.
#pragma once

#include "framework/core/IMenu.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "lice/LICE_Bitmap.h"
#include "framework/bindings/test/IPlugTestBinding.h"
#include "tests/lice/FakeGlyphRasteriser.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A plug-in with a number, a switch and a second number; records what reached the host.
class GuiTestPlug : public IPlugTestBinding
{
public:
  enum EParams
  {
    kLevel = 0,  // -100..100 %
    kSwitch,     // off/on
    kGain,       // -12..12 dB
    kNumParams
  };

  explicit GuiTestPlug(int bindingKind = kBindingVST2) : IPlugTestBinding(MakeArgs(bindingKind))
  {
    ParamAt(kLevel)->DefineDouble("Level", 0.0, -100.0, 100.0, 1.0, "%");
    ParamAt(kSwitch)->DefineBool("Switch", false);
    ParamAt(kGain)->DefineDouble("Gain", 0.0, -12.0, 12.0, 1.0, "dB");
  }

  void ShowHostParamMenu(int paramIdx, int x, int y) override { hostMenus.push_back({paramIdx, x, y}); }
  void HandleParameterChange(int paramIdx, int cause) override
  {
    IPlugTestBinding::HandleParameterChange(paramIdx, cause);
    changes.push_back(paramIdx);
  }

  // The begin, perform and end notices, as "b0 p0 e0"-style words.
  std::string Gestures() const
  {
    std::string out;
    for (const HostEvent& e : events)
    {
      const char kind = e.kind == HostEvent::kBeginEdit ? 'b' : e.kind == HostEvent::kPerformEdit ? 'p' : 'e';
      if (e.kind <= HostEvent::kEndEdit)
        out += (out.empty() ? "" : " ") + std::string(1, kind) + std::to_string(e.index);
    }
    return out;
  }

  struct Menu
  {
    int paramIdx, x, y;
  };
  std::vector<Menu> hostMenus;
  std::vector<int> changes;

private:
  static Args MakeArgs(int bindingKind)
  {
    Args args;
    args.nParams = kNumParams;
    args.bindingKind = bindingKind;
    return args;
  }
};

// An editor whose window is the test: it records what was presented and prompted, answers
// menus as scripted, and serves images made by the test.
class TestGraphics : public IGraphics
{
public:
  using IGraphics::IGraphics;

  std::map<int, std::function<LICE_IBitmap*()>> images;  // by resource id
  std::map<int, int> loads;                              // image loads by resource id
  std::vector<IRectangle> presented;
  int menuChoice = -1;  // the item the user picks; -1 closes the menu
  std::vector<std::string> menuItems;
  struct Entry
  {
    IControl* control;
    IRectangle rect;
    std::string text;
    IPlugParameter* param;
  };
  std::vector<Entry> entries;

  bool PresentRect(const IRectangle& r) override
  {
    presented.push_back(r);
    return true;
  }
  void CancelTextEntry() override {}
  int ShowMessage(const char*, const char*, int) override { return 0; }
  IMenu* RunPopupMenu(IMenu* menu, const IRectangle&) override
  {
    menuItems.clear();
    for (int i = 0; i < menu->ItemCount(); ++i)
      menuItems.push_back(std::string(menu->ItemAt(i)->Text()) +
                          (menu->ItemAt(i)->Flags() & IMenuItem::kChecked ? "*" : ""));
    if (menuChoice < 0)
      return nullptr;
    menu->SetChosenIndex(menuChoice);
    return menu;
  }
  void BeginTextEntry(IControl* control, const ITextStyle&, const IRectangle& rect, const char* text,
                      IPlugParameter* param) override
  {
    entries.push_back({control, rect, text, param});
  }
  void HostDirectory(StringBuffer&) override {}
  void PlugDirectory(StringBuffer&) override {}
  void DesktopDirectory(StringBuffer&) override {}
  void AppDataDirectory(StringBuffer&, bool) override {}
  void AskForFile(StringBuffer&, int, StringBuffer&, const char*) override {}
  bool AskForColour(IColour&, const char*) override { return false; }
  bool LaunchUrl(const char*, const char*, const char*, const char*) override { return false; }
  void* OpenInParent(void*) override { return nullptr; }
  void CloseView() override {}
  void* NativeWindow() const override { return nullptr; }
  bool ReadClipboardText(StringBuffer&) override { return false; }
  LICE_IBitmap* LoadImageResource(int resourceId, const char*) override
  {
    ++loads[resourceId];
    auto found = images.find(resourceId);
    return found == images.end() ? nullptr : found->second();
  }

  // Collects the dirty area and draws it, as the window's timer does; the area drawn.
  IRectangle Tick()
  {
    IRectangle dirty;
    if (CollectDirtyRect(&dirty))
      RedrawRect(dirty);
    return dirty;
  }
  Pixel32 PixelAt(int x, int y) const { return DrawBitmap()->PixelData()[y * DrawBitmap()->RowPitch() + x]; }
};

// A strip of frames, each filled with a colour that names it: red = frame index (from 0),
// green = 255 - index, blue = the tag, alpha 255; the top-left pixel of every frame is
// transparent.
inline LICE_MemBitmap* FrameStrip(int frameWidth, int frameHeight, int frames, int tag = 0)
{
  auto* strip = new LICE_MemBitmap(frameWidth, frameHeight * frames);
  for (int y = 0; y < frameHeight * frames; ++y)
    for (int x = 0; x < frameWidth; ++x)
    {
      const int frame = y / frameHeight;
      const bool corner = x == 0 && y % frameHeight == 0;
      strip->PixelData()[y * strip->RowPitch() + x] = corner ? 0 : LICE_Rgba(frame, 255 - frame, tag, 255);
    }
  return strip;
}

// The frame a drawn pixel came from (its red byte).
inline int FrameOf(Pixel32 pixel)
{
  return LICE_Red(pixel);
}

inline PointerModifiers Left()
{
  PointerModifiers m;
  m.left = true;
  return m;
}

inline PointerModifiers Right()
{
  PointerModifiers m;
  m.right = true;
  return m;
}

// A plug-in with a test editor, drawn with the fake glyph rasteriser. Tests add controls,
// then Attach() hands the editor to the plug-in as a plug-in's constructor does.
class EditorFixture
{
public:
  explicit EditorFixture(int bindingKind = IPlugBase::kBindingVST2, int width = 200, int height = 200)
    : plug(new GuiTestPlug(bindingKind)), graphics(new TestGraphics(plug.get(), width, height))
  {}
  ~EditorFixture()
  {
    if (!attached)
      delete graphics;
    plug.reset();
    IGraphics::ReleaseCachedFonts();  // made by the fake, which goes next
  }

  void Attach()
  {
    plug->AttachEditor(graphics);
    attached = true;
  }
  // Adds the control and returns it.
  template <class Control>
  Control* Add(Control* control)
  {
    graphics->AddControl(control);
    return control;
  }
  // A strip of frames (see FrameStrip). The bitmap cache lives as long as the test program
  // and knows images by id alone, so every distinct strip gets an id of its own.
  IBitmapRef Strip(int frameWidth, int frameHeight, int frames, int tag = 0)
  {
    static std::map<std::vector<int>, int> ids;
    const auto key = std::vector<int>{frameWidth, frameHeight, frames, tag};
    const int id = ids.emplace(key, 2000 + static_cast<int>(ids.size())).first->second;
    graphics->images[id] = [=] { return FrameStrip(frameWidth, frameHeight, frames, tag); };
    return graphics->FetchBitmap(id, "strip.png", frames);
  }

  ScopedFakeRasteriser rasteriser;
  std::unique_ptr<GuiTestPlug> plug;
  TestGraphics* graphics;
  bool attached = false;
};

// Editors, plug-ins and images for the editor framework's tests.
#pragma once

#include "framework/bindings/test/IPlugTestBinding.h"
#include "framework/core/IMenu.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/headless/IGraphicsHeadless.h"
#include "lice/LICE_Bitmap.h"
#include "tests/lice/FakeGlyphRasteriser.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The begin, perform and end notices that reached the host, as "b0 p0 e0".
inline std::string GestureWords(const std::vector<IPlugTestBinding::HostEvent>& events)
{
  std::string out;
  for (const IPlugTestBinding::HostEvent& e : events)
    if (e.kind <= IPlugTestBinding::HostEvent::kEndEdit)
      out += std::string(out.empty() ? "" : " ") + "bpe"[e.kind] + std::to_string(e.index);
  return out;
}

// A plug-in with a number, a switch and a second number.
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

  void ShowHostParamMenu(int paramIdx, int, int) override { hostMenus.push_back(paramIdx); }
  std::string Gestures() const { return GestureWords(events); }

  std::vector<int> hostMenus;

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
class TestGraphics : public IGraphicsHeadless
{
public:
  using IGraphicsHeadless::IGraphicsHeadless;

  std::map<int, std::function<LICE_IBitmap*()>> images;  // by resource id
  std::map<int, int> loads;                              // image loads by resource id
  std::vector<IRectangle> presented;
  int menuChoice = -1;  // the item the user picks; -1 closes the menu
  std::vector<std::string> menuItems;
  std::vector<std::string> entries;  // the initial texts of the text entries opened

  bool PresentRect(const IRectangle& r) override
  {
    presented.push_back(r);
    return true;
  }
  IMenu* RunPopupMenu(IMenu* menu, const IRectangle&) override
  {
    menuItems.clear();
    for (int i = 0; i < menu->ItemCount(); ++i)
      menuItems.push_back(std::string(menu->ItemAt(i)->Text()) +
                          (menu->ItemAt(i)->Flags() & IMenuItem::kChecked ? "*" : ""));
    menu->SetChosenIndex(menuChoice);
    return menuChoice < 0 ? nullptr : menu;
  }
  void BeginTextEntry(IControl*, const ITextStyle&, const IRectangle&, const char* text, IPlugParameter*) override
  {
    entries.push_back(text);
  }
  LICE_IBitmap* LoadImageResource(int resourceId, const char*) override
  {
    ++loads[resourceId];
    auto found = images.find(resourceId);
    return found == images.end() ? nullptr : found->second();
  }

  // The timer's work: what changed is drawn; returns the area it covered.
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
// transparent. Frames are stacked top to bottom, or laid side by side.
inline LICE_MemBitmap* FrameStrip(int frameWidth, int frameHeight, int frames, int tag = 0, bool sideBySide = false)
{
  const int across = sideBySide ? frames : 1;
  auto* strip = new LICE_MemBitmap(frameWidth * across, frameHeight * frames / across);
  for (int y = 0; y < strip->PixelHeight(); ++y)
    for (int x = 0; x < strip->PixelWidth(); ++x)
    {
      const int frame = y / frameHeight + x / frameWidth;
      strip->PixelData()[y * strip->RowPitch() + x] =
        x % frameWidth == 0 && y % frameHeight == 0 ? 0 : LICE_Rgba(frame, 255 - frame, tag, 255);
    }
  return strip;
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
  explicit EditorFixture(int bindingKind = IPlugBase::kBindingVST2, const IGraphicsFlags& flags = IGraphicsFlags())
    : plug(new GuiTestPlug(bindingKind)), graphics(new TestGraphics(plug.get(), 200, 200, 0, flags))
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
  template <class Control>
  Control* Add(Control* control)
  {
    graphics->AddControl(control);
    return control;
  }
  // A strip of frames (see FrameStrip). The bitmap cache lives as long as the test program
  // and knows images by id alone, so every distinct strip gets an id of its own.
  IBitmapRef Strip(int frameWidth, int frameHeight, int frames, int tag = 0, bool sideBySide = false)
  {
    static std::map<std::vector<int>, int> ids;
    const std::vector<int> key{frameWidth, frameHeight, frames, tag, sideBySide};
    const int id = ids.emplace(key, 2000 + int(ids.size())).first->second;
    graphics->images[id] = [=] { return FrameStrip(frameWidth, frameHeight, frames, tag, sideBySide); };
    return graphics->FetchBitmap(id, "strip.png", frames, sideBySide);
  }

  ScopedFakeRasteriser rasteriser;
  std::unique_ptr<GuiTestPlug> plug;
  TestGraphics* graphics;
  bool attached = false;
};

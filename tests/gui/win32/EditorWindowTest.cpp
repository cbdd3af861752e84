// The built modules' editor window, opened as hosts open it (LoadLibrary, a real parent
// window) and driven by the messages a person's pointer and keys make. Timer ticks are sent,
// never waited for.
#include "effect/TarvexQuoxel.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/IKnobControl.h"
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/vst2/HostDriver.h"
#include "hosts/vst2/ModuleLoader.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"
#include "hosts/window/HostWindow.h"
#include "lice/LICE_Bitmap.h"
#include "tests/gui/RedrawProperty.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

using namespace vst3host;
using namespace hostwindow;
using Call = ComponentHandler::Call;

namespace {

constexpr int kWidth = TarvexQuoxel::kEditorWidth;
constexpr int kHeight = TarvexQuoxel::kEditorHeight;
constexpr std::uintptr_t kRedrawTimer = 2;
constexpr vst3::ParamID kLevel = TarvexQuoxel::kLevel;

// Points on the editor: the level knob's face and its value text.
constexpr POINT kLevelKnob{159, 100};
constexpr POINT kLevelText{159, 139};

HWND FindView(const HostWindow& window)
{
  return static_cast<HWND>(window.findChild("IPlugWndClass"));
}

// The VST3 module loaded as a host loads it, its plug-in made, and a host window to show
// the editor in.
class Vst3Host
{
public:
  Vst3Host()
  {
    std::string error;
    module = Module::load(TQ_VST3_BUNDLE_PATH, error);
    if (!module)
    {
      ADD_FAILURE() << error;
      return;
    }
    driver = std::make_unique<HostDriver>(module->factory());
    EXPECT_EQ(driver->load(), vst3::kResultOk);
  }
  ~Vst3Host()
  {
    if (!driver)
      return;
    driver->unload();
    for (const std::string& p : driver->problems())
      ADD_FAILURE() << p;
    driver.reset();
    EXPECT_EQ(module->releaseFactory(), 0u);
    EXPECT_TRUE(module->unload());
  }

  bool Open(const HostWindow& parent, const char* type = "HWND")
  {
    return driver && driver->openEditor(parent.handle(), type) == vst3::kResultOk;
  }
  // The timer's work, now.
  void Tick()
  {
    sendTimerTick(FindView(window), kRedrawTimer);
    window.pump();
  }
  void Play(PointerAction::Kind kind, POINT at, POINT to = POINT{0, 0})
  {
    PointerAction action;
    action.kind = kind;
    action.x = at.x;
    action.y = at.y;
    action.x2 = to.x;
    action.y2 = to.y;
    playPointerAction(FindView(window), action);
  }
  double Value(vst3::ParamID id) const { return driver->controller()->getParamNormalized(id); }
  std::vector<Call> Edits() const { return driver->handler().calls(); }

  std::unique_ptr<Module> module;
  std::unique_ptr<HostDriver> driver;
  HostWindow window{kWidth, kHeight};
};

// The same editor drawn without a window, in this process, with the module's values.
std::unique_ptr<TarvexQuoxel> ReferenceEditor(const Vst3Host& host)
{
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  for (int i = 0; i < TarvexQuoxel::kNumParams; ++i)
    plug->SetParameterFromHost(i, host.Value(static_cast<vst3::ParamID>(i)));
  IGraphics& graphics = *plug->Graphics();
  graphics.MarkAllChanged();
  graphics.RedrawRect(IRectangle(0, 0, kWidth, kHeight));
  return plug;
}

}  // namespace

TEST(EditorWindow, OpensInTheHostsWindowAndShowsWhatTheEditorDraws)
{
  Vst3Host host;
  EXPECT_FALSE(host.Open(host.window, "X11EmbedWindowID"));
  EXPECT_EQ(host.window.childCount(), 0);
  ASSERT_TRUE(host.Open(host.window));
  EXPECT_EQ(host.driver->editorSize().right * 1000 + host.driver->editorSize().bottom, 650410);
  HWND view = FindView(host.window);
  ASSERT_NE(view, nullptr);
  RECT client;
  GetClientRect(view, &client);
  EXPECT_EQ(client.right * 1000 + client.bottom, 650410);

  host.Tick();
  const WindowPicture shown = captureWindow(view);
  ASSERT_EQ(shown.width * 1000 + shown.height, 650410);
  const auto reference = ReferenceEditor(host);
  const LICE_IBitmap& drawn = *reference->Graphics()->DrawBitmap();
  int differentOutsideText = 0;
  int differentText = 0;
  int text = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
    {
      const bool different = (shown.at(x, y) & 0xFFFFFF) != (drawn.PixelData()[y * drawn.RowPitch() + x] & 0xFFFFFF);
      if (!OnKnobValueText(*reference->Graphics(), x, y))
        differentOutsideText += different;
      else
      {
        ++text;
        differentText += different;
      }
    }
  EXPECT_EQ(differentOutsideText, 0);
  // Glyphs may be drawn by another rasteriser: the same texts, not the same pixels.
  EXPECT_LT(differentText, text / 4);
}

TEST(EditorWindow, PointerEditsParametersInsideBalancedHostGestures)
{
  struct Case
  {
    const char* what;
    PointerAction::Kind kind;
    POINT at;
    POINT to;
    vst3::ParamID id;
  };
  Vst3Host host;
  ASSERT_TRUE(host.Open(host.window));
  host.Tick();
  for (const Case& c :
       {Case{"knob dragged up", PointerAction::Drag, kLevelKnob, {159, 40}, kLevel},
        Case{"fader handle dragged down", PointerAction::Drag, {527, 85}, {527, 160}, TarvexQuoxel::kUpperLimit},
        Case{"switch clicked", PointerAction::Click, {413, 155}, {0, 0}, TarvexQuoxel::kAutoOutGain},
        Case{"knob double-clicked", PointerAction::DoubleClick, kLevelKnob, {0, 0}, kLevel},
        Case{"middle button", PointerAction::Click, kLevelKnob, {0, 0}, kLevel}})
  {
    host.driver->handler().clear();
    const double before = host.Value(c.id);
    if (std::string(c.what) == "middle button")
    {
      // Its release was once left to the default handling: the capture and gesture stayed.
      HWND view = FindView(host.window);
      SendMessageA(view, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(kLevelKnob.x, kLevelKnob.y));
      SendMessageA(view, WM_MBUTTONUP, 0, MAKELPARAM(kLevelKnob.x, kLevelKnob.y));
      EXPECT_EQ(GetCapture(), nullptr) << c.what;
    }
    else
      host.Play(c.kind, c.at, c.to);
    host.Tick();
    const double after = host.Value(c.id);
    EXPECT_TRUE(host.driver->handler().gesturesBalanced(c.id)) << c.what;
    bool performed = false;
    for (const Call& call : host.Edits())
      performed = performed || (call.kind == ComponentHandler::Kind::Perform && call.id == c.id);
    EXPECT_TRUE(performed) << c.what;
    if (c.kind == PointerAction::DoubleClick)
    {
      EXPECT_EQ(after, 0.5) << c.what;  // the level's default, 0 %
    }
    else if (c.kind == PointerAction::Drag)
    {
      EXPECT_NE(after, before) << c.what;
    }
  }
}

TEST(EditorWindow, RightClickOnAParameterPopsUpTheHostsMenu)
{
  Vst3Host host;
  ASSERT_TRUE(host.Open(host.window));
  host.driver->handler().clear();
  host.Play(PointerAction::RightClick, kLevelKnob);
  EXPECT_EQ(host.driver->handler().menuRequests(), std::vector<vst3::ParamID>{kLevel});
  const auto popups = host.driver->handler().menu().popups();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].x * 1000 + popups[0].y, kLevelKnob.x * 1000 + kLevelKnob.y);
  // The host's menu took the click: no gesture was begun or ended.
  EXPECT_TRUE(host.Edits().empty());
}

TEST(EditorWindow, ValuePromptCommitsTypedTextOnEnterAndDropsItOnEscape)
{
  Vst3Host host;
  ASSERT_TRUE(host.Open(host.window));
  // Each entry's font, which must be gone with its field.
  std::vector<HGDIOBJ> fonts;
  const auto prompt = [&](const char* typed, WPARAM key) {
    host.Play(PointerAction::Click, kLevelText);
    HWND field = static_cast<HWND>(host.window.findChild("Edit"));
    EXPECT_NE(field, nullptr);
    if (!field)
      return;
    fonts.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(field, WM_GETFONT, 0, 0)));
    // A dialog host may ask without the message it is about to deliver.
    SendMessageA(field, WM_GETDLGCODE, VK_RETURN, 0);
    for (const char* c = typed; *c; ++c)
      SendMessageA(field, WM_CHAR, static_cast<WPARAM>(*c), 0);
    if (key)
      SendMessageA(field, WM_KEYDOWN, key, 0);
    host.Tick();
  };
  prompt("5x0", VK_RETURN);  // the letter is refused
  EXPECT_EQ(host.window.findChild("Edit"), nullptr);
  EXPECT_DOUBLE_EQ(host.Value(kLevel), 0.75);
  EXPECT_TRUE(host.driver->handler().gesturesBalanced(kLevel));
  prompt("-90", VK_ESCAPE);
  EXPECT_EQ(host.window.findChild("Edit"), nullptr);
  EXPECT_DOUBLE_EQ(host.Value(kLevel), 0.75);

  // Closed while the field is open: nothing is left behind, and a new prompt opens.
  prompt("10", 0);
  ASSERT_EQ(host.driver->closeEditor(), vst3::kResultOk);
  EXPECT_EQ(host.window.childCount(), 0);
  ASSERT_TRUE(host.Open(host.window));
  prompt("20", VK_RETURN);
  EXPECT_DOUBLE_EQ(host.Value(kLevel), 0.6);
  EXPECT_TRUE(host.driver->handler().gesturesBalanced(kLevel));
  ASSERT_EQ(fonts.size(), 4u);
  for (HGDIOBJ font : fonts)
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST(EditorWindow, ReopenedAHundredTimesGivesBackEveryWindowAndDrawingObject)
{
  Vst3Host host;
  // The first opening makes what lives as long as the editor (its draw bitmap, fonts).
  ASSERT_TRUE(host.Open(host.window));
  host.Tick();
  host.driver->closeEditor();
  host.window.pump();
  // (Wine counts nothing here; Windows does.)
  HANDLE self = GetCurrentProcess();
  const DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(self, GR_USEROBJECTS);
  for (int i = 0; i < 100; ++i)
  {
    ASSERT_TRUE(host.Open(host.window)) << i;
    host.Tick();
    host.driver->closeEditor();
  }
  host.window.pump();
  EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), user);
  EXPECT_EQ(host.window.childCount(), 0);

  // The host destroys its window with the editor inside, before telling the plug-in.
  {
    HostWindow doomed(kWidth, kHeight);
    ASSERT_TRUE(host.Open(doomed));
  }
  EXPECT_EQ(host.driver->closeEditor(), vst3::kResultOk);
  ASSERT_TRUE(host.Open(host.window));
  host.Tick();
  EXPECT_NE(FindView(host.window), nullptr);
}

TEST(EditorWindow, AnEditorWithoutControlsIsNotAskedToPaintForEver)
{
  HostWindow window(200, 100);
  IGraphicsWin empty(nullptr, 200, 100);
  empty.CreateDrawSurfaces();
  HWND view = static_cast<HWND>(empty.OpenInParent(window.handle()));
  ASSERT_NE(view, nullptr);
  InvalidateRect(view, nullptr, FALSE);
  EXPECT_LT(window.pump(1000), 1000);
  empty.CloseView();
  EXPECT_EQ(window.childCount(), 0);
}

TEST(Vst2EditorWindow, OpensInTheHostsWindowAndSendsBalancedGestures)
{
  std::string error;
  auto module = vst2host::Module::Load(TQ_VST2_MODULE_PATH, error);
  ASSERT_TRUE(module) << error;
  vst2host::HostDriver driver(module->Entry());
  ASSERT_TRUE(driver.Create());
  driver.Open(44100.0, 512);
  EXPECT_EQ(driver.Effect()->flags & vst2::effFlagsHasEditor, vst2::effFlagsHasEditor);
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(driver.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right * 1000 + rect->bottom, 650410);

  HostWindow window(rect->right, rect->bottom);
  for (int round = 0; round < 2; ++round)
  {
    ASSERT_EQ(driver.Dispatch(vst2::effEditOpen, 0, 0, window.handle()), 1);
    HWND view = FindView(window);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(driver.Dispatch(vst2::effEditIdle), 0);
    driver.Host().ClearCalls();
    PointerAction drag;
    drag.kind = PointerAction::Drag;
    drag.x = kLevelKnob.x;
    drag.y = kLevelKnob.y;
    drag.x2 = kLevelKnob.x;
    drag.y2 = kLevelKnob.y - 30 - round;
    playPointerAction(view, drag);
    const auto begins = driver.Host().CallsOf(vst2::audioMasterBeginEdit);
    const auto ends = driver.Host().CallsOf(vst2::audioMasterEndEdit);
    ASSERT_EQ(begins.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(begins[0].index * 10 + ends[0].index, 0);
    EXPECT_FALSE(driver.Host().CallsOf(vst2::audioMasterAutomate).empty());
    EXPECT_EQ(driver.Dispatch(vst2::effEditClose), 1);
    EXPECT_EQ(window.childCount(), 0);
  }
}

// The editor object the host makes beside an instance: its interfaces, the plug-in's editor
// shown in the host's view, clicks offered to the host first, and nothing kept past a stop.
#include "framework/bindings/aax/AAX_CEffectGUI.h"
#include "framework/gui/IControl.h"
#include "hosts/aax/ViewContainerHost.h"
#include "hosts/window/HostWindow.h"
#include "tests/aax/plug/PlugTestSupport.h"

namespace {
using namespace aaxhost;
using namespace aaxtest;

class EditorBridge : public ::testing::Test
{
protected:
  void SetUp() override
  {
    editorHost.OfferEffectParameters(driver.Parameters());
    // Without a window system any handle will do: the editor opens no window.
    view.window = window.handle() ? window.handle() : &view;
    void* face = nullptr;
    ASSERT_EQ(CreateEffectGUI()->QueryInterface(AAX_IACFEffectGUI::kIID, &face), kAAX_Success);
    gui = static_cast<AAX_IACFEffectGUI*>(face);
  }
  void TearDown() override
  {
    EXPECT_EQ(gui->Release(), 0u);
    driver.Close();
    EXPECT_EQ(driver.LiveObjects(), 0);
    EXPECT_EQ(editorHost.RefCount(), 0);
    EXPECT_EQ(view.RefCount(), 0);
  }
  void StartAndAttach()
  {
    ASSERT_EQ(gui->StartInstance(&editorHost), kAAX_Success);
    ASSERT_EQ(gui->AttachViewContainer(&view), kAAX_Success);
  }
  IGraphics* Editor() { return dynamic_cast<IGraphics*>(driver.Plug()->Editor()); }
  // A point where the topmost control is bound to the parameter (-1: bound to none).
  IRectangle PointOn(int paramIdx)
  {
    for (int y = 0; y < Editor()->Height(); y += 4)
      for (int x = 0; x < Editor()->Width(); x += 4)
      {
        const int idx = Editor()->FindControlAt(x, y, false);
        if (idx >= 0 && Editor()->ControlAt(idx)->ParamIdx() == paramIdx)
          return {x, y, x, y};
      }
    ADD_FAILURE() << "no control for parameter " << paramIdx;
    return {};
  }
  void ClickOn(int paramIdx, const PointerModifiers& mods)
  {
    const IRectangle at = PointOn(paramIdx);
    Editor()->DispatchPress(at.L, at.T, mods);
  }

  hostwindow::HostWindow window{650, 410};
  OpenDriver driver;
  InstanceHost editorHost{driver.Log()};
  ViewContainerHost view{driver.Log()};
  AAX_IACFEffectGUI* gui = nullptr;
};

TEST_F(EditorBridge, AnswersOnlyItsOwnInterfaces)
{
  void* face = &face;
  EXPECT_EQ(gui->QueryInterface(AAX_IACFEffectParameters::kIID, &face), kACF_NoInterface);
  EXPECT_EQ(face, nullptr);
  EXPECT_EQ(gui->QueryInterface(kIID_ACFUnknown, &face), kAAX_Success);
  static_cast<IACFUnknown*>(face)->Release();
}

TEST_F(EditorBridge, WithoutTheInstanceNothingIsShown)
{
  AAX_Point size = {1.0f, 2.0f};
  EXPECT_EQ(gui->StartInstance(nullptr), kAAX_ErrNoHostObjects);
  EXPECT_EQ(gui->QueryViewSize(&size), kAAX_Success);
  EXPECT_EQ(size.vertical, 1.0f);

  // A host object that does not hand out the instance.
  editorHost.Withhold(AAX_IACFEffectParameters::kIID);
  StartAndAttach();
  EXPECT_EQ(driver.Plug()->HostView(), nullptr);
}

TEST_F(EditorBridge, ShowsTheEditorInTheHostViewWhichThePlugInResizes)
{
  StartAndAttach();
  AAX_Point size = {};
  EXPECT_EQ(gui->QueryViewSize(&size), kAAX_Success);
  EXPECT_EQ(size.horizontal, 650.0f);
  EXPECT_EQ(size.vertical, 410.0f);
  ASSERT_NE(driver.Plug()->HostView(), nullptr);
  EXPECT_TRUE(!window.handle() || window.findChild("IPlugWndClass"));
  driver.Plug()->ResizeEditor(700, 500);
  EXPECT_EQ(driver.Log().Matching("View.ChangeViewSize"), (Calls{"View.ChangeViewSize(500, 700)"}));

  // Detached, the plug-in no longer reaches the view, and the host gets its view back.
  const int controls = Editor()->NControls();
  EXPECT_EQ(gui->AttachViewContainer(nullptr), kAAX_Success);
  EXPECT_EQ(driver.Plug()->HostView(), nullptr);
  EXPECT_EQ(view.RefCount(), 0);
  EXPECT_EQ(window.childCount(), 0);
  EXPECT_EQ(gui->AttachViewContainer(&view), kAAX_Success);
  EXPECT_NE(driver.Plug()->HostView(), nullptr);
  EXPECT_EQ(Editor()->NControls(), controls);

  // A view without a window shows nothing.
  view.window = nullptr;
  EXPECT_EQ(gui->AttachViewContainer(&view), kAAX_Success);
  EXPECT_EQ(driver.Plug()->HostView(), nullptr);
}

TEST_F(EditorBridge, ClicksOnParameterControlsGoToTheHostFirst)
{
  StartAndAttach();
  view.modifiers = 0x20;
  const struct
  {
    PointerModifiers mods;
    ACFResult hostAnswer;
    const char* offered;
    bool gestureBegun;
  } kClicks[] = {
    {{true, true, true, false, false}, kAAX_Success, "View.ForwardParameterClick(\"1\", 49)", false},
    {{true, false, false, true, true}, kAAX_Success, "View.ForwardParameterClick(\"1\", 44)", false},
    {{true, false, false, false, false}, -1, "View.ForwardParameterClick(\"1\", 32)", true},
  };
  for (const auto& click : kClicks)
  {
    driver.Log().Clear();
    driver.Log().FailWith("View.ForwardParameterClick", click.hostAnswer);
    const double level = driver.Plug()->ParamAt(0)->Value();
    ClickOn(0, click.mods);
    Editor()->DispatchDrag(0, 0, click.mods);
    Editor()->DispatchRelease(0, 0, click.mods);
    EXPECT_EQ(driver.Log().Matching("View.ForwardParameterClick"), (Calls{click.offered}));
    // A click the host took moves nothing and tells the host nothing more; any other is one
    // gesture, begun and ended.
    const Calls automation = driver.Log().Matching("Automation.");
    EXPECT_EQ(!automation.empty() && automation.front() == "Automation.StartTouch(\"1\")" &&
                automation.back() == "Automation.StopTouch(\"1\")",
              click.gestureBegun);
    EXPECT_TRUE(click.gestureBegun || (automation.empty() && driver.Plug()->ParamAt(0)->Value() == level));
  }
  driver.Log().Clear();
  ClickOn(-1, {true, true, false, false, false});
  Editor()->DispatchRelease(0, 0, {});
  EXPECT_TRUE(driver.Log().Matching("View.").empty());

  // Through the editor's window, as the window system delivers a click.
  if (void* editorWindow = window.findChild("IPlugWndClass"))
  {
    driver.Log().FailWith("View.ForwardParameterClick", kAAX_Success);
    const IRectangle at = PointOn(0);
    hostwindow::playPointerAction(editorWindow, {hostwindow::PointerAction::Click, at.L, at.T});
    EXPECT_EQ(driver.Log().Matching("View.ForwardParameterClick"), (Calls{"View.ForwardParameterClick(\"1\", 32)"}));
    EXPECT_TRUE(driver.Log().Matching("Automation.").empty());
  }
}

TEST_F(EditorBridge, NothingOfTheInstanceIsKeptPastItsStop)
{
  StartAndAttach();
  EXPECT_EQ(gui->StopInstance(), kAAX_Success);
  EXPECT_EQ(driver.Plug()->HostView(), nullptr);
  EXPECT_EQ(view.RefCount(), 0);
  EXPECT_EQ(window.childCount(), 0);
  // The instance goes; the editor object is still asked about its view.
  driver.Close();
  AAX_Point size = {3.0f, 4.0f};
  EXPECT_EQ(gui->QueryViewSize(&size), kAAX_Success);
  EXPECT_EQ(size.vertical, 3.0f);
  EXPECT_EQ(gui->AttachViewContainer(nullptr), kAAX_Success);
  // A repeated start gives back what the first one took.
  editorHost.Withhold(AAX_IACFEffectParameters::kIID);
  ASSERT_EQ(gui->StartInstance(&editorHost), kAAX_Success);
  const int32_t held = editorHost.RefCount();
  ASSERT_EQ(gui->StartInstance(&editorHost), kAAX_Success);
  EXPECT_EQ(editorHost.RefCount(), held);
}
}  // namespace

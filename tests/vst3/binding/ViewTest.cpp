// The editor view, over a plug-in whose editor only pretends to open windows: what the view
// asks of the editor, tells the plug-in, and sends to the host's frame and handler.
#include "framework/bindings/vst3/IPlugVST3.h"
#include "hosts/vst3/ComponentHandler.h"
#include "hosts/vst3/PlugFrame.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vst3;

namespace {

int gLiving = 0;

class WindowEditor : public IPlugEditor
{
public:
  void PushParamToControls(int, double, bool) override {}
  void CreateDrawSurfaces() override {}
  const char* ParentWindowType() const override { return "HWND"; }
  void* OpenInParent(void* parent) override { return opensWindows ? parent : nullptr; }
  void CloseView() override { ++closes; }
  int Width() const override { return 650; }
  int Height() const override { return 410; }

  bool opensWindows = true;
  int closes = 0;
};

class ViewPlug : public IPlugVST3
{
public:
  explicit ViewPlug(bool withEditor)
    : IPlugVST3(nullptr, 1, "2-2", 1, "View", "", "Maker", 0x10000, 0x56696577, 0x4D6B7220, 0, false, false, false)
  {
    ++gLiving;
    ParamAt(0)->DefineDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
    if (withEditor)
    {
      editor = new WindowEditor;
      AttachEditor(editor);
    }
  }
  ~ViewPlug() override { --gLiving; }
  void EditorOpened() override { ++opened; }
  void EditorClosed() override { ++closed; }
  void EditorResized(IPlugEditor*) override { ++resized; }

  WindowEditor* editor = nullptr;
  int opened = 0;
  int closed = 0;
  int resized = 0;
};

// A plug-in as a host holds it, with a component handler; released (and gone) at the end.
struct Instance
{
  explicit Instance(bool withEditor = true, bool hostMenus = true) : plug(new ViewPlug(withEditor)), handler(hostMenus)
  {
    EXPECT_EQ(plug->initialize(nullptr), kResultOk);
    plug->setComponentHandler(&handler);
  }
  ~Instance()
  {
    plug->setComponentHandler(nullptr);
    plug->terminate();
    EXPECT_EQ(static_cast<IComponent*>(plug)->release(), 0u);
    EXPECT_EQ(gLiving, 0);
    EXPECT_EQ(handler.refCount(), 1);
    EXPECT_EQ(handler.menu().refCount(), 1);
  }
  IPlugView* View() { return plug->createView(kEditorViewType); }

  ViewPlug* plug;
  vst3host::ComponentHandler handler;
};

}  // namespace

TEST(View, ListedInCreationOrderAndKeepThePlugInAlive)
{
  auto* plug = new ViewPlug(true);
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  EXPECT_EQ(plug->createView("other"), nullptr);
  EXPECT_EQ(plug->createView(nullptr), nullptr);
  IPlugView* first = plug->createView(kEditorViewType);
  IPlugView* second = plug->createView(kEditorViewType);
  ASSERT_EQ(plug->NViews(), 2);
  EXPECT_EQ(first->release(), 0u);
  EXPECT_EQ(plug->NViews(), 1);
  // The host lets go of the plug-in first; the view still holds it.
  plug->terminate();
  EXPECT_EQ(static_cast<IComponent*>(plug)->release(), 1u);
  EXPECT_EQ(gLiving, 1);
  EXPECT_EQ(second->release(), 0u);
  EXPECT_EQ(gLiving, 0);
}

TEST(View, AttachedOnlyWhenTheEditorMadeAWindow)
{
  struct Case
  {
    const char* type;
    bool opensWindows;
    tresult attached;
  };
  for (const Case& c : {Case{"HWND", true, kResultOk}, Case{"X11EmbedWindowID", true, kResultFalse},
                        Case{nullptr, true, kResultFalse}, Case{"HWND", false, kResultFalse}})
  {
    Instance host;
    host.plug->editor->opensWindows = c.opensWindows;
    IPlugView* view = host.View();
    int parent = 0;
    const bool supported = c.type && std::strcmp(c.type, "HWND") == 0;
    EXPECT_EQ(view->isPlatformTypeSupported(c.type), supported ? kResultTrue : kResultFalse);
    EXPECT_EQ(view->attached(&parent, c.type), c.attached);
    EXPECT_EQ(view->removed(), kResultOk);
    // Opened and closed in pairs, and only a window that was made.
    const int shown = c.attached == kResultOk ? 1 : 0;
    EXPECT_EQ(host.plug->opened, shown);
    EXPECT_EQ(host.plug->closed, shown);
    EXPECT_EQ(host.plug->editor->closes, shown);
    view->release();
  }
  Instance bare(false);
  IPlugView* view = bare.View();
  ViewRect size{};
  int parent = 0;
  EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
  EXPECT_EQ(view->attached(&parent, "HWND"), kResultFalse);
  EXPECT_EQ(view->getSize(&size), kResultFalse);
  view->release();
}

TEST(View, SizeAndThePlugInsResizeRequests)
{
  Instance host;
  IPlugView* view = host.View();
  ViewRect size{};
  EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right * 1000 + size.bottom, 650410);
  EXPECT_EQ(size.left + size.top, 0);

  // Without the host's frame there is no one to ask.
  host.plug->ResizeEditor(700, 500);
  vst3host::PlugFrame frame;
  view->setFrame(&frame);
  host.plug->ResizeEditor(700, 500);
  ASSERT_EQ(frame.resizes().size(), 1u);
  EXPECT_EQ(frame.resizes()[0].view, view);
  EXPECT_EQ(frame.resizes()[0].rect.right * 1000 + frame.resizes()[0].rect.bottom, 700500);
  // The host's own sizing tells the plug-in nothing.
  ViewRect hostSize{0, 0, 800, 600};
  EXPECT_EQ(view->onSize(&hostSize), kResultOk);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
  EXPECT_EQ(host.plug->resized, 1);
  view->setFrame(nullptr);
  view->release();
  EXPECT_EQ(frame.refCount(), 1);
}

TEST(View, RightClickAsksTheHostForItsParameterMenu)
{
  for (const bool hostMenus : {true, false})
  {
    Instance host(true, hostMenus);
    IPlugView* view = host.View();
    host.plug->ShowHostParamMenu(0, 5, 6);
    const auto popups = host.handler.menu().popups();
    ASSERT_EQ(popups.size(), hostMenus ? 1u : 0u);
    if (hostMenus)
    {
      EXPECT_EQ(host.handler.menuRequests(), std::vector<ParamID>{0});
      EXPECT_EQ(popups[0].x * 100 + popups[0].y, 506);
    }
    view->release();
  }
}

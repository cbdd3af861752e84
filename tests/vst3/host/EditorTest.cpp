// The editor path of the host: a view created, sized, attached to the host's window (a real
// window under Wine), resized through the host's frame, removed and released, with the frame
// and the plug-in let go of; and the refusals that must leave nothing behind.
#include "tests/hosts/vst3/HostDriver.h"
#include "tests/hosts/vst3/HostWindow.h"
#include "tests/vst3/host/ChildWindow.h"
#include "tests/vst3/host/FakeGainEffect.h"
#include "tests/vst3/host/FakeGainFactory.h"
#include "tests/vst3/host/FakeGainView.h"

#include <gtest/gtest.h>

using namespace fakehost;
using fakegain::FakeGainEffect;
using fakegain::FakeGainView;

namespace {

struct Session
{
  Session() : factory(fakegain::obtainFactory()), driver(factory) { factory->release(); }
  vst3::IPluginFactory* factory;
  HostDriver driver;
};

}  // namespace

TEST(Editor, OpensInTheHostWindowResizesAndClosesCleanly)
{
  {
    Session s;
    HostDriver& d = s.driver;
    ASSERT_EQ(d.load(), vst3::kResultOk);
    HostWindow parent(640, 480);
    const vst3::tresult r = d.openEditor(parent.handle(), vst3::kPlatformTypeHWND);
    EXPECT_EQ(d.editorSize().getWidth(), 300);
    EXPECT_EQ(d.editorSize().getHeight(), 200);
    if (!fakegain::haveWindows()) {
      EXPECT_EQ(r, vst3::kResultFalse) << "no window system: every type is refused";
      EXPECT_EQ(d.view(), nullptr);
      EXPECT_EQ(d.frame().heldByPlugin(), 0);
    } else {
      ASSERT_EQ(r, vst3::kResultOk);
      EXPECT_EQ(parent.childCount(), 1);
      EXPECT_EQ(d.frame().heldByPlugin(), 1) << "the attached view keeps the frame";
      auto* view = static_cast<FakeGainView*>(d.view());
      ASSERT_EQ(view->requestSize(400, 250), vst3::kResultOk);
      ASSERT_EQ(d.frame().resizes().size(), 1u);
      EXPECT_EQ(d.frame().resizes()[0].rect.getWidth(), 400);
      vst3::ViewRect now{};
      ASSERT_EQ(view->getSize(&now), vst3::kResultOk);
      EXPECT_EQ(now.getHeight(), 250) << "the host answered the request with onSize";
      parent.pump();
      EXPECT_EQ(d.closeEditor(), vst3::kResultOk);
      parent.pump();
      EXPECT_EQ(parent.childCount(), 0) << "removed takes the window away";
      EXPECT_EQ(d.view(), nullptr);
    }
    EXPECT_EQ(d.unload(), vst3::kResultOk);
    for (const auto& p : d.problems()) ADD_FAILURE() << p;
  }
  EXPECT_EQ(FakeGainEffect::liveInstances(), 0);
}

TEST(Editor, RefusedAttachmentsLeaveNothingBehind)
{
  Session s;
  HostDriver& d = s.driver;
  ASSERT_EQ(d.load(), vst3::kResultOk);
  HostWindow parent(640, 480);
  EXPECT_EQ(d.openEditor(parent.handle(), vst3::kPlatformTypeX11EmbedWindowID), vst3::kResultFalse);
  EXPECT_EQ(d.openEditor(nullptr, vst3::kPlatformTypeHWND), vst3::kResultFalse) << "no parent, no window";
  EXPECT_EQ(d.view(), nullptr);
  EXPECT_EQ(d.frame().heldByPlugin(), 0);
  EXPECT_EQ(parent.childCount(), 0);
  EXPECT_EQ(d.controller()->createView("other"), nullptr);
  EXPECT_EQ(d.unload(), vst3::kResultOk);
  EXPECT_TRUE(d.problems().empty());
  EXPECT_EQ(FakeGainEffect::liveInstances(), 0);
}

TEST(Editor, AViewLeftOpenKeepsThePlugInAliveAndIsReported)
{
  Session s;
  HostDriver& d = s.driver;
  ASSERT_EQ(d.load(), vst3::kResultOk);
  vst3::IPlugView* stray = d.controller()->createView(vst3::kEditorViewType);
  ASSERT_NE(stray, nullptr);
  d.unload();
  EXPECT_EQ(FakeGainEffect::liveInstances(), 1) << "the view holds the plug-in";
  ASSERT_FALSE(d.problems().empty());
  EXPECT_NE(d.problems()[0].find("keeps 1 reference"), std::string::npos) << d.problems()[0];
  EXPECT_EQ(stray->release(), 0u);
  EXPECT_EQ(FakeGainEffect::liveInstances(), 0);
}

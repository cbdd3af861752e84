#include <gtest/gtest.h>

#include "sdk/vst3/CPluginView.h"
#include "tests/vst3/FakeHostObjects.h"

using namespace vst3;
using vst3test::FakeFrame;
using vst3test::junkPointer;

namespace {

class TestView : public CPluginView
{
public:
  explicit TestView(int* destroyed, const ViewRect* r = nullptr) : CPluginView(r), mDestroyed(destroyed) {}
  ~TestView() override { ++*mDestroyed; }
  void attachedToParent() override { ++attachedCalls; }
  void removedFromParent() override { ++removedCalls; }
  int attachedCalls = 0;
  int removedCalls = 0;

private:
  int* mDestroyed;
};

}  // namespace

TEST(CPluginView, InterfacesAttachmentAndSize)
{
  int destroyed = 0;
  const ViewRect initial{0, 0, 650, 410};
  auto* view = new TestView(&destroyed, &initial);
  IPlugView* v = view;
  void* p = junkPointer();
  ASSERT_EQ(v->queryInterface(FUnknown::iid, &p), kResultOk);
  EXPECT_EQ(p, view->unknownCast());
  p = junkPointer();
  EXPECT_EQ(v->queryInterface(IPlugFrame::iid, &p), kNoInterface);
  EXPECT_EQ(p, nullptr);

  EXPECT_EQ(v->isPlatformTypeSupported("HWND"), kNotImplemented);  // a subclass must decide
  int parent = 0;
  EXPECT_EQ(v->attached(&parent, "HWND"), kResultOk);
  EXPECT_TRUE(view->isAttached());
  EXPECT_EQ(v->removed(), kResultOk);
  EXPECT_EQ(view->attachedCalls + view->removedCalls, 2);

  ViewRect r{};
  EXPECT_EQ(v->getSize(&r), kResultTrue);
  EXPECT_EQ(r.getWidth(), 650);
  EXPECT_EQ(v->getSize(nullptr), kInvalidArgument);
  ViewRect bigger{10, 20, 810, 620};
  EXPECT_EQ(v->onSize(&bigger), kResultTrue);
  EXPECT_EQ(v->onSize(nullptr), kResultTrue);
  EXPECT_EQ(view->getRect().bottom, 620);
  v->release();  // the query's reference
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(v->release(), 0u);
  EXPECT_EQ(destroyed, 1);
}

TEST(CPluginView, FrameReferencesAreBalanced)
{
  int destroyed = 0;
  FakeFrame a, b;
  auto* view = new TestView(&destroyed);
  IPlugView* v = view;
  EXPECT_EQ(v->setFrame(&a), kResultTrue);
  EXPECT_EQ(v->setFrame(&a), kResultTrue);  // the same frame again: still one reference
  EXPECT_EQ(a.refs, 2);
  EXPECT_EQ(v->setFrame(&b), kResultTrue);
  EXPECT_EQ(a.refs, 1);
  EXPECT_EQ(b.refs, 2);
  EXPECT_EQ(v->setFrame(nullptr), kResultTrue);
  EXPECT_EQ(b.refs, 1);
  v->setFrame(&b);
  v->release();  // a view destroyed while holding its frame gives it back
  EXPECT_EQ(b.refs, 1);
  EXPECT_EQ(destroyed, 1);
}

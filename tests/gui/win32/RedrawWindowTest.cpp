// The effect's editor open in a real window: a person's pointer as window messages, the
// redraw timer's message, the window's own paint. What it keeps and shows after every tick
// must be what the same editor drawn whole gives.
#include "effect/TarvexQuoxel.h"
#include "framework/gui/IGraphics.h"
#include "hosts/window/HostWindow.h"
#include "lice/LICE_Bitmap.h"
#include "tests/gui/RedrawProperty.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

using namespace hostwindow;

namespace {

constexpr std::uintptr_t kRedrawTimer = 2;

// Steps reach the window as its messages; the timer is its message, sent now.
class WindowPlayer : public EditorPlayer
{
public:
  WindowPlayer(IGraphics& editor, HWND view) : EditorPlayer(editor), mView(view) {}

  void Play(const EditorStep& step) override
  {
    if (step.kind == EditorStep::kPointer)
      playPointerAction(mView, step.pointer);
    else if (step.kind == EditorStep::kUncover)
    {
      const RECT area{step.area.L, step.area.T, step.area.R, step.area.B};
      InvalidateRect(mView, &area, FALSE);
      UpdateWindow(mView);
    }
    else
      EditorPlayer::Play(step);
  }
  void Tick() override
  {
    sendTimerTick(mView, kRedrawTimer);
    pumpMessages();
  }
  std::string CheckShown() override
  {
    const WindowPicture shown = captureWindow(mView);
    const LICE_IBitmap& kept = *graphics.DrawBitmap();
    if (shown.width != kept.PixelWidth() || shown.height != kept.PixelHeight())
      return "the window could not be read";
    int different = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x)
        different += (shown.at(x, y) & 0xFFFFFF) != (kept.PixelData()[y * kept.RowPitch() + x] & 0xFFFFFF);
    return different == 0 ? "" : std::to_string(different) + " pixels on the screen differ from the kept picture";
  }

private:
  HWND mView;
};

}  // namespace

TEST(RedrawWindow, EveryTickLeavesThePictureAWholeRedrawGivesAndThenStops)
{
  HostWindow window(TarvexQuoxel::kEditorWidth, TarvexQuoxel::kEditorHeight);
  const std::unique_ptr<TarvexQuoxel> ticked(NewTarvexQuoxel(nullptr)), whole(NewTarvexQuoxel(nullptr));
  HWND view = static_cast<HWND>(ticked->Graphics()->OpenInParent(window.handle()));
  ASSERT_NE(view, nullptr);
  WindowPlayer frameByFrame(*ticked->Graphics(), view);
  EditorPlayer redrawnWhole(*whole->Graphics());
  const RedrawReport report = CheckRedraws(frameByFrame, redrawnWhole, 3, 200);
  EXPECT_TRUE(report.Passed()) << report.Summary();
  ticked->Graphics()->CloseView();
}

// The effect's editor open in a real window: a person's pointer as window messages, the redraw
// timer's message and the window's own paint. What it keeps after every tick must be what the
// same editor drawn whole gives, and what it shows what it keeps.
#include "effect/TarvexQuoxel.h"
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/window/HostWindow.h"
#include "lice/LICE_Bitmap.h"
#include "tests/gui/RedrawProperty.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WindowPlayer : public EditorPlayer
{
public:
  WindowPlayer(IGraphics& editor, HWND view) : EditorPlayer(editor), mView(view) {}

  void Play(const EditorStep& step) override
  {
    if (step.windowPointer)
      hostwindow::playPointerAction(mView, *step.windowPointer);
    else if (!step.windowPaint)
      step.play(graphics);
    else if (const RECT r{step.windowPaint->L, step.windowPaint->T, step.windowPaint->R, step.windowPaint->B};
             InvalidateRect(mView, &r, FALSE))
      UpdateWindow(mView);
  }
  void Tick() override
  {
    hostwindow::sendTimerTick(mView, IGraphicsWin::kRedrawTimerId);
    hostwindow::pumpMessages();
  }
  std::string CheckShown() override
  {
    const hostwindow::WindowPicture shown = hostwindow::captureWindow(mView);
    const LICE_IBitmap& kept = *graphics.DrawBitmap();
    if (shown.width != kept.PixelWidth() || shown.height != kept.PixelHeight())
      return "the window could not be read";
    int different = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x)
        different += ((shown.at(x, y) ^ kept.PixelData()[y * kept.RowPitch() + x]) & 0xFFFFFF) != 0;
    return different == 0 ? "" : std::to_string(different) + " pixels on the screen unlike the kept picture";
  }

private:
  HWND mView;
};

}  // namespace

TEST(RedrawWindow, EveryTickLeavesThePictureAWholeRedrawGivesAndThenStops)
{
  hostwindow::HostWindow window(TarvexQuoxel::kEditorWidth, TarvexQuoxel::kEditorHeight);
  const std::unique_ptr<TarvexQuoxel> ticked(NewTarvexQuoxel(nullptr)), whole(NewTarvexQuoxel(nullptr));
  HWND view = static_cast<HWND>(ticked->Graphics()->OpenInParent(window.handle()));
  ASSERT_NE(view, nullptr);
  WindowPlayer player(*ticked->Graphics(), view);
  EXPECT_EQ(CheckRedraws(player, *whole->Graphics(), 3, 200), "");
  ticked->Graphics()->CloseView();
}

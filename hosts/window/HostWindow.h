#pragma once
// The host's window that plug-in editors open inside, and what a host (or a test acting as a
// person) does with it: pump its messages, point and click in the editor, and read back what
// the editor shows. On Windows a real top-level window; elsewhere there is no window system
// here: the handle is null and nothing happens.

#include "hosts/window/PointerActions.h"

#include <cstdint>
#include <vector>

namespace hostwindow {

// Pixels read back from a window: 0xAARRGGBB words, row by row from the top, alpha 255.
struct WindowPicture
{
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class HostWindow
{
public:
  // Shown, with a client area of this size.
  HostWindow(int width, int height, const char* title = "Plug-in editor");
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  void* handle() const { return mHandle; }
  // Makes the client area this size (the editor's, once it is known).
  void resizeClient(int width, int height);
  // Child windows the plug-in has put into this window.
  int childCount() const;
  // The first child window (at any depth) of the class (of any class for null), or null.
  void* findChild(const char* className) const;
  // Delivers the messages waiting for this thread's windows, at most limit of them (a window
  // that keeps asking to be painted cannot hold the caller); returns how many there were.
  int pump(int limit = 10000) const;
  // Runs until the user closes the window.
  void runUntilClosed() const;
  bool isOpen() const;

private:
  void* mHandle = nullptr;
};

// HostWindow::pump for the windows of this thread, whoever made them.
int pumpMessages(int limit = 10000);

// Sends the messages a person's pointer would make in the window, as the window system sends
// them (coordinates inside the window), then pumps what they set off.
void playPointerAction(void* window, const PointerAction& action);

// The window's client area as it is on the screen now; empty when it cannot be read.
WindowPicture captureWindow(void* window);

// The timer message that drives an editor's redraw, sent now instead of waiting for it.
void sendTimerTick(void* window, std::uintptr_t timerId);

}  // namespace hostwindow

#pragma once
// The host's window that an editor view is attached to. On Windows a real top-level window
// (the parent handed to attached as an "HWND"); elsewhere there is no window system here and
// the handle is null.

namespace vst3host {

class HostWindow
{
public:
  HostWindow(int width, int height);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  void* handle() const { return mHandle; }
  // Child windows the plug-in has put into this window.
  int childCount() const;
  // Delivers the messages waiting for this thread's windows.
  void pump() const;

private:
  void* mHandle = nullptr;
};

}  // namespace vst3host

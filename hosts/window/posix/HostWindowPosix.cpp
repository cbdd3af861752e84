#include "hosts/window/HostWindow.h"

namespace hostwindow {

HostWindow::HostWindow(int, int, const char*) {}
HostWindow::~HostWindow() = default;
void HostWindow::resizeClient(int, int) {}
int HostWindow::childCount() const
{
  return 0;
}
void* HostWindow::findChild(const char*) const
{
  return nullptr;
}
int HostWindow::pump(int) const
{
  return 0;
}
void HostWindow::runUntilClosed() const {}
bool HostWindow::isOpen() const
{
  return false;
}
int pumpMessages(int)
{
  return 0;
}
void playPointerAction(void*, const PointerAction&) {}
WindowPicture captureWindow(void*)
{
  return WindowPicture();
}
void sendTimerTick(void*, std::uintptr_t) {}

}  // namespace hostwindow

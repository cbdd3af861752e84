#include "hosts/vst3/HostWindow.h"

namespace vst3host {

HostWindow::HostWindow(int, int) {}
HostWindow::~HostWindow() = default;
int HostWindow::childCount() const
{
  return 0;
}
void HostWindow::pump() const {}

}  // namespace vst3host

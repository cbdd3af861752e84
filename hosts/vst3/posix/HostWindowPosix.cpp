#include "hosts/vst3/HostWindow.h"

namespace fakehost {

HostWindow::HostWindow(int, int) {}
HostWindow::~HostWindow() = default;
int HostWindow::childCount() const
{
  return 0;
}
void HostWindow::pump() const {}

}  // namespace fakehost

#include "tests/vst3/host/ChildWindow.h"

namespace fakegain {

void* openChildWindow(void*, int, int) { return nullptr; }
void resizeChildWindow(void*, int, int) {}
void closeChildWindow(void*) {}
bool haveWindows() { return false; }

}  // namespace fakegain

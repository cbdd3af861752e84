#pragma once
// The gain plug-in's editor window: a plain child window inside the host's window. Only
// Windows has one; elsewhere every call does nothing and opening gives null.

namespace fakegain {

void* openChildWindow(void* parent, int width, int height);
void resizeChildWindow(void* window, int width, int height);
void closeChildWindow(void* window);
// Whether editor windows exist in this build.
bool haveWindows();

}  // namespace fakegain

#include "tests/vst3/host/ChildWindow.h"

#include <windows.h>

namespace fakegain {

void* openChildWindow(void* parent, int width, int height)
{
  if (parent == nullptr || !IsWindow(static_cast<HWND>(parent))) return nullptr;
  return CreateWindowExW(0, L"STATIC", L"Fake Gain", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                         static_cast<HWND>(parent), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void resizeChildWindow(void* window, int width, int height)
{
  if (window != nullptr) SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void closeChildWindow(void* window)
{
  if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

bool haveWindows() { return true; }

}  // namespace fakegain

#include "hosts/vst3/HostWindow.h"

#include <windows.h>

namespace vst3host {
namespace {

const wchar_t kClassName[] = L"TQFakeHostWindow";

ATOM registerClass()
{
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterClassExW(&wc);
  }();
  return atom;
}

BOOL CALLBACK countChild(HWND, LPARAM count)
{
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

HostWindow::HostWindow(int width, int height)
{
  if (registerClass() == 0)
    return;
  mHandle = CreateWindowExW(0, kClassName, L"Fake host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow()
{
  if (mHandle != nullptr)
    DestroyWindow(static_cast<HWND>(mHandle));
}

int HostWindow::childCount() const
{
  int count = 0;
  if (mHandle != nullptr)
    EnumChildWindows(static_cast<HWND>(mHandle), countChild, reinterpret_cast<LPARAM>(&count));
  return count;
}

void HostWindow::pump() const
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vst3host

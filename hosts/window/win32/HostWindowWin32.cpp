#include "hosts/window/HostWindow.h"

#include <windows.h>

namespace hostwindow {
namespace {

const wchar_t kClassName[] = L"TQFakeHostWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  // A person closing the window ends runUntilClosed.
  if (message == WM_DESTROY)
    PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

ATOM registerClass()
{
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterClassExW(&wc);
  }();
  return atom;
}

SIZE outerSize(int width, int height)
{
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

BOOL CALLBACK countChild(HWND, LPARAM count)
{
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

struct ChildSearch
{
  const char* className;
  HWND found;
};

BOOL CALLBACK matchChild(HWND child, LPARAM param)
{
  auto* search = reinterpret_cast<ChildSearch*>(param);
  char name[128];
  if (!search->className || (GetClassNameA(child, name, sizeof name) > 0 && lstrcmpiA(name, search->className) == 0))
  {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

LPARAM at(int x, int y)
{
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

}  // namespace

HostWindow::HostWindow(int width, int height, const char* title)
{
  if (registerClass() == 0)
    return;
  const SIZE outer = outerSize(width, height);
  mHandle = CreateWindowExA(0, "TQFakeHostWindow", title, kStyle, 40, 40, outer.cx, outer.cy, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (mHandle)
  {
    ShowWindow(static_cast<HWND>(mHandle), SW_SHOWNORMAL);
    pump();
  }
}

HostWindow::~HostWindow()
{
  if (isOpen())
    DestroyWindow(static_cast<HWND>(mHandle));
  // The quit message of our own destruction is not a caller's business.
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void HostWindow::resizeClient(int width, int height)
{
  const SIZE outer = outerSize(width, height);
  if (isOpen())
    SetWindowPos(static_cast<HWND>(mHandle), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
}

int HostWindow::childCount() const
{
  int count = 0;
  if (isOpen())
    EnumChildWindows(static_cast<HWND>(mHandle), countChild, reinterpret_cast<LPARAM>(&count));
  return count;
}

void* HostWindow::findChild(const char* className) const
{
  ChildSearch search{className, nullptr};
  if (isOpen())
    EnumChildWindows(static_cast<HWND>(mHandle), matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int HostWindow::pump(int limit) const
{
  return pumpMessages(limit);
}

int pumpMessages(int limit)
{
  int delivered = 0;
  MSG msg;
  while (delivered < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
  {
    if (msg.message == WM_QUIT)
      continue;
    ++delivered;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return delivered;
}

void HostWindow::runUntilClosed() const
{
  MSG msg;
  while (isOpen() && GetMessageW(&msg, nullptr, 0, 0) > 0)
  {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool HostWindow::isOpen() const
{
  return mHandle && IsWindow(static_cast<HWND>(mHandle));
}

void playPointerAction(void* target, const PointerAction& a)
{
  HWND window = static_cast<HWND>(target);
  const auto send = [window](UINT message, WPARAM keys, LPARAM where) { SendMessageA(window, message, keys, where); };
  switch (a.kind)
  {
  case PointerAction::Click:
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(a.x, a.y));
    send(WM_LBUTTONUP, 0, at(a.x, a.y));
    break;
  case PointerAction::RightClick:
    send(WM_RBUTTONDOWN, MK_RBUTTON, at(a.x, a.y));
    send(WM_RBUTTONUP, 0, at(a.x, a.y));
    break;
  case PointerAction::DoubleClick:
    // As the window system reports a double click of a class that asks for them.
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(a.x, a.y));
    send(WM_LBUTTONUP, 0, at(a.x, a.y));
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(a.x, a.y));
    send(WM_LBUTTONUP, 0, at(a.x, a.y));
    break;
  case PointerAction::Drag:
  {
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(a.x, a.y));
    for (int i = 1; i <= kDragMoves; ++i)
      send(WM_MOUSEMOVE, MK_LBUTTON, at(dragX(a, i), dragY(a, i)));
    send(WM_LBUTTONUP, 0, at(a.x2, a.y2));
    break;
  }
  case PointerAction::Wheel:
  {
    // The wheel's position comes on the screen.
    RECT r{};
    GetWindowRect(window, &r);
    send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(a.notches * WHEEL_DELTA)), at(r.left + a.x, r.top + a.y));
    break;
  }
  }
  pumpMessages();
}

WindowPicture captureWindow(void* target)
{
  WindowPicture picture;
  HWND window = static_cast<HWND>(target);
  RECT client;
  if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
    return picture;
  const int w = client.right;
  const int h = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && dib && bits)
  {
    HGDIOBJ previous = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY))
    {
      GdiFlush();
      const auto* words = static_cast<const std::uint32_t*>(bits);
      picture.width = w;
      picture.height = h;
      picture.pixels.resize(static_cast<size_t>(w) * h);
      for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = 0xFF000000u | (words[i] & 0xFFFFFFu);
    }
    SelectObject(memory, previous);
  }
  if (dib)
    DeleteObject(dib);
  if (memory)
    DeleteDC(memory);
  ReleaseDC(window, screen);
  return picture;
}

void sendTimerTick(void* window, std::uintptr_t timerId)
{
  SendMessageA(static_cast<HWND>(window), WM_TIMER, static_cast<WPARAM>(timerId), 0);
}

}  // namespace hostwindow

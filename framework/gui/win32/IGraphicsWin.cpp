// The editor's child window: opening and closing it, the window class, painting, resizing,
// images and the host's main window.
#include "framework/gui/win32/IGraphicsWin.h"

#include "framework/core/IPlugBase.h"
#include "framework/gui/ImageResource.h"
#include "framework/gui/PlatformGraphics.h"
#include "lice/LICE_Bitmap.h"
#include "platform/ModuleHandle.h"

#include <cstring>

namespace {

// View windows of this module now open; the window class exists while it is above 0. The
// class may outlive the count when the host destroyed a view: it is removed later.
int gOpenViews = 0;
bool gClassRegistered = false;

void RegisterWindowClass(HINSTANCE module)
{
  if (gClassRegistered)
    return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = IGraphicsWin::ViewWindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.lpszClassName = IGraphicsWin::kWindowClassName;
  gClassRegistered = RegisterClassA(&wc) != 0;
}

// Fails while a window of the class still exists (one being destroyed): it is tried again
// with the next close and when the editor goes.
void ReleaseWindowClass(HINSTANCE module)
{
  if (gOpenViews == 0 && gClassRegistered && UnregisterClassA(IGraphicsWin::kWindowClassName, module))
    gClassRegistered = false;
}

// A child window that resizes with the editor: not a document window of an MDI frame.
bool IsPlainChild(HWND window)
{
  return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0 &&
         (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0;
}

void GrowWindow(HWND window, int dw, int dh)
{
  RECT r;
  if (!window || !GetWindowRect(window, &r))
    return;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
               SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

struct HostWindowSearch
{
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindHostWindowCallback(HWND window, LPARAM param)
{
  auto* search = reinterpret_cast<HostWindowSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char name[128];
  if (processId == search->processId && GetClassNameA(window, name, sizeof name) > 0 &&
      std::strcmp(name, search->className) == 0)
  {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int fps, const IGraphicsFlags& flags)
  : IGraphics(plug, width, height, fps, flags), mModule(static_cast<HINSTANCE>(CurrentModuleHandle()))
{}

IGraphicsWin::~IGraphicsWin()
{
  // The plug-in is going: an unfinished entry is dropped, not sent to it.
  CloseTextEntry();
  CloseView();
  ReleaseWindowClass(mModule);
}

void* IGraphicsWin::OpenInParent(void* parentHandle)
{
  HWND parent = static_cast<HWND>(parentHandle);
  if (!parent)
    return nullptr;
  int x = 0;
  int y = 0;
  int w = Width();
  int h = Height();
  if (mView)
  {
    // Reopened: the new window takes the old one's place and size.
    RECT view;
    RECT oldParent;
    if (GetWindowRect(mView, &view) && GetWindowRect(GetParent(mView), &oldParent))
    {
      x = view.left - oldParent.left;
      y = view.top - oldParent.top;
      w = view.right - view.left;
      h = view.bottom - view.top;
    }
    CloseView();
  }
  mParent = parent;
  if (gOpenViews == 0)
    RegisterWindowClass(mModule);
  ++gOpenViews;
  HWND view =
    CreateWindowExA(0, kWindowClassName, "IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr, mModule, this);
  if (!view)
  {
    --gOpenViews;
    ReleaseWindowClass(mModule);
    return nullptr;
  }
  mView = view;
  MarkAllChanged();
  if (Flags().tooltips)
    MakeTooltipWindow();
  return view;
}

void IGraphicsWin::CloseView()
{
  if (!mView)
    return;
  HWND view = mView;
  // Forgotten first: the messages of its destruction are not the editor's any more.
  ForgetView();
  DestroyWindow(view);
  ReleaseWindowClass(mModule);
}

void IGraphicsWin::ForgetView()
{
  if (!mView)
    return;
  FinishTextEntry();
  CancelPointer();
  // A drag that hid the pointer gets no release now: the host's pointer comes back.
  RevealCursor();
  DestroyTooltipWindow();
  mView = nullptr;
  --gOpenViews;
}

bool IGraphicsWin::PresentRect(const IRectangle& r)
{
  if (!mView)
    return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(mView, &ps);
  HDC source = DrawBitmap() ? static_cast<HDC>(DrawBitmap()->DrawingContext()) : nullptr;
  if (dc && source)
    BitBlt(dc, r.L, r.T, r.W(), r.H(), source, r.L, r.T, SRCCOPY);
  EndPaint(mView, &ps);
  return true;
}

void IGraphicsWin::ChangeSize(int width, int height)
{
  if (width == Width() && height == Height())
    return;
  const int dw = width - Width();
  const int dh = height - Height();
  // The controls go: nothing may still point at one.
  CloseTextEntry();
  HideTooltip();
  mTooltipControlIdx = -1;
  IGraphics::ChangeSize(width, height);
  if (!mView)
    return;
  HWND parent = nullptr;
  HWND grandparent = nullptr;
  if (IsPlainChild(mView))
  {
    parent = GetParent(mView);
    if (parent && IsPlainChild(parent))
      grandparent = GetParent(parent);
  }
  GrowWindow(mView, dw, dh);
  const int kind = Plug() ? Plug()->BindingKind() : IPlugBase::kBindingVST2;
  // A VST3 host sizes its own windows around the view.
  if (kind != IPlugBase::kBindingVST3)
  {
    GrowWindow(parent, dw, dh);
    GrowWindow(grandparent, dw, dh);
  }
  const RECT all{0, 0, width, height};
  InvalidateRect(mView, &all, FALSE);
}

LICE_IBitmap* IGraphicsWin::LoadImageResource(int resourceId, const char* name)
{
  // The owner may have handed in another module than the one this code is linked into.
  return LoadPngResource(mModule, resourceId, name);
}

void IGraphicsWin::ConcealCursor()
{
  if (mCursorHidden)
    return;
  POINT p;
  if (GetCursorPos(&p))
  {
    mSavedCursorX = p.x;
    mSavedCursorY = p.y;
  }
  ShowCursor(FALSE);
  mCursorHidden = true;
}

void IGraphicsWin::RevealCursor()
{
  if (!mCursorHidden)
    return;
  SetCursorPos(mSavedCursorX, mSavedCursorY);
  ShowCursor(TRUE);
  mCursorHidden = false;
}

HWND IGraphicsWin::HostMainWindow()
{
  if (mHostMainWindow)
    return mHostMainWindow;
  if (mParent && IsWindow(mParent))
  {
    HWND root = mParent;
    while (HWND up = GetParent(root))
      root = up;
    mHostMainWindow = root;
    char name[128];
    if (GetClassNameA(root, name, sizeof name) > 0)
      mHostClassName.Assign(name);
  }
  else if (mHostClassName.Length() > 0)
  {
    HostWindowSearch search{GetCurrentProcessId(), mHostClassName.Get(), nullptr};
    EnumWindows(FindHostWindowCallback, reinterpret_cast<LPARAM>(&search));
    mHostMainWindow = search.found;
  }
  return mHostMainWindow;
}

IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsWin(plug, width, height, fps);
}

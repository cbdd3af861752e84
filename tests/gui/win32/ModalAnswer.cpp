#include "tests/gui/win32/ModalAnswer.h"

namespace {

BOOL CALLBACK Remember(HWND window, LPARAM set)
{
  reinterpret_cast<std::set<HWND>*>(set)->insert(window);
  return TRUE;
}

std::set<HWND> TopLevelWindows()
{
  std::set<HWND> windows;
  EnumWindows(Remember, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool ShownAndOurs(HWND window)
{
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId() && IsWindowVisible(window);
}

std::string ClassOf(HWND window)
{
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

ModalAnswer::ModalAnswer(const char* className, const char* title, Action act)
  : mClass(className), mTitle(title ? title : ""), mAct(std::move(act)), mBefore(TopLevelWindows())
{
  mThread = std::thread([this] { Run(); });
}

void ModalAnswer::Finish()
{
  mStop = true;
  if (mThread.joinable())
    mThread.join();
}

HWND ModalAnswer::ShownWindow() const
{
  for (HWND window : TopLevelWindows())
    if (ShownAndOurs(window) && ClassOf(window) == mClass && (mTitle.empty() || WindowText(window) == mTitle))
      return window;
  return nullptr;
}

void ModalAnswer::Run()
{
  // Looking, not timing: the answer comes as soon as the window is there.
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!mStop && std::chrono::steady_clock::now() < deadline)
  {
    if (!mFound)
      if (HWND window = ShownWindow())
      {
        mAct(window, &mSeen);
        mFound = true;
      }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!mStop)
    CloseNewWindows();
}

void ModalAnswer::CloseNewWindows()
{
  mGaveUp = true;
  for (HWND window : TopLevelWindows())
    if (!mBefore.count(window) && ShownAndOurs(window))
    {
      // Escape closes a menu level or a dialog; what ignores it is asked to close.
      for (int level = 0; level < 3; ++level)
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

std::string WindowText(HWND window)
{
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

ModalAnswer::Action TypeKeys(std::vector<WPARAM> keys)
{
  return [keys](HWND menu, std::string*) {
    for (WPARAM key : keys)
      PostMessageA(menu, WM_KEYDOWN, key, 0);
  };
}

void Click(HWND dialog, int button)
{
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

ModalAnswer::Action ClickButton(int button)
{
  return [button](HWND dialog, std::string* seen) {
    *seen = WindowText(dialog);
    Click(dialog, button);
  };
}

std::string DescribeMenu(HMENU menu)
{
  std::string out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
  {
    char label[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
    out += (i ? " " : "") + std::string(label);
    if (HMENU sub = GetSubMenu(menu, i))
      out += "[" + DescribeMenu(sub) + "]";
    else
      out += "=" + std::to_string(GetMenuItemID(menu, i));
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    out += std::string(state & MF_GRAYED ? " greyed" : "") + (state & MF_CHECKED ? " checked" : "");
  }
  return out;
}

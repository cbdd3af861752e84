// The window services: popup menus, message box, file and colour dialogs, folders, web
// addresses and the clipboard.
#include "framework/gui/win32/IGraphicsWin.h"

#include "framework/core/IMenu.h"
#include "framework/gui/FilePaths.h"
#include "framework/gui/PopupMenu.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void ModuleDirectory(HMODULE module, StringBuffer& out)
{
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  // A cut path names another folder.
  out.Assign(length > 0 && length < sizeof path ? DirectoryOfPath(path).c_str() : "");
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
  if (message == WM_INITDIALOG)
  {
    const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (choose && choose->lCustData)
      SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
  }
  return 0;
}

// Copies text into a dialog's fixed buffer; false when it does not fit.
bool CopyToBuffer(const char* text, char* buffer, size_t capacity)
{
  const size_t length = std::strlen(text);
  if (length >= capacity)
    return false;
  std::memcpy(buffer, text, length + 1);
  return true;
}

}  // namespace

int IGraphicsWin::ShowMessage(const char* text, const char* caption, int type)
{
  return MessageBoxA(HostMainWindow(), text, caption, static_cast<UINT>(type));
}

HMENU IGraphicsWin::BuildNativeMenu(const IMenu& menu, int* counter)
{
  HMENU native = CreatePopupMenu();
  if (!native)
    return nullptr;
  const int base = *counter;
  *counter += menu.ItemCount();
  for (int i = 0; i < menu.ItemCount(); ++i)
  {
    const IMenuItem* item = menu.ItemAt(i);
    const int flags = item->Flags();
    if (flags & IMenuItem::kSeparator)
    {
      AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    StringBuffer label;
    MenuItemLabel(menu, i, &label);
    if (const IMenu* submenu = item->Submenu())
    {
      // Ids follow on through the submenus, in the order ResolveMenuChoice searches them.
      HMENU nativeSub = BuildNativeMenu(*submenu, counter);
      if (nativeSub && !AppendMenuA(native, MF_POPUP, reinterpret_cast<UINT_PTR>(nativeSub), label.Get()))
        DestroyMenu(nativeSub);
      continue;
    }
    UINT state = MF_STRING;
    state |= (flags & IMenuItem::kGreyed) ? MF_GRAYED : 0;
    state |= (flags & IMenuItem::kDisabled) ? MF_DISABLED : 0;
    state |= (flags & IMenuItem::kChecked) ? MF_CHECKED : 0;
    AppendMenuA(native, state, static_cast<UINT_PTR>(base + i), label.Get());
  }
  return native;
}

IMenu* IGraphicsWin::RunPopupMenu(IMenu* menu, const IRectangle& rect)
{
  if (!menu || !mView)
    return nullptr;
  // The menu takes the mouse: the press that opened it gets no release.
  CancelPointer();
  int counter = 0;
  HMENU native = BuildNativeMenu(*menu, &counter);
  if (!native)
    return nullptr;
  POINT anchor{rect.L, rect.B};
  ClientToScreen(mView, &anchor);
  IMenu* chosen = nullptr;
  MSG command;
  // The choice arrives as a WM_COMMAND posted to the view before the call returns.
  if (TrackPopupMenu(native, TPM_LEFTBUTTON, anchor.x, anchor.y, 0, mView, nullptr) &&
      PeekMessageA(&command, mView, WM_COMMAND, WM_COMMAND, PM_REMOVE) && command.wParam <= 0xFFFF)
  {
    int ids = 0;
    chosen = ResolveMenuChoice(static_cast<int>(command.wParam), &ids, menu);
  }
  DestroyMenu(native);
  const RECT all{0, 0, Width(), Height()};
  InvalidateRect(mView, &all, FALSE);
  return chosen;
}

void IGraphicsWin::HostDirectory(StringBuffer& out)
{
  ModuleDirectory(nullptr, out);
}

void IGraphicsWin::PlugDirectory(StringBuffer& out)
{
  ModuleDirectory(mModule, out);
}

void IGraphicsWin::DesktopDirectory(StringBuffer& out)
{
  char path[MAX_PATH];
  out.Assign(SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE) ? path : "");
}

void IGraphicsWin::AppDataDirectory(StringBuffer& out, bool allUsers)
{
  char path[MAX_PATH];
  const int folder = allUsers ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA;
  out.Assign(SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, 0, path)) ? path : "");
}

void IGraphicsWin::AskForFile(StringBuffer& file, int action, StringBuffer& directory, const char* extensions)
{
  std::string filter;
  std::string defaultExtension;
  const bool filtered = extensions && extensions[0];
  char fileName[MAX_PATH] = "";
  char folder[MAX_PATH] = "";
  if (!mView)
  {
    file.Assign("");
    return;
  }
  if (directory.Length() == 0)
    DesktopDirectory(directory);
  // Caller text the dialog cannot hold is refused, not cut into another name.
  if ((filtered && !FileDialogFilter(extensions, &filter, &defaultExtension)) ||
      !CopyToBuffer(file.Get(), fileName, sizeof fileName) || !CopyToBuffer(directory.Get(), folder, sizeof folder))
  {
    file.Assign("");
    return;
  }
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = mView;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = sizeof fileName;
  dialog.lpstrInitialDir = folder;
  // The process's current folder belongs to the host: browsing must not move it.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (filtered)
  {
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrDefExt = defaultExtension.c_str();
  }
  bool chosen;
  if (action == 1)
  {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameA(&dialog);
  }
  else
  {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&dialog);
  }
  if (!chosen)
  {
    file.Assign("");
    return;
  }
  const std::string chosenFolder = DirectoryOfPath(fileName);
  if (!chosenFolder.empty())
    directory.Assign(chosenFolder.c_str());
  file.Assign(fileName);
}

bool IGraphicsWin::AskForColour(IColour& colour, const char* title)
{
  if (!mView)
    return false;
  if (!mCustomColours)
    mCustomColours.reset(new COLORREF[16]());
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = mView;
  dialog.rgbResult = RGB(colour.R, colour.G, colour.B);
  dialog.lpCustColors = mCustomColours.get();
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  dialog.lCustData = reinterpret_cast<LPARAM>(title);
  dialog.lpfnHook = ColourDialogHook;
  if (!ChooseColorA(&dialog))
    return false;
  colour.R = GetRValue(dialog.rgbResult);
  colour.G = GetGValue(dialog.rgbResult);
  colour.B = GetBValue(dialog.rgbResult);
  return true;
}

bool IGraphicsWin::LaunchUrl(const char* url, const char* title, const char* confirm, const char* error)
{
  if (confirm && MessageBoxA(mView, confirm, title, MB_YESNO) != IDYES)
    return false;
  DWORD connection = 0;
  if (url && InternetGetConnectedState(&connection, 0) &&
      reinterpret_cast<INT_PTR>(ShellExecuteA(mView, "open", url, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
    return true;
  if (error)
    MessageBoxA(mView, error, title, MB_OK);
  return false;
}

bool IGraphicsWin::ReadClipboardText(StringBuffer& out)
{
  out.Assign("");
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mView))
    return false;
  bool read = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr)
  {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size > 0)
    {
      std::vector<char> text(static_cast<size_t>(size) + 1, 0);
      read =
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr) > 0 && out.Assign(text.data());
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return read;
}

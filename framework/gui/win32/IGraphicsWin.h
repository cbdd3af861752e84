#pragma once

#include "framework/core/StringBuffer.h"
#include "framework/gui/IGraphics.h"

#include <windows.h>

#include <memory>

// The editor as a Win32 child window inside the host's window: a redraw timer, painting from
// the draw bitmap, the window's mouse and key messages turned into the editor's dispatch,
// and the window services (text entry, popup menus, dialogs, folders, clipboard).
//
// Everything runs on the thread that owns the window. The window class exists while the
// module has a view window open.
class IGraphicsWin : public IGraphics
{
public:
  static constexpr const char* kWindowClassName = "IPlugWndClass";
  static constexpr UINT_PTR kRedrawTimerId = 2;
  static constexpr int kEntryFieldId = 99;

  // Text-entry states: what the next tick does with an open entry field.
  enum ETextEntryState
  {
    kEntryIdle = 0,       // nothing pending; or the last tick painted normally
    kEntryEditing = 1,    // the field has regained the focus
    kEntryRepainted = 2,  // a tick redrew the editor around the field
    kEntryCancel = 3,
    kEntryCommit = 4,
  };

  IGraphicsWin(IPlugBase* plug, int width, int height, int fps = 0, const IGraphicsFlags& flags = IGraphicsFlags());
  ~IGraphicsWin() override;

  // The module whose images, window class and folder the editor uses: by default the one this
  // code is linked into.
  void SetModuleHandle(HINSTANCE module) { mModule = module; }
  HINSTANCE ModuleHandle() const { return mModule; }
  int TextEntryState() const { return mEntryState; }
  HWND EntryField() const { return mEntryField; }
  // The tooltip window, made with the view when the editor has tooltips; null otherwise.
  HWND TooltipWindow() const { return mTooltip; }
  bool TooltipShown() const { return mTooltipShown; }
  int TooltipControlIndex() const { return mTooltipControlIdx; }

  // ---- The window (IGraphicsWin.cpp) ----------------------------------------------------------
  const char* ParentWindowType() const override { return "HWND"; }
  void* OpenInParent(void* parent) override;
  void CloseView() override;
  void* NativeWindow() const override { return mView; }
  const char* DrawingApiName() const override { return "Windows GDI"; }
  bool PresentRect(const IRectangle& r) override;
  void ChangeSize(int width, int height) override;
  LICE_IBitmap* LoadImageResource(int resourceId, const char* name) override;
  void ConcealCursor() override;
  void RevealCursor() override;
  void PlatformStub() override {}
  // The host's top-level window: the root above the parent, remembered once found.
  HWND HostMainWindow();

  // ---- Services (IGraphicsWinEntry.cpp, IGraphicsWinServices.cpp) ----------------------------
  void CancelTextEntry() override;
  void BeginTextEntry(IControl* control, const ITextStyle& style, const IRectangle& rect, const char* text,
                      IPlugParameter* param) override;
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* RunPopupMenu(IMenu* menu, const IRectangle& rect) override;
  void HostDirectory(StringBuffer& out) override;
  void PlugDirectory(StringBuffer& out) override;
  void DesktopDirectory(StringBuffer& out) override;
  void AppDataDirectory(StringBuffer& out, bool allUsers) override;
  void AskForFile(StringBuffer& file, int action, StringBuffer& directory, const char* extensions) override;
  bool AskForColour(IColour& colour, const char* title) override;
  bool LaunchUrl(const char* url, const char* title, const char* confirm, const char* error) override;
  bool ReadClipboardText(StringBuffer& out) override;

  // ---- Tooltips (IGraphicsWinTooltip.cpp) ------------------------------------------------------
  // The tooltip of the control the pointer rests on, when it has one.
  void ShowTooltip();
  void HideTooltip();

  static LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK EditFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

  // IGraphicsWinProc.cpp
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleWhileEditing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool HandlePointer(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleKey(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Tick();
  // The view window is going away (closed by us or destroyed with the host's window).
  void ForgetView();

  // IGraphicsWinEntry.cpp
  LRESULT HandleFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
  // Commits the entry in the commit state, then closes it in any state.
  void FinishTextEntry();
  void CloseTextEntry();
  LRESULT EntryColours(HDC dc);

  HMENU BuildNativeMenu(const IMenu& menu, int* counter);

  // IGraphicsWinTooltip.cpp. Without the common controls the editor goes on without tooltips.
  void MakeTooltipWindow();
  void DestroyTooltipWindow();
  // A pointer move that hover handling took: the tooltip follows the control under it.
  void TrackHover();

  HINSTANCE mModule = nullptr;
  HWND mView = nullptr;
  HWND mEntryField = nullptr;
  HWND mTooltip = nullptr;
  IControl* mEntryControl = nullptr;
  IPlugParameter* mEntryParam = nullptr;
  WNDPROC mEntryFieldProc = nullptr;
  HFONT mEntryFont = nullptr;
  int mEntryState = kEntryIdle;
  bool mTooltipShown = false;
  int mTooltipControlIdx = -1;
  std::unique_ptr<COLORREF[]> mCustomColours;
  HWND mParent = nullptr;
  HWND mHostMainWindow = nullptr;
  StringBuffer mHostClassName;
  // Set while a key is being handed to the host's root window, which may send it back.
  bool mForwardingKey = false;
};

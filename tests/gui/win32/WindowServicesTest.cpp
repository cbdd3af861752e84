// The editor window's services in a real host window, reached as a plug-in's code reaches
// them. Menus and dialogs are modal: a helper thread finds each one once it is shown and
// answers it as a person would, while the editor's thread waits inside it.
#include "framework/core/IMenu.h"
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/window/HostWindow.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/win32/ImportPatch.h"
#include "tests/gui/win32/ModalAnswer.h"

#include <gtest/gtest.h>

#include <colordlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <wininet.h>

#include <functional>

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

std::string Text(const char* text)
{
  return text ? text : "(null)";
}

// ---- The network and the shell, as LaunchUrl sees them --------------------------------------

// Wine always reports a network connection, and a shell that opens a web address starts a
// browser: both are answered by the test.
BOOL gConnected = TRUE;
INT_PTR gShellAnswer = 42;
std::vector<std::string> gOpened;

BOOL WINAPI ConnectedState(LPDWORD flags, DWORD)
{
  if (flags)
    *flags = gConnected ? INTERNET_CONNECTION_LAN : 0;
  return gConnected;
}

HINSTANCE WINAPI OpenWithShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
  gOpened.push_back(Text(verb) + " " + Text(file));
  return reinterpret_cast<HINSTANCE>(gShellAnswer);
}

// ---- Editors ------------------------------------------------------------------------------

class Plain : public IControl
{
public:
  using IControl::IControl;
  bool Render(IGraphics*) override { return true; }
};

// Hides the pointer while it is dragged finely (shift or control), as a control that moves
// in small steps may.
class FineDragControl : public IControl
{
public:
  FineDragControl(IGraphics* graphics, const IRectangle& rect) : IControl(nullptr, rect), mGraphics(graphics) {}
  bool Render(IGraphics*) override { return true; }
  void HandlePress(int, int, const PointerModifiers& mods) override
  {
    if (mods.shift || mods.control)
      mGraphics->ConcealCursor();
  }
  void HandleRelease(int, int, const PointerModifiers&) override { mGraphics->RevealCursor(); }

private:
  IGraphics* mGraphics;
};

// An editor window that records what it presented.
class RecordingWindow : public IGraphicsWin
{
public:
  using IGraphicsWin::IGraphicsWin;
  bool PresentRect(const IRectangle& r) override
  {
    presented.push_back(r);
    return IGraphicsWin::PresentRect(r);
  }
  std::vector<IRectangle> presented;
};

// The host's window the editors open in. Made once: under Wine without a window manager, each
// top-level window that goes away costs about two seconds.
HWND Host()
{
  static hostwindow::HostWindow host(kWidth, kHeight);
  return static_cast<HWND>(host.handle());
}

// A child window of the host's window, as big as the editor.
HWND Container(HWND in)
{
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, in, nullptr, nullptr, nullptr);
}

// A plug-in with an editor window (one plain control over all of it) opened in parent.
struct Editor
{
  explicit Editor(void* parent, int bindingKind = IPlugBase::kBindingVST2)
    : plug(std::make_unique<GuiTestPlug>(bindingKind)), window(new RecordingWindow(plug.get(), kWidth, kHeight))
  {
    window->AddControl(new Plain(plug.get(), IRectangle(0, 0, kWidth, kHeight)));
    plug->AttachEditor(window);
    view = static_cast<HWND>(window->OpenInParent(parent));
  }
  void Tick() { hostwindow::sendTimerTick(view, IGraphicsWin::kRedrawTimerId); }

  std::unique_ptr<GuiTestPlug> plug;
  RecordingWindow* window;  // the plug-in's
  HWND view;
};

SIZE OuterSize(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

bool ClassRegistered()
{
  WNDCLASSA wc;
  return GetClassInfoA(GetModuleHandleA(nullptr), IGraphicsWin::kWindowClassName, &wc) != 0;
}

// The pointer's show count (0 shown, below 0 hidden), left as it was.
int CursorCount()
{
  ShowCursor(TRUE);
  return ShowCursor(FALSE);
}

// ---- Tests ----------------------------------------------------------------------------------

TEST(WindowServices, WindowClassLivesFromTheFirstOpenViewToTheLastClosed)
{
  enum Close
  {
    kCloseView,
    kHostDestroysWindow
  };
  struct Case
  {
    const char* what;
    int first;  // which editor goes first
    Close how;  // how the first goes; the second's view is closed
  };
  for (const Case& c :
       {Case{"first opened closes first", 0, kCloseView}, Case{"last opened closes first", 1, kCloseView},
        Case{"first's host window destroyed first", 0, kHostDestroysWindow}})
  {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(ClassRegistered());
    HWND windows[] = {Container(Host()), Container(Host())};
    Editor a(windows[0]);
    EXPECT_TRUE(ClassRegistered());
    Editor b(windows[1]);
    ASSERT_TRUE(a.view && b.view);
    Editor* editors[] = {&a, &b};
    if (c.how == kHostDestroysWindow)
      DestroyWindow(windows[c.first]);
    else
      editors[c.first]->window->CloseView();
    EXPECT_FALSE(editors[c.first]->window->HasWindow());
    EXPECT_TRUE(ClassRegistered());
    editors[1 - c.first]->window->CloseView();
    EXPECT_FALSE(ClassRegistered());
    DestroyWindow(windows[0]);
    DestroyWindow(windows[1]);
  }
  // A window that cannot be made (its parent is gone) leaves no class behind.
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  Editor orphan(gone);
  EXPECT_EQ(orphan.view, nullptr);
  EXPECT_FALSE(ClassRegistered());
}

TEST(WindowServices, ChangeSizeGrowsTheViewAndTheHostsWindowsAsTheBindingWants)
{
  struct Case
  {
    const char* what;
    int kind;
    bool nested;  // the view sits in two child windows of the host's top-level window
    std::string grown;
  };
  for (const Case& c : {Case{"VST2, nested", IPlugBase::kBindingVST2, true, "parent ancestor"},
                        Case{"VST3, nested", IPlugBase::kBindingVST3, true, ""},
                        Case{"AAX, nested", IPlugBase::kBindingAAX, true, "parent ancestor"},
                        Case{"VST2, in the top-level window", IPlugBase::kBindingVST2, false, "top"}})
  {
    SCOPED_TRACE(c.what);
    HWND top = Host();
    HWND ancestor = c.nested ? Container(top) : nullptr;
    HWND parent = c.nested ? Container(ancestor) : top;
    std::vector<std::pair<const char*, HWND>> around{{"top", top}};
    if (c.nested)
      around.insert(around.begin(), {{"parent", parent}, {"ancestor", ancestor}});
    std::vector<SIZE> before;
    for (const auto& [name, window] : around)
      before.push_back(OuterSize(window));
    Editor editor(parent, c.kind);
    ASSERT_NE(editor.view, nullptr);
    editor.window->ChangeSize(kWidth + 30, kHeight + 20);

    RECT client{};
    GetClientRect(editor.view, &client);
    EXPECT_EQ(client.right * 1000 + client.bottom, (kWidth + 30) * 1000 + kHeight + 20);
    std::string grown;
    for (size_t i = 0; i < before.size(); ++i)
    {
      const SIZE after = OuterSize(around[i].second);
      if (after.cx != before[i].cx || after.cy != before[i].cy)
        grown += (grown.empty() ? "" : " ") + std::string(around[i].first) +
                 (after.cx - before[i].cx == 30 && after.cy - before[i].cy == 20 ? "" : " (by another size)");
    }
    EXPECT_EQ(grown, c.grown);
    if (ancestor)
      DestroyWindow(ancestor);
    SetWindowPos(top, nullptr, 0, 0, before.back().cx, before.back().cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

TEST(WindowServices, ClipboardTextIsReadBackAsUtf8)
{
  struct Case
  {
    const char* what;
    std::vector<wchar_t> data;  // put on the clipboard as UTF-16 text; empty: nothing
    std::string text;
    bool read;
  };
  for (const Case& c :
       {Case{"plain", {L'G', L'a', L'i', L'n', L' ', L'3', 0}, "Gain 3", true},
        Case{"beyond ASCII", {L'\u00b1', L'3', L' ', L'd', L'B', L' ', L'\u2192', 0}, "\u00b13 dB \u2192", true},
        Case{"empty clipboard", {}, "", false}})
  {
    SCOPED_TRACE(c.what);
    Editor editor(Host());
    ASSERT_TRUE(OpenClipboard(editor.view));
    EmptyClipboard();
    if (!c.data.empty())
    {
      const size_t bytes = c.data.size() * sizeof(wchar_t);
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
      memcpy(GlobalLock(block), c.data.data(), bytes);
      GlobalUnlock(block);
      EXPECT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    }
    CloseClipboard();
    StringBuffer out;
    out.Assign("left over");
    EXPECT_EQ(editor.window->ReadClipboardText(out), c.read);
    EXPECT_EQ(std::string(out.Get()), c.text);
  }
}

TEST(WindowServices, ModalMenusAndDialogsGiveWhatThePersonAnswered)
{
  ImportPatch connection("wininet.dll", "InternetGetConnectedState", reinterpret_cast<void*>(ConnectedState));
  ImportPatch shell("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(OpenWithShell));
  ASSERT_TRUE(connection.Applied() && shell.Applied());
  Editor editor(Host());
  ASSERT_NE(editor.view, nullptr);
  IGraphicsWin& window = *editor.window;

  // Three numbered items; the second opens a submenu of two, the third is greyed.
  IMenu menu;
  menu.SetNumbering(IMenu::kTwoDigits);
  menu.AppendItem(new IMenuItem("One"));
  IMenu sub;  // not owned by its item
  sub.AppendItem(new IMenuItem("Sub A"));
  sub.AppendItem(new IMenuItem("Sub B", IMenuItem::kChecked));
  menu.AppendItem(new IMenuItem("Sub"))->SetSubmenu(&sub);
  menu.AppendItem(new IMenuItem("Three", IMenuItem::kGreyed));
  const std::string shown = "01: One=0 02: Sub[Sub A=3 Sub B=4 checked] 03: Three=2 greyed";
  const IRectangle anchor(20, 30, 80, 50);
  const auto runMenu = [&] {
    menu.SetChosenIndex(-1);
    sub.SetChosenIndex(-1);
    IMenu* chosen = window.RunPopupMenu(&menu, anchor);
    return std::string(chosen == &menu  ? "menu "
                       : chosen == &sub ? "sub "
                                        : "none ") +
           std::to_string(chosen ? chosen->ChosenIndex() : -1);
  };
  // Where the menu opened, against its anchor (the anchor's bottom-left on the screen), and
  // what it shows.
  const auto menuAt = [&](std::vector<WPARAM> keys) {
    return [&, keys](HWND menuWindow, std::string* seen) {
      POINT corner{anchor.L, anchor.B};
      ClientToScreen(editor.view, &corner);
      RECT r{};
      GetWindowRect(menuWindow, &r);
      *seen = std::to_string(r.left - corner.x) + "," + std::to_string(r.top - corner.y) + " " +
              DescribeMenu(reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)));
      TypeKeys(keys)(menuWindow, nullptr);
    };
  };

  const auto runFile = [&](int action, const char* name, const char* extensions) {
    StringBuffer file, folder;
    file.Assign(name);
    folder.Assign("C:\\windows");
    // The process's current folder is the host's: no dialog may move it.
    char before[MAX_PATH] = "";
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    window.AskForFile(file, action, folder, extensions);
    GetCurrentDirectoryA(sizeof after, after);
    return "'" + std::string(file.Get()) + "' in " + folder.Get() +
           (std::string(before) == after ? "" : ", current folder moved to " + std::string(after));
  };
  // The dialog's file types, then cancelled.
  const ModalAnswer::Action readTypesAndCancel = [](HWND dialog, std::string* seen) {
    char types[256] = "";
    SendMessageA(GetDlgItem(dialog, cmb1), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(types));
    *seen = types;
    Click(dialog, IDCANCEL);
  };

  // A name typed into the dialog's name box, then chosen.
  const ModalAnswer::Action typeName = [](HWND dialog, std::string* seen) {
    *seen = WindowText(dialog);
    if (!SetDlgItemTextA(dialog, cmb13, "take.wav"))
      SetDlgItemTextA(dialog, edt1, "take.wav");
    Click(dialog, IDOK);
  };

  IColour colour(40, 10, 20, 30);
  const auto runColour = [&] {
    const bool chosen = window.AskForColour(colour, "Pick a colour");
    return std::string(chosen ? "chosen " : "cancelled ") + std::to_string(colour.A) + "," + std::to_string(colour.R) +
           "," + std::to_string(colour.G) + "," + std::to_string(colour.B);
  };
  const ModalAnswer::Action typeColour = [](HWND dialog, std::string* seen) {
    *seen = WindowText(dialog);
    SetDlgItemInt(dialog, COLOR_RED, 200, FALSE);
    SetDlgItemInt(dialog, COLOR_GREEN, 100, FALSE);
    SetDlgItemInt(dialog, COLOR_BLUE, 50, FALSE);
    Click(dialog, IDOK);
  };

  const auto runLink = [&](BOOL connected, INT_PTR shellAnswer, const char* confirm, const char* error) {
    gConnected = connected;
    gShellAnswer = shellAnswer;
    gOpened.clear();
    const bool launched = window.LaunchUrl("https://example.invalid/", "Link", confirm, error);
    std::string opened;
    for (const std::string& o : gOpened)
      opened += " [" + o + "]";
    return std::string(launched ? "true" : "false") + opened;
  };
  // The box's owner (a box given the view belongs to the view's top-level window) and text
  // (its static control), then the button.
  const auto readBoxAndPress = [&](int button) {
    return [&, button](HWND box, std::string* seen) {
      constexpr int kBoxText = 0xFFFF;
      *seen =
        std::string(GetWindow(box, GW_OWNER) == Host() ? "host: " : "other: ") + WindowText(GetDlgItem(box, kBoxText));
      Click(box, button);
    };
  };

  struct Case
  {
    const char* what;
    const char* windowClass;
    const char* title;  // null: any
    ModalAnswer::Action answer;
    std::function<std::string()> run;
    std::string result;
    std::string seen;  // what the answer saw of the window
  };
  const Case cases[] = {
    {"menu: submenu's second item", "#32768", nullptr, menuAt({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}),
     runMenu, "sub 1", "0,0 " + shown},
    {"menu: first item", "#32768", nullptr, menuAt({VK_DOWN, VK_RETURN}), runMenu, "menu 0", "0,0 " + shown},
    {"menu: cancelled", "#32768", nullptr, menuAt({VK_ESCAPE}), runMenu, "none -1", "0,0 " + shown},
    {"message box cancelled", "#32770", "Caption", readBoxAndPress(IDCANCEL),
     [&] { return std::to_string(window.ShowMessage("Really?", "Caption", MB_OKCANCEL)); }, std::to_string(IDCANCEL),
     "host: Really?"},
    {"file to open, cancelled", "#32770", nullptr, readTypesAndCancel, [&] { return runFile(0, "", "wav aif"); },
     "'' in C:\\windows", "*.wav;*.aif"},
    {"file to save, blanks in the types, cancelled", "#32770", nullptr, readTypesAndCancel,
     [&] { return runFile(1, "take.wav", " wav  aif "); }, "'' in C:\\windows", "*.wav;*.aif"},
    {"file to save, typed in and chosen", "#32770", nullptr, typeName, [&] { return runFile(1, "", "wav"); },
     "'C:\\windows\\take.wav' in C:\\windows\\", "Save As"},
    {"file name too long: refused without a dialog", "#32770", nullptr, readTypesAndCancel,
     [&] { return runFile(0, std::string(300, 'x').c_str(), "wav"); }, "'' in C:\\windows", "(none)"},
    {"colour cancelled", "#32770", "Pick a colour", ClickButton(IDCANCEL), runColour, "cancelled 40,10,20,30",
     "Pick a colour"},
    {"colour typed in and chosen", "#32770", "Pick a colour", typeColour, runColour, "chosen 40,200,100,50",
     "Pick a colour"},
    {"link: confirmation answered no", "#32770", "Link", readBoxAndPress(IDNO),
     [&] { return runLink(TRUE, 42, "Open the page?", "Failed"); }, "false", "host: Open the page?"},
    {"link: confirmed and opened", "#32770", "Link", readBoxAndPress(IDYES),
     [&] { return runLink(TRUE, 42, "Open the page?", "Failed"); }, "true [open https://example.invalid/]",
     "host: Open the page?"},
    {"link: no connection", "#32770", "Link", readBoxAndPress(IDOK),
     [&] { return runLink(FALSE, 42, nullptr, "No connection"); }, "false", "host: No connection"},
    {"link: no connection, no error text", "#32770", "Link", readBoxAndPress(IDOK),
     [&] { return runLink(FALSE, 42, nullptr, nullptr); }, "false", "(none)"},
    {"link: the shell cannot open it", "#32770", "Link", readBoxAndPress(IDOK),
     [&] { return runLink(TRUE, SE_ERR_NOASSOC, nullptr, "Failed"); }, "false [open https://example.invalid/]",
     "host: Failed"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    ModalAnswer answer(c.windowClass, c.title, c.answer);
    const std::string result = c.run();
    // A window that should not come is waited for no longer: the call is over.
    answer.Finish();
    EXPECT_FALSE(answer.GaveUp());
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(answer.Seen(), c.seen);
  }
}

TEST(WindowServices, PointerHiddenDuringAFineDragAndShownWhereItWas)
{
  struct Case
  {
    const char* what;
    WPARAM keys;      // held with the left button
    bool closeView;   // the view closes before the release
    int countDuring;  // the pointer's show count while dragged
  };
  for (const Case& c : {Case{"fine drag", MK_SHIFT, false, -1}, Case{"plain drag", 0, false, 0},
                        Case{"view closed during a fine drag", MK_CONTROL, true, -1}})
  {
    SCOPED_TRACE(c.what);
    Editor editor(Host());
    editor.window->AddControl(new FineDragControl(editor.window, IRectangle(50, 50, 150, 150)));
    POINT start{100, 100};
    ClientToScreen(editor.view, &start);
    SetCursorPos(start.x, start.y);
    const int before = CursorCount();
    SendMessageA(editor.view, WM_LBUTTONDOWN, MK_LBUTTON | c.keys, MAKELPARAM(100, 100));
    SetCursorPos(start.x + 40, start.y - 30);
    SendMessageA(editor.view, WM_MOUSEMOVE, MK_LBUTTON | c.keys, MAKELPARAM(140, 70));
    EXPECT_EQ(CursorCount() - before, c.countDuring);
    if (c.closeView)
      editor.window->CloseView();
    else
      SendMessageA(editor.view, WM_LBUTTONUP, c.keys, MAKELPARAM(140, 70));
    EXPECT_EQ(CursorCount(), before);
    POINT now{};
    GetCursorPos(&now);
    const POINT expected = c.countDuring < 0 ? start : POINT{start.x + 40, start.y - 30};
    EXPECT_EQ(now.x * 10000 + now.y, expected.x * 10000 + expected.y);
  }
}

TEST(WindowServices, ImagesComeFromTheModuleTheEditorIsGiven)
{
  IGraphicsWin editor(nullptr, kWidth, kHeight);
  // By default this program, which holds the editor's images.
  const HINSTANCE own = editor.ModuleHandle();
  ASSERT_EQ(own, GetModuleHandleA(nullptr));
  struct Case
  {
    const char* what;
    HINSTANCE module;
    bool found;
  };
  for (const Case& c :
       {Case{"this program", own, true}, Case{"a module without them", GetModuleHandleA("user32.dll"), false},
        Case{"this program again", own, true}})
  {
    SCOPED_TRACE(c.what);
    editor.SetModuleHandle(c.module);
    const std::unique_ptr<LICE_IBitmap> button(editor.LoadImageResource(105, "resources/img/button.png"));
    ASSERT_EQ(button != nullptr, c.found);
    if (button)
    {
      EXPECT_EQ(button->PixelWidth() * 1000 + button->PixelHeight(), 24048);
    }
  }
}

// A host that hands keys back to its focused child, the editor, gets each once.
struct EchoingRoot
{
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
  {
    if (message == WM_KEYDOWN || message == WM_KEYUP)
    {
      received.push_back((message == WM_KEYDOWN ? "down " : "up ") + std::to_string(wParam));
      SendMessageA(view, message, wParam, lParam);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
  }
  static inline WNDPROC previous = nullptr;
  static inline HWND view = nullptr;
  static inline std::vector<std::string> received;
};

TEST(WindowServices, KeysTheEditorDoesNotUseReachTheHostOnceEvenWhenItSendsThemBack)
{
  HWND root = Host();
  Editor editor(root);
  EchoingRoot::view = editor.view;
  EchoingRoot::previous =
    reinterpret_cast<WNDPROC>(SetWindowLongPtrA(root, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EchoingRoot::Proc)));
  for (const auto& [message, key] : {std::pair{WM_KEYDOWN, VK_F12}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}})
    SendMessageA(editor.view, message, key, 0);
  SetWindowLongPtrA(root, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EchoingRoot::previous));
  // F12 has no key code; no control takes A.
  EXPECT_EQ(EchoingRoot::received, (std::vector<std::string>{"down 123", "down 65", "up 65"}));
}

TEST(WindowServices, TextEntryStatesThatOnceStoppedTheEditor)
{
  Editor editor(Host());
  RecordingWindow& window = *editor.window;
  IControl* control = window.ControlAt(0);
  const IRectangle field(10, 10, 60, 30);

  // Cancelled with no field open: the next field is not cancelled by its first tick.
  window.CancelTextEntry();
  window.BeginTextEntry(control, control->TextStyle(), field, "12", nullptr);
  ASSERT_NE(window.EntryField(), nullptr);
  editor.Tick();
  EXPECT_NE(window.EntryField(), nullptr);

  // Being edited (the field has the focus back): an area the host uncovers is still painted.
  SendMessageA(window.EntryField(), WM_SETFOCUS, 0, 0);
  ASSERT_EQ(window.TextEntryState(), IGraphicsWin::kEntryEditing);
  window.presented.clear();
  const RECT uncovered{100, 100, 150, 150};
  InvalidateRect(editor.view, &uncovered, FALSE);
  UpdateWindow(editor.view);
  EXPECT_EQ(window.presented, std::vector<IRectangle>{IRectangle(100, 100, 150, 150)});
  RECT left{};
  EXPECT_FALSE(GetUpdateRect(editor.view, &left, FALSE));
  EXPECT_EQ(window.TextEntryState(), IGraphicsWin::kEntryEditing);
  window.CancelTextEntry();
  editor.Tick();
  EXPECT_EQ(window.EntryField(), nullptr);
}

}  // namespace

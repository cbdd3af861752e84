// The editor window's services in a real host window, reached as a plug-in's code reaches
// them. Menus and dialogs are modal: a helper thread finds each one once it is shown and
// answers it as a person would, while the editor's thread waits inside it.
#include "framework/core/IMenu.h"
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/window/HostWindow.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <dlgs.h>
#include <shellapi.h>
#include <wininet.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

// A window's title, or its class's name.
std::string NameOf(HWND window, bool ofClass = false)
{
  char text[256] = "";
  ofClass ? GetClassNameA(window, text, sizeof text) : GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK AddIfShownAndOurs(HWND window, LPARAM set)
{
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window))
    reinterpret_cast<std::set<HWND>*>(set)->insert(window);
  return TRUE;
}

std::set<HWND> ShownWindows()
{
  std::set<HWND> windows;
  EnumWindows(AddIfShownAndOurs, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// What a person does to a menu or dialog; returns what it saw of it.
using Answer = std::function<std::string(HWND window)>;

// Runs call while a thread of its own waits for this process's first shown menu or dialog
// (with the title, when given) and answers it once. Gives the call's result, " / " and
// what the answer saw ("(none)": no window came). When call has not returned after 60 s (the
// window never came, or the answer did not end it), every window shown meanwhile gets Escape
// and a close request, so that a modal loop cannot hold the test run, and " (gave up)" follows.
// (Should call throw, the helper's future waits those 60 s.)
std::string RunAnswered(const std::function<std::string()>& call, const char* title, const Answer& answer)
{
  const std::set<HWND> before = ShownWindows();
  std::atomic<bool> over{false};
  std::string seen = "(none)";
  std::future<void> helper = std::async(std::launch::async, [&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (bool found = false; !over && std::chrono::steady_clock::now() < deadline;)
    {
      for (HWND window : ShownWindows())
      {
        const std::string kind = NameOf(window, true);
        if (!found && (kind == "#32768" || kind == "#32770") && (!title || NameOf(window) == title))
          seen = answer(window), found = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (over)
      return;
    seen += " (gave up)";
    for (HWND window : ShownWindows())
      for (UINT message : {WM_KEYDOWN, WM_KEYDOWN, WM_KEYDOWN, WM_CLOSE})  // Escape for each menu level, then close
        if (!before.count(window))
          PostMessageA(window, message, message == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
  });
  const std::string result = call();
  over = true;
  helper.wait();
  return result + " / " + seen;
}

// Keys typed into a menu. They are posted, and the menu acts on Return through the character
// it posts behind them: Return may only come last.
Answer Keys(std::vector<WPARAM> keys)
{
  return [keys](HWND menu) {
    for (WPARAM key : keys)
      PostMessageA(menu, WM_KEYDOWN, key, 0);
    return std::string("menu");
  };
}

// A dialog's button clicked; sees the text of its item given, else its title.
Answer Press(int button, int item = 0)
{
  return [=](HWND dialog) {
    const std::string seen = NameOf(item ? GetDlgItem(dialog, item) : dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dialog, button)));
    return seen;
  };
}

// Points this program's own calls of a system function (the editor framework's, linked in) at
// a stand-in while it lives, through the slot of the program's import table that holds it.
class ImportPatch
{
public:
  ImportPatch(const char* library, const char* function, void* replacement)
  {
    const HMODULE system = GetModuleHandleA(library);
    void* original = system ? reinterpret_cast<void*>(GetProcAddress(system, function)) : nullptr;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* from = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
      base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; original && !mSlot && from->Name; ++from)
      if (!lstrcmpiA(reinterpret_cast<char*>(base + from->Name), library))
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + from->FirstThunk); slot->u1.Function; ++slot)
          if (reinterpret_cast<void*>(slot->u1.Function) == original)
            mSlot = reinterpret_cast<void**>(&slot->u1.Function);
    DWORD protection = 0;  // the slot is left writable
    if (mSlot && VirtualProtect(mSlot, sizeof *mSlot, PAGE_READWRITE, &protection))
      mOriginal = std::exchange(*mSlot, replacement);
  }
  ~ImportPatch()
  {
    if (mOriginal)
      *mSlot = mOriginal;
  }
  bool Applied() const { return mOriginal != nullptr; }

private:
  void** mSlot = nullptr;
  void* mOriginal = nullptr;
};

// Wine always reports a connection, and a shell that opens a web address starts a browser.
BOOL gConnected = TRUE;
INT_PTR gShellAnswer = 42;  // above 32: opened
std::string gOpened;

BOOL WINAPI ConnectedState(LPDWORD flags, DWORD)
{
  *flags = gConnected ? INTERNET_CONNECTION_LAN : 0;
  return gConnected;
}

HINSTANCE WINAPI OpenWithShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
  gOpened += std::string(" [") + verb + " " + file + "]";
  return reinterpret_cast<HINSTANCE>(gShellAnswer);
}

// Covers the editor. Hides the pointer while it is dragged finely (shift or control), as a
// control that moves in small steps may.
class FineDragControl : public IControl
{
public:
  explicit FineDragControl(IGraphics* graphics)
    : IControl(nullptr, IRectangle(0, 0, kWidth, kHeight)), mGraphics(graphics)
  {}
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

// A child window of the given one, as big as the editor.
HWND Container(HWND in)
{
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, in, nullptr, nullptr, nullptr);
}

// A plug-in with an editor window opened in parent.
struct Editor
{
  explicit Editor(HWND parent, int bindingKind = IPlugBase::kBindingVST2)
    : plug(std::make_unique<GuiTestPlug>(bindingKind)), window(new RecordingWindow(plug.get(), kWidth, kHeight))
  {
    window->AddControl(new FineDragControl(window));
    plug->AttachEditor(window);
    view = static_cast<HWND>(window->OpenInParent(parent));
  }

  std::unique_ptr<GuiTestPlug> plug;
  RecordingWindow* window;  // the plug-in's
  HWND view;
};

bool ClassRegistered()
{
  WNDCLASSA wc;
  return GetClassInfoA(GetModuleHandleA(nullptr), IGraphicsWin::kWindowClassName, &wc) != 0;
}

TEST(WindowServices, WindowClassLivesFromTheFirstOpenViewToTheLastClosed)
{
  // The first opened editor goes first by its view closing, or the last opened goes first by
  // the host destroying its window; the other's view closes last.
  for (const int first : {0, 1})
  {
    ASSERT_FALSE(ClassRegistered());
    HWND windows[] = {Container(Host()), Container(Host())};
    Editor a(windows[0]);
    EXPECT_TRUE(ClassRegistered());
    Editor b(windows[1]);
    Editor* editors[] = {&a, &b};
    first ? (void)DestroyWindow(windows[1]) : a.window->CloseView();
    EXPECT_FALSE(editors[first]->window->HasWindow());
    EXPECT_TRUE(ClassRegistered());
    editors[1 - first]->window->CloseView();
    EXPECT_FALSE(ClassRegistered()) << first;
    DestroyWindow(windows[0]);
    DestroyWindow(windows[1]);
  }
  // A window that cannot be made (its parent is gone) leaves no class behind.
  HWND gone = Container(Host());
  DestroyWindow(gone);
  Editor orphan(gone);
  EXPECT_EQ(orphan.view, nullptr);
  EXPECT_FALSE(ClassRegistered());
}

TEST(WindowServices, ChangeSizeGrowsTheViewAndTheHostsWindowsAsTheBindingWants)
{
  // The view in two child windows of the host's top-level window, or in it; how much the view,
  // then each window from its parent out to the top-level one, grew.
  for (const auto& [kind, nested, expected] : {std::tuple{IPlugBase::kBindingVST2, true, " 30,20 30,20 30,20 0,0"},
                                               {IPlugBase::kBindingVST3, true, " 30,20 0,0 0,0 0,0"},
                                               {IPlugBase::kBindingAAX, true, " 30,20 30,20 30,20 0,0"},
                                               {IPlugBase::kBindingVST2, false, " 30,20 30,20"}})
  {
    std::vector<std::pair<HWND, RECT>> around;
    for (HWND window = nested ? Container(Container(Host())) : Host(); window; window = GetParent(window))
      around.push_back({window, {}});
    Editor editor(around[0].first, kind);
    around.insert(around.begin(), {editor.view, {}});
    for (auto& [window, was] : around)
      GetWindowRect(window, &was);
    editor.window->ChangeSize(kWidth + 30, kHeight + 20);
    std::string grown;
    for (const auto& [window, was] : around)
    {
      RECT now{};
      GetWindowRect(window, &now);
      grown += " " + std::to_string(now.right - was.right) + "," + std::to_string(now.bottom - was.bottom);
    }
    EXPECT_EQ(grown, expected) << "binding kind " << kind;
    if (nested)
      DestroyWindow(around[2].first);
    const RECT top = around.back().second;
    SetWindowPos(Host(), nullptr, 0, 0, top.right - top.left, top.bottom - top.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

TEST(WindowServices, ClipboardTextIsReadBackAsUtf8)
{
  Editor editor(Host());
  // Put on the clipboard as UTF-16 text; null: nothing.
  for (const wchar_t* data : {L"\u00b13 dB \u2192", static_cast<const wchar_t*>(nullptr)})
  {
    ASSERT_TRUE(OpenClipboard(editor.view));
    EmptyClipboard();
    if (data)
    {
      const size_t bytes = (wcslen(data) + 1) * sizeof(wchar_t);
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
      memcpy(GlobalLock(block), data, bytes);
      GlobalUnlock(block);
      SetClipboardData(CF_UNICODETEXT, block);
    }
    CloseClipboard();
    StringBuffer out;
    out.Assign("left over");
    EXPECT_EQ(editor.window->ReadClipboardText(out), data != nullptr);
    EXPECT_EQ(std::string(out.Get()), data ? "\u00b13 dB \u2192" : "");
  }
}

TEST(WindowServices, ModalMenusAndDialogsGiveWhatThePersonAnswered)
{
  ImportPatch connection("wininet.dll", "InternetGetConnectedState", reinterpret_cast<void*>(ConnectedState));
  ImportPatch shell("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(OpenWithShell));
  ASSERT_TRUE(connection.Applied() && shell.Applied());
  Editor editor(Host());
  IGraphicsWin& window = *editor.window;

  IMenu menu, sub;  // "One", then "Sub" opening sub; sub is not owned by its item
  menu.AppendItem(new IMenuItem("One"));
  menu.AppendItem(new IMenuItem("Sub"))->SetSubmenu(&sub);
  sub.AppendItem(new IMenuItem("Sub A"));
  sub.AppendItem(new IMenuItem("Sub B"));
  const auto runMenu = [&] {
    IMenu* chosen = window.RunPopupMenu(&menu, IRectangle(20, 30, 80, 50));
    return std::string(chosen == &sub ? "sub "
                       : chosen       ? "menu "
                                      : "none ") +
           std::to_string(chosen ? chosen->ChosenIndex() : -1);
  };
  const auto runFile = [&](int action, const std::string& name, const char* extensions) {
    return [&, action, name, extensions] {
      StringBuffer file, folder;
      file.Assign(name.c_str());
      folder.Assign("C:\\windows");
      window.AskForFile(file, action, folder, extensions);
      return "'" + std::string(file.Get()) + "' in " + folder.Get();
    };
  };
  IColour colour(40, 10, 20, 30);
  const auto runColour = [&] {
    const bool chosen = window.AskForColour(colour, "Pick a colour");
    return std::to_string(chosen) + " " + std::to_string(colour.A) + "," + std::to_string(colour.R) + "," +
           std::to_string(colour.G) + "," + std::to_string(colour.B);
  };
  const auto runLink = [&](BOOL connected, const char* confirm, INT_PTR shellAnswer = 42) {
    return [&, connected, confirm, shellAnswer] {
      gConnected = connected;
      gShellAnswer = shellAnswer;
      gOpened.clear();
      return std::to_string(window.LaunchUrl("https://example.invalid/", "Link", confirm, "Failed")) + gOpened;
    };
  };

  struct Case
  {
    const char* title;  // of the menu or dialog answered; null: any
    Answer answer;
    std::function<std::string()> run;
    std::string answered;  // the call's result / what the answer saw of the window
  };
  const Case cases[] = {
    {nullptr, Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}), runMenu, "sub 1 / menu"},
    {nullptr, Keys({VK_ESCAPE}), runMenu, "none -1 / menu"},
    {"Caption", Press(IDCANCEL), [&] { return std::to_string(window.ShowMessage("?", "Caption", MB_OKCANCEL)); },
     std::to_string(IDCANCEL) + " / Caption"},
    // The file dialogs show their file types.
    {nullptr, Press(IDCANCEL, cmb1), runFile(0, "", "wav aif"), "'' in C:\\windows / *.wav;*.aif"},
    {nullptr, Press(IDCANCEL, cmb1), runFile(1, "take.wav", " wav  aif "), "'' in C:\\windows / *.wav;*.aif"},
    // A name too long for the dialog is refused without one.
    {nullptr, Press(IDCANCEL), runFile(0, std::string(300, 'x'), "wav"), "'' in C:\\windows / (none)"},
    {"Pick a colour", Press(IDCANCEL), runColour, "0 40,10,20,30 / Pick a colour"},
    {"Link", Press(IDOK), runLink(FALSE, nullptr), "0 / Link"},
    {"Link", Press(IDYES), runLink(TRUE, "Open?"), "1 [open https://example.invalid/] / Link"},
    // The shell's small answers are errors.
    {"Link", Press(IDOK), runLink(TRUE, nullptr, SE_ERR_NOASSOC), "0 [open https://example.invalid/] / Link"},
  };
  // The process's current folder is the host's: no file dialog may move it.
  char before[MAX_PATH] = "", after[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof before, before);
  for (const Case& c : cases)
    EXPECT_EQ(RunAnswered(c.run, c.title, c.answer), c.answered);
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(after, before);
}

TEST(WindowServices, PointerHiddenDuringAFineDragAndShownWhereItWas)
{
  // The pointer's show count (0 shown, below 0 hidden), left as it was.
  const auto count = [] { return ShowCursor(TRUE), ShowCursor(FALSE); };
  // Released, or the view closed before the release.
  for (const bool closeView : {false, true})
  {
    Editor editor(Host());
    POINT start{100, 100}, now{};
    ClientToScreen(editor.view, &start);
    SetCursorPos(start.x, start.y);
    const int shown = count();
    SendMessageA(editor.view, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(100, 100));
    SetCursorPos(start.x + 40, start.y - 30);
    SendMessageA(editor.view, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(140, 70));
    EXPECT_EQ(count(), shown - 1);
    closeView ? editor.window->CloseView() : (void)SendMessageA(editor.view, WM_LBUTTONUP, 0, MAKELPARAM(140, 70));
    EXPECT_EQ(count(), shown) << closeView;
    GetCursorPos(&now);
    EXPECT_EQ(std::pair(now.x, now.y), std::pair(start.x, start.y)) << closeView;
  }
}

TEST(WindowServices, ImagesComeFromTheModuleTheEditorIsGiven)
{
  // By default this program, which holds the editor's images.
  IGraphicsWin editor(nullptr, kWidth, kHeight);
  ASSERT_EQ(editor.ModuleHandle(), GetModuleHandleA(nullptr));
  for (HMODULE module : {GetModuleHandleA("user32.dll"), GetModuleHandleA(nullptr)})
  {
    editor.SetModuleHandle(module);
    const std::unique_ptr<LICE_IBitmap> button(editor.LoadImageResource(105, "resources/img/button.png"));
    EXPECT_EQ(button ? button->PixelWidth() * 1000 + button->PixelHeight() : 0,
              module == GetModuleHandleA(nullptr) ? 24048 : 0);
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
  Editor editor(Host());
  EchoingRoot::view = editor.view;
  EchoingRoot::previous =
    reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Host(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EchoingRoot::Proc)));
  for (const auto& [message, key] : {std::pair{WM_KEYDOWN, VK_F12}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}})
    SendMessageA(editor.view, message, key, 0);
  SetWindowLongPtrA(Host(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EchoingRoot::previous));
  // F12 has no key code; no control takes A.
  EXPECT_EQ(EchoingRoot::received, (std::vector<std::string>{"down 123", "down 65", "up 65"}));
}

TEST(WindowServices, TextEntryStatesThatOnceStoppedTheEditor)
{
  Editor editor(Host());
  RecordingWindow& window = *editor.window;
  IControl* control = window.ControlAt(0);

  // Cancelled with no field open: the next field is not cancelled by its first tick.
  window.CancelTextEntry();
  window.BeginTextEntry(control, control->TextStyle(), IRectangle(10, 10, 60, 30), "12", nullptr);
  ASSERT_NE(window.EntryField(), nullptr);
  hostwindow::sendTimerTick(editor.view, IGraphicsWin::kRedrawTimerId);
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
}

}  // namespace

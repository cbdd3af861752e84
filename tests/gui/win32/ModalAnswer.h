// Answers to the modal windows a test's own thread waits in (menus, message boxes, dialogs),
// given from another thread as a person would give them.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

// From a thread of its own, waits for a shown window of the class (and title, when given)
// in this process and acts on it once. When the modal call has not returned after kPatience
// (the window never came, or the answer did not end it), every window the process opened
// meanwhile is closed, so that a modal loop cannot hold the test run.
class ModalAnswer
{
public:
  // Acts on the window; may note what it saw of it.
  using Action = std::function<void(HWND window, std::string* seen)>;

  ModalAnswer(const char* className, const char* title, Action act);
  ~ModalAnswer() { Finish(); }
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

  // Stops waiting (the modal call is over). Then Seen and GaveUp can be read.
  void Finish();
  // What the action noted; "(none)" when no window came.
  std::string Seen() const { return mFound ? mSeen : "(none)"; }
  bool GaveUp() const { return mGaveUp; }

private:
  static constexpr std::chrono::seconds kPatience{60};

  void Run();
  HWND ShownWindow() const;
  void CloseNewWindows();

  std::string mClass;
  std::string mTitle;
  Action mAct;
  std::set<HWND> mBefore;
  std::string mSeen;
  std::atomic<bool> mFound{false};
  std::atomic<bool> mGaveUp{false};
  std::atomic<bool> mStop{false};
  std::thread mThread;
};

std::string WindowText(HWND window);

// Keys typed into a menu. They are posted, and the menu acts on Return through the character
// it posts behind them: Return may only come last.
ModalAnswer::Action TypeKeys(std::vector<WPARAM> keys);

// A dialog's button clicked; notes the dialog's title.
ModalAnswer::Action ClickButton(int button);
void Click(HWND dialog, int button);

// A native menu's items: label, then "=id" or "[submenu]", then its marks ("greyed",
// "checked").
std::string DescribeMenu(HMENU menu);

#pragma once

#include <windows.h>

#include "app/main_window.h"

namespace app {

// The installer's hidden utility window: a message-only window with the
// single-instance class, title and marker. It exists from just before the
// UI loop runs until just after it ends, and its lifetime bounds the main
// window's: it makes the main window while it is being created (a failure
// aborts its own creation) and drops its reference when it is destroyed.
//
// It also serves two requests that arrive as posted messages:
//   kMsgBringToFront        - a second instance started: restore and repaint.
//   kMsgDestroyWindowLater  - destroy the window in lParam, after the
//                             message that asked for it has been handled.
//
// Threading: UI thread only.
class CUtilityWindow {
 public:
  CUtilityWindow(MainWindowFactory factory, const wchar_t* description);
  ~CUtilityWindow();

  CUtilityWindow(const CUtilityWindow&) = delete;
  CUtilityWindow& operator=(const CUtilityWindow&) = delete;

  // Creates the window and, from its WM_CREATE, the main window. Returns
  // false when either could not be made; nothing is left behind then.
  bool Create(HINSTANCE instance);

  // Destroys the window and drops the reference on the main window.
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  MainWindow* main_window() const { return main_window_; }

  // The utility window of the process, for code that needs to post to it;
  // null while none exists. Any thread.
  static HWND ProcessWindow();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnCreate();
  void OnBringToFront();
  void ReleaseMainWindow();

  MainWindowFactory factory_;
  const wchar_t* description_;
  HWND hwnd_ = nullptr;
  MainWindow* main_window_ = nullptr;  // Counted reference.
};

}  // namespace app

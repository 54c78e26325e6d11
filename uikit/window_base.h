// CWindowBase: the small window framework beneath the skinned window hosts.
//
// It stands where a CWindowImpl-like class would: one registered window
// class per derived kind, a C++ object behind every window, and messages
// routed to a virtual HandleMessage. There is no thunk: the object pointer
// travels in CREATESTRUCT at WM_NCCREATE and is kept in GWLP_USERDATA, so
// the static window procedure finds it again for every later message.
// Messages that arrive before WM_NCCREATE (WM_GETMINMAXINFO on some
// systems) go to DefWindowProc.
//
// Threads: UI thread only (the thread that creates the window).
#pragma once

#include <windows.h>

namespace uikit {

class CWindowBase {
 public:
  CWindowBase() = default;
  CWindowBase(const CWindowBase&) = delete;
  CWindowBase& operator=(const CWindowBase&) = delete;
  // Destroys the window if it still exists.
  virtual ~CWindowBase();

  // Creates the window of this object's class (registered on first use).
  // `owner` may be null. Returns the handle, or null on failure (the
  // object then has no window).
  HWND Create(HWND owner, const RECT& rect, const wchar_t* title, DWORD style,
              DWORD ex_style);
  bool DestroyWindow();

  HWND hwnd() const { return hwnd_; }
  bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

  // Centres the window over `over` when that window is visible and not
  // minimised, otherwise in the work area of the window's monitor.
  void CenterWindow(HWND over);

 protected:
  // Returns true when the message is handled; `*result` is then its answer.
  // Unhandled messages go to DefWindowProc.
  virtual bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam,
                             LRESULT* result) = 0;
  // Called after WM_NCDESTROY, when the handle is no longer valid.
  virtual void OnFinalMessage() {}
  // Name of the window class of this kind of window.
  virtual const wchar_t* WindowClassName() const { return L"QivUiWindow"; }
  // Class style bits for the registration (CS_DBLCLKS by default).
  virtual UINT WindowClassStyle() const { return CS_DBLCLKS; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  bool RegisterWindowClass() const;

  HWND hwnd_ = nullptr;
};

}  // namespace uikit

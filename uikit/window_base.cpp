#include "uikit/window_base.h"

namespace uikit {

namespace {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

CWindowBase::~CWindowBase() {
  if (IsWindow()) {
    // The object goes away first: detach it so that the messages of the
    // destruction no longer reach a half-destroyed object.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
  hwnd_ = nullptr;
}

bool CWindowBase::RegisterWindowClass() const {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(ModuleInstance(), WindowClassName(), &wc)) return true;
  wc.style = WindowClassStyle();
  wc.lpfnWndProc = &CWindowBase::WindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(128));
  wc.lpszClassName = WindowClassName();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowBase::Create(HWND owner, const RECT& rect, const wchar_t* title,
                         DWORD style, DWORD ex_style) {
  if (hwnd_ != nullptr || !RegisterWindowClass()) return nullptr;
  // hwnd_ is set inside WM_NCCREATE, before WM_CREATE reaches HandleMessage.
  HWND hwnd = CreateWindowExW(ex_style, WindowClassName(), title ? title : L"", style,
                              rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, owner, nullptr, ModuleInstance(),
                              this);
  if (hwnd == nullptr) hwnd_ = nullptr;
  return hwnd;
}

bool CWindowBase::DestroyWindow() {
  if (!IsWindow()) return false;
  return ::DestroyWindow(hwnd_) != FALSE;
}

void CWindowBase::CenterWindow(HWND over) {
  if (!IsWindow()) return;
  RECT window;
  GetWindowRect(hwnd_, &window);
  RECT area;
  if (over != nullptr && ::IsWindowVisible(over) && !::IsIconic(over)) {
    GetWindowRect(over, &area);
  } else {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  }
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = area.left + ((area.right - area.left) - width) / 2;
  const int y = area.top + ((area.bottom - area.top) - height) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  CWindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    self = static_cast<CWindowBase*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);

  LRESULT result = 0;
  const bool handled = self->HandleMessage(message, wparam, lparam, &result);
  if (!handled) result = DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnFinalMessage();
  }
  return result;
}

}  // namespace uikit

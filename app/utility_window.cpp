#include "app/utility_window.h"

#include "app/global.h"
#include "app/single_instance.h"
#include "server/server_urls.h"

namespace app {

namespace {

// The window's own object pointer lives in its extra bytes: the user-data
// word is taken by the single-instance marker.
constexpr int kObjectSlot = 0;

HWND g_utility_window = nullptr;

bool DisplayIs32Bit() {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  return EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmBitsPerPel == 32;
}

ATOM RegisterUtilityClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = sizeof(void*);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kUtilityWindowClass;
  return RegisterClassExW(&wc);
}

}  // namespace

CUtilityWindow::CUtilityWindow(MainWindowFactory factory, const wchar_t* description)
    : factory_(factory), description_(description) {}

CUtilityWindow::~CUtilityWindow() { Destroy(); }

HWND CUtilityWindow::ProcessWindow() { return g_utility_window; }

bool CUtilityWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExW(instance, kUtilityWindowClass, &existing) &&
      !RegisterUtilityClass(instance, &CUtilityWindow::WindowProc)) {
    return false;
  }
  HWND hwnd = CreateWindowExW(0, kUtilityWindowClass, kUtilityWindowTitle, WS_POPUP, 0, 0, 1, 1,
                              HWND_MESSAGE, nullptr, instance, this);
  if (!hwnd) {
    ReleaseMainWindow();
    return false;
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, kUtilityWindowMarker);
  return true;
}

void CUtilityWindow::Destroy() {
  if (hwnd_) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  if (g_utility_window && !IsWindow(g_utility_window))
    g_utility_window = nullptr;
  ReleaseMainWindow();
}

void CUtilityWindow::ReleaseMainWindow() {
  if (main_window_) {
    main_window_->Release();
    main_window_ = nullptr;
  }
}

LRESULT CALLBACK CUtilityWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<CUtilityWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CUtilityWindow*>(GetWindowLongPtrW(hwnd, kObjectSlot));
  if (self) {
    switch (message) {
      case WM_CREATE:
        return self->OnCreate();
      case kMsgDestroyWindowLater: {
        HWND target = reinterpret_cast<HWND>(lparam);
        if (IsWindow(target))
          DestroyWindow(target);
        return 0;
      }
      case kMsgBringToFront:
        self->OnBringToFront();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, kObjectSlot, 0);
        if (g_utility_window == hwnd)
          g_utility_window = nullptr;
        self->hwnd_ = nullptr;
        break;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CUtilityWindow::OnCreate() {
  g_utility_window = hwnd_;
  CGlobal::server_urls().query_url = CGlobal::GetInforUrl();
  MainWindow* window = factory_ ? factory_() : nullptr;
  if (!window)
    return -1;
  window->AddRef();
  main_window_ = window;
  if (!window->CreateFromDescription(description_))
    return -1;
  window->SetDisplayIs32Bit(DisplayIs32Bit());
  window->ShowAnimated();
  return window->hwnd() ? 0 : -1;
}

void CUtilityWindow::OnBringToFront() {
  if (!main_window_ || !main_window_->hwnd())
    return;
  if (IsIconic(main_window_->hwnd()))
    ShowWindow(main_window_->hwnd(), SW_RESTORE);
  main_window_->Invalidate(true);
}

}  // namespace app

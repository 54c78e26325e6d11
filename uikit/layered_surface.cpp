#include "uikit/layered_surface.h"

#include "uikit/scoped_gdi.h"

namespace uikit {

UpdateLayeredWindowFn LayeredWindowApi() {
  static UpdateLayeredWindowFn api = []() -> UpdateLayeredWindowFn {
    // Loaded once for the process and never freed: windows come and go,
    // the entry point stays valid for as long as user32 is mapped.
    HMODULE user32 = LoadLibraryW(L"User32.DLL");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "UpdateLayeredWindow")));
  }();
  return api;
}

bool CLayeredSurface::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // Top-down.
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return false;
  // DIB sections start zeroed: fully transparent.
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  if (bitmap_ == nullptr) {
    Reset();
    return false;
  }
  old_bitmap_ = SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
  return true;
}

void CLayeredSurface::Reset() {
  if (dc_ != nullptr && old_bitmap_ != nullptr) SelectObject(dc_, old_bitmap_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

DWORD CLayeredSurface::PixelAt(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return static_cast<const DWORD*>(bits_)[y * width_ + x];
}

bool CLayeredSurface::Push(HWND window, int x, int y, BYTE opacity) const {
  UpdateLayeredWindowFn update = LayeredWindowApi();
  if (update == nullptr || dc_ == nullptr || window == nullptr) return false;
  const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((ex_style & WS_EX_LAYERED) == 0) {
    SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style | WS_EX_LAYERED);
  }
  GdiFlush();
  ScopedWindowDC screen(nullptr);
  POINT position{x, y};
  SIZE size{width_, height_};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  return update(window, screen.get(), &position, &size, dc_, &origin, 0, &blend, ULW_ALPHA) !=
         FALSE;
}

}  // namespace uikit

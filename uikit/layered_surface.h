// CLayeredSurface: an off-screen 32-bit surface with per-pixel alpha, pushed
// to a layered window with UpdateLayeredWindow.
//
// The surface is a top-down DIB section that starts fully transparent, so
// pixels nobody draws stay transparent on screen. UpdateLayeredWindow is
// looked up at run time in "User32.DLL" (LayeredWindowApi) because the
// product also runs where it may be missing; without it nothing is pushed.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

namespace uikit {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);

// The UpdateLayeredWindow entry point of "User32.DLL", loaded on first use
// and kept for the process; null when unavailable.
UpdateLayeredWindowFn LayeredWindowApi();

class CLayeredSurface {
 public:
  CLayeredSurface() = default;
  CLayeredSurface(const CLayeredSurface&) = delete;
  CLayeredSurface& operator=(const CLayeredSurface&) = delete;
  ~CLayeredSurface() { Reset(); }

  // (Re)creates a transparent surface of width × height; false on failure
  // (the surface is then empty).
  bool Create(int width, int height);
  void Reset();

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool valid() const { return dc_ != nullptr; }
  // The pixel at (x, y) as 0xAARRGGBB (premultiplied); 0 outside.
  DWORD PixelAt(int x, int y) const;

  // Pushes the surface to `window` at screen position (x, y) with a
  // constant opacity 0..255 on top of the per-pixel alpha. Adds
  // WS_EX_LAYERED when it is missing. False when nothing was pushed.
  bool Push(HWND window, int x, int y, BYTE opacity) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace uikit

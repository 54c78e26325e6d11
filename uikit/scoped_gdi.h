// Tiny scoped owners for GDI objects, so that every way out of a drawing
// function releases what it made and restores what it selected.
//
// Threads: whatever thread owns the device context.
#pragma once

#include <windows.h>

namespace uikit {

// Deletes a GDI object (pen, brush, font, bitmap, region) on destruction.
template <typename T>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(T object = nullptr) : object_(object) {}
  ~ScopedGdiObject() {
    if (object_) DeleteObject(object_);
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  T get() const { return object_; }
  T release() {
    T object = object_;
    object_ = nullptr;
    return object;
  }
  void reset(T object) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_;
};

// Selects an object into a dc and selects the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory dc compatible with `reference` (null: the screen), deleted on
// destruction.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC / ReleaseDC of a window (null: the screen).
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace uikit

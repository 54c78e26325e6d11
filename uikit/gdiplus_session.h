// GdiplusSession: the process-wide GDI+ user count.
//
// GDI+ is started by its first user and stopped by its last one, so the
// program shell and tools (and tests) can each bracket their use without
// knowing about the others. The count and the start-up token are guarded by
// their own critical section. GDI+ starts with version 1 and its background
// thread (no suppression).
//
// Release the toolkit's drawing resources (CGDIResource::Release) before the
// last user leaves: cached bitmaps are plain GDI objects, but GDI+ objects
// must not outlive GdiplusShutdown.
//
// Threads: any thread.
#pragma once

namespace uikit {

class GdiplusSession {
 public:
  // Adds a user; the first one starts GDI+. False (and no user added) when
  // GdiplusStartup fails.
  static bool AddUser();
  // Removes a user; the last one stops GDI+. Extra calls do nothing.
  static void RemoveUser();
  static int user_count();
};

// Holds one user for its lifetime.
class ScopedGdiplus {
 public:
  ScopedGdiplus() : ok_(GdiplusSession::AddUser()) {}
  ~ScopedGdiplus() {
    if (ok_) GdiplusSession::RemoveUser();
  }
  ScopedGdiplus(const ScopedGdiplus&) = delete;
  ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace uikit

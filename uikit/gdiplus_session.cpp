#include "uikit/gdiplus_session.h"

#include "uikit/gdiplus_include.h"

namespace uikit {

namespace {

// The count, the token and their lock. Built on first use (thread-safe
// static initialisation) and never destroyed, so a user that leaves during
// process exit still finds the lock.
struct SessionState {
  SessionState() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  int users = 0;
  ULONG_PTR token = 0;
};

SessionState& State() {
  static SessionState* state = new SessionState();
  return *state;
}

class ScopedLock {
 public:
  explicit ScopedLock(CRITICAL_SECTION* lock) : lock_(lock) {
    EnterCriticalSection(lock_);
  }
  ~ScopedLock() { LeaveCriticalSection(lock_); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

}  // namespace

bool GdiplusSession::AddUser() {
  SessionState& state = State();
  ScopedLock hold(&state.lock);
  if (state.users == 0) {
    Gdiplus::GdiplusStartupInput input;  // version 1, background thread on
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
      return false;
    state.token = token;
  }
  ++state.users;
  return true;
}

void GdiplusSession::RemoveUser() {
  SessionState& state = State();
  ScopedLock hold(&state.lock);
  if (state.users == 0) return;
  if (--state.users == 0) {
    Gdiplus::GdiplusShutdown(state.token);
    state.token = 0;
  }
}

int GdiplusSession::user_count() {
  SessionState& state = State();
  ScopedLock hold(&state.lock);
  return state.users;
}

}  // namespace uikit

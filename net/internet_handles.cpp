#include "net/internet_handles.h"

namespace net {

InternetHandles::InternetHandles() { InitializeCriticalSection(&lock_); }

InternetHandles::~InternetHandles() {
  CloseAll();
  DeleteCriticalSection(&lock_);
}

bool InternetHandles::Adopt(HINTERNET handle) {
  EnterCriticalSection(&lock_);
  const bool keep = !cancelled() && count_ < kMaxHandles;
  if (keep) handles_[count_++] = handle;
  LeaveCriticalSection(&lock_);
  if (!keep) InternetCloseHandle(handle);
  return keep;
}

void InternetHandles::CloseAll() {
  EnterCriticalSection(&lock_);
  CloseLocked();
  LeaveCriticalSection(&lock_);
}

void InternetHandles::Cancel() {
  EnterCriticalSection(&lock_);
  InterlockedExchange(&cancelled_, 1);
  CloseLocked();
  LeaveCriticalSection(&lock_);
}

int InternetHandles::held_count() const {
  EnterCriticalSection(&lock_);
  const int count = count_;
  LeaveCriticalSection(&lock_);
  return count;
}

void InternetHandles::CloseLocked() {
  // Children before their parents: request, connection, root.
  while (count_ > 0) {
    --count_;
    InternetCloseHandle(handles_[count_]);
    handles_[count_] = nullptr;
  }
}

}  // namespace net

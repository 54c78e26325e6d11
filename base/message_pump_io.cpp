// MessagePumpForIO: see message_pump_win.h.
#include "base/message_pump_win.h"

namespace base {

MessagePumpForIO::MessagePumpForIO()
    : port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0)) {}

MessagePumpForIO::~MessagePumpForIO() {
  if (port_) CloseHandle(port_);
}

HANDLE MessagePumpForIO::GetCompletionPort() const { return port_; }

bool MessagePumpForIO::RegisterIOHandler(HANDLE file, IOHandler* handler) {
  return CreateIoCompletionPort(file, port_, reinterpret_cast<ULONG_PTR>(handler),
                                0) == port_;
}

bool MessagePumpForIO::PostCompletion(IOHandler* handler, void* context,
                                      DWORD bytes) {
  return PostQueuedCompletionStatus(port_, bytes,
                                    reinterpret_cast<ULONG_PTR>(handler),
                                    static_cast<OVERLAPPED*>(context)) != FALSE;
}

void MessagePumpForIO::WakeUp() {
  // One wake-up completion in flight at most.
  if (InterlockedExchange(&have_work_, 1) != 0) return;
  if (!PostQueuedCompletionStatus(port_, 0, reinterpret_cast<ULONG_PTR>(this),
                                  reinterpret_cast<OVERLAPPED*>(this))) {
    // The task stays queued and runs at the next pass.
    InterlockedExchange(&have_work_, 0);
  }
}

void MessagePumpForIO::WakeUpAt(int64_t run_time) { next_run_time_ = run_time; }

bool MessagePumpForIO::WaitForIOCompletion(DWORD timeout_ms) {
  DWORD bytes = 0;
  ULONG_PTR key = 0;
  OVERLAPPED* overlapped = nullptr;
  DWORD error = 0;
  if (!GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, timeout_ms)) {
    if (!overlapped) return false;  // Time-out, nothing dequeued.
    // A failed operation was dequeued.
    error = GetLastError();
    bytes = 0;
  }
  if (key == reinterpret_cast<ULONG_PTR>(this) &&
      overlapped == reinterpret_cast<OVERLAPPED*>(this)) {
    InterlockedExchange(&have_work_, 0);  // Our own wake-up.
    return true;
  }
  // The key's lowest bit is free for the handler's own use.
  auto* handler = reinterpret_cast<IOHandler*>(key & ~static_cast<ULONG_PTR>(1));
  if (handler) handler->OnCompletion(overlapped, bytes, error);
  return true;
}

void MessagePumpForIO::Run(Delegate* delegate) {
  Delegate* const previous_delegate = delegate_;
  delegate_ = delegate;
  for (;;) {
    bool more = delegate->RunImmediateTask();
    if (!keep_running_) break;
    more |= WaitForIOCompletion(0);
    if (!keep_running_) break;
    more |= delegate->RunDueDelayedTask(&next_run_time_);
    if (!keep_running_) break;
    if (more) continue;

    more = delegate->RunIdleWork();
    if (!keep_running_) break;
    if (more) continue;

    const int delay_ms = CurrentDelayMs(next_run_time_);
    WaitForIOCompletion(delay_ms < 0 ? INFINITE : static_cast<DWORD>(delay_ms));
  }
  keep_running_ = true;
  delegate_ = previous_delegate;
}

}  // namespace base

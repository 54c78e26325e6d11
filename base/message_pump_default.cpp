#include "base/message_pump_default.h"

#include "base/time.h"

namespace base {

MessagePumpDefault::MessagePumpDefault()
    : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

MessagePumpDefault::~MessagePumpDefault() {
  if (event_) CloseHandle(event_);
}

void MessagePumpDefault::Run(Delegate* delegate) {
  for (;;) {
    bool did_work = delegate->RunImmediateTask();
    if (!keep_running_) break;
    did_work |= delegate->RunDueDelayedTask(&next_run_time_);
    if (!keep_running_) break;
    if (did_work) continue;

    did_work = delegate->RunIdleWork();
    if (!keep_running_) break;
    if (did_work) continue;

    if (next_run_time_ == 0) {
      WaitForSingleObject(event_, INFINITE);
      continue;
    }
    const int delay_ms = DelayMsAt(next_run_time_, NowMicroseconds());
    if (delay_ms == 0) {
      next_run_time_ = 0;  // Due now: the next pass runs it.
      continue;
    }
    WaitForSingleObject(event_, static_cast<DWORD>(delay_ms));
  }
  keep_running_ = true;
}

void MessagePumpDefault::Quit() { keep_running_ = false; }

void MessagePumpDefault::WakeUp() { SetEvent(event_); }

void MessagePumpDefault::WakeUpAt(int64_t run_time) { next_run_time_ = run_time; }

}  // namespace base

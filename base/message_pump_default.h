// MessagePumpDefault: the pump of plain worker threads ("file_thread",
// "log_thread"). It sleeps on one auto-reset event, with a time-out when a
// delayed task is pending.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/message_pump.h"

namespace base {

// Threads: WakeUp from any thread; everything else on the pump's thread.
class MessagePumpDefault : public MessagePump {
 public:
  MessagePumpDefault();
  ~MessagePumpDefault() override;

  void Run(Delegate* delegate) override;
  void Quit() override;
  void WakeUp() override;  // Any thread: SetEvent.
  void WakeUpAt(int64_t run_time) override;

 private:
  bool keep_running_ = true;
  HANDLE event_;
  int64_t next_run_time_ = 0;
};

}  // namespace base

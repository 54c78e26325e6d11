// MessagePump: the engine under a MessageLoop. It decides when the loop's
// thread sleeps, what wakes it, and in which order window messages, immediate
// tasks, delayed tasks and I/O completions are served.
#pragma once

#include <cstdint>

namespace base {

class MessagePump {
 public:
  // The work source a pump drives (the MessageLoop). Called on the pump's
  // thread only.
  class Delegate {
   public:
    // Runs at most one immediate task; true when it ran one.
    virtual bool RunImmediateTask() = 0;
    // Runs the earliest delayed task if it is due; true when it ran one.
    // `next_time` receives the run time of the next delayed task
    // (NowMicroseconds units), or 0 when none is left.
    virtual bool RunDueDelayedTask(int64_t* next_time) = 0;
    // Idle hook; true when it did something.
    virtual bool RunIdleWork() = 0;

   protected:
    virtual ~Delegate() = default;
  };

  MessagePump() = default;
  MessagePump(const MessagePump&) = delete;
  MessagePump& operator=(const MessagePump&) = delete;

  // Pump's thread. Runs until Quit(); the flag is checked after every step,
  // so Quit() from inside a task ends the run when that task returns.
  virtual void Run(Delegate* delegate) = 0;
  // Pump's thread.
  virtual void Quit() = 0;
  // Any thread. Makes the pump look for immediate work soon.
  virtual void WakeUp() = 0;
  // Pump's thread. The earliest delayed task now runs at `run_time`.
  virtual void WakeUpAt(int64_t run_time) = 0;
  virtual ~MessagePump() = default;

  // Milliseconds until `next_time` (NowMicroseconds units), rounded up; 0 when
  // it has passed; -1 (infinite) when `next_time` is 0.
  static int CurrentDelayMs(int64_t next_time);
  // The same rule given the current time; no clock read.
  static int DelayMsAt(int64_t next_time, int64_t now);
};

}  // namespace base

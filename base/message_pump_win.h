// The Windows pumps: MessagePumpForUI (window messages, the main thread) and
// MessagePumpForIO (an I/O completion port, "io_thread"), over their common
// base MessagePumpWin.
//
// Why one wake-up in flight: posting threads can flood a loop with tasks. Each
// post calls WakeUp(), but only the call that flips have-work from 0 to 1
// posts a wake-up message (or completion); the pump's thread flips it back
// when it takes that message. The window's message queue therefore never
// fills with wake-ups, and input and painting are never starved by them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/message_pump.h"

namespace base {

class MessagePumpWin : public MessagePump {
 public:
  MessagePumpWin() = default;

  // Pump's thread.
  void Quit() override;
  // The completion port of an IO pump; null for other pumps.
  virtual HANDLE GetCompletionPort() const;

 protected:
  int64_t next_run_time_ = 0;  // 0 = no delayed task.
  bool keep_running_ = true;
  volatile LONG have_work_ = 0;  // Only through InterlockedExchange.
};

// Pump of the main thread: dispatches window messages, and serves tasks
// through a hidden message-only window of its own (wake-up message
// WM_USER + 1 and a timer, both carrying the pump's address).
//
// Each pass handles one window message, one immediate task and one due
// delayed task, so a flood of tasks cannot starve input. While a task or a
// window procedure runs a foreign modal loop (MessageBox, window dragging),
// the hidden window keeps tasks flowing: its wake-up message runs one task and
// its timer (never shorter than 10 ms) runs due delayed tasks.
//
// A pump with a parent (the pump of a layer loop, see layer_loop.h) owns no
// window: it dispatches the thread's messages and drives the parent's
// delegate, so the main loop's tasks and timers keep running while a modal
// window is open.
//
// Threads: WakeUp from any thread; everything else on the thread that created
// the pump.
class MessagePumpForUI : public MessagePumpWin {
 public:
  static constexpr UINT kWakeUpMessage = WM_USER + 1;
  static constexpr int kMinTimerMs = 10;

  // Creates the hidden window on the calling thread.
  MessagePumpForUI();
  // No window: the pump of a layer loop; call SetParent() before Run().
  struct NoWindow {};
  explicit MessagePumpForUI(NoWindow);
  ~MessagePumpForUI() override;

  void Run(Delegate* delegate) override;
  void WakeUp() override;
  void WakeUpAt(int64_t run_time) override;

  // Layer loops: serve `parent`'s work through `parent_delegate` (the main
  // thread's MessageLoop) while this pump runs.
  void SetParent(MessagePumpForUI* parent, Delegate* parent_delegate);

  // The hidden window (null for a pump without window).
  HWND message_hwnd() const { return message_hwnd_; }

  // Timer period for a delay in milliseconds (-1 = infinite): at least 10 ms.
  static UINT TimerPeriodMs(int delay_ms);

 private:
  static LRESULT CALLBACK WndProcThunk(HWND hwnd, UINT message, WPARAM wparam,
                                       LPARAM lparam);
  void HandleWakeUpMessage();
  void HandleTimerMessage();
  void RunTopLevel();
  void RunNested();
  // Returns whether more work is plausible.
  bool ProcessNextWindowsMessage(bool nested);
  void WaitForWork(int64_t next_run_time);

  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
  HWND message_hwnd_ = nullptr;
  Delegate* delegate_ = nullptr;
  MessagePumpForUI* parent_ = nullptr;
  Delegate* parent_delegate_ = nullptr;
  // A layer loop took WM_QUIT: re-posted once the layer loop ends.
  bool quit_received_ = false;
  WPARAM quit_code_ = 0;
};

// Pump of "io_thread": sleeps in GetQueuedCompletionStatus on its own port.
// Completions whose key is an IOHandler go to that handler; the pump's own
// wake-up is a completion whose key and overlapped are the pump itself.
//
// Threads: WakeUp and posting completions from any thread; everything else
// on the pump's thread.
class MessagePumpForIO : public MessagePumpWin {
 public:
  // Receives completions on the IO thread. Post one from any thread with
  //   PostQueuedCompletionStatus(pump->GetCompletionPort(), bytes,
  //                              reinterpret_cast<ULONG_PTR>(handler),
  //                              reinterpret_cast<OVERLAPPED*>(context));
  // (or PostCompletion below); OnCompletion then gets (context, bytes, 0).
  class IOHandler {
   public:
    virtual ~IOHandler() = default;
    // IO thread. `error` is 0 or the Win32 error of a failed operation.
    virtual void OnCompletion(void* context, DWORD bytes_transferred,
                              DWORD error) = 0;
  };

  MessagePumpForIO();
  ~MessagePumpForIO() override;

  void Run(Delegate* delegate) override;
  void WakeUp() override;
  void WakeUpAt(int64_t run_time) override;
  HANDLE GetCompletionPort() const override;

  // Any thread. Associates an overlapped file handle with the port so that
  // its completions reach `handler`.
  bool RegisterIOHandler(HANDLE file, IOHandler* handler);
  // Any thread. Queues a completion for `handler` with `context` and `bytes`.
  bool PostCompletion(IOHandler* handler, void* context, DWORD bytes);

 private:
  // Returns whether a completion (or the wake-up) was taken.
  bool WaitForIOCompletion(DWORD timeout_ms);

  HANDLE port_;
  Delegate* delegate_ = nullptr;
};

}  // namespace base

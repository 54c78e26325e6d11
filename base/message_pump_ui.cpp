// MessagePumpForUI: see message_pump_win.h for why it works this way.
#include <windows.h>

#include <cwchar>

#include "base/message_pump_win.h"
#include "base/time.h"

namespace base {

namespace {

// The last mouse message this pump looks for when it decides whether pending
// mouse input belongs to one of this thread's windows.
constexpr UINT kLastMouseMessage = 0x20D;

HINSTANCE ModuleOfAddress(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module)) {
    return GetModuleHandleW(nullptr);
  }
  return module;
}

}  // namespace

MessagePumpForUI::MessagePumpForUI() {
  instance_ = ModuleOfAddress(reinterpret_cast<const void*>(&WndProcThunk));
  wchar_t class_name[64];
  swprintf(class_name, sizeof(class_name) / sizeof(class_name[0]),
           L"Chrome_MessagePumpWindow_%p", static_cast<void*>(this));
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WndProcThunk;
  wc.hInstance = instance_;
  wc.lpszClassName = class_name;
  atom_ = RegisterClassExW(&wc);
  if (!atom_) return;  // No window: tasks still run from Run()'s own passes.
  message_hwnd_ = CreateWindowExW(0, MAKEINTATOM(atom_), L"", 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, instance_, nullptr);
  if (message_hwnd_) {
    SetWindowLongPtrW(message_hwnd_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(this));
  }
}

MessagePumpForUI::MessagePumpForUI(NoWindow) {}

MessagePumpForUI::~MessagePumpForUI() {
  if (message_hwnd_) {
    KillTimer(message_hwnd_, reinterpret_cast<UINT_PTR>(this));
    DestroyWindow(message_hwnd_);
  }
  if (atom_) UnregisterClassW(MAKEINTATOM(atom_), instance_);
}

void MessagePumpForUI::SetParent(MessagePumpForUI* parent,
                                 Delegate* parent_delegate) {
  parent_ = parent;
  parent_delegate_ = parent_delegate;
}

UINT MessagePumpForUI::TimerPeriodMs(int delay_ms) {
  // Infinite or shorter than the minimum: the minimum. Windows would round a
  // shorter period up anyway (USER_TIMER_MINIMUM).
  return delay_ms < kMinTimerMs ? static_cast<UINT>(kMinTimerMs)
                                : static_cast<UINT>(delay_ms);
}

void MessagePumpForUI::WakeUp() {
  if (!message_hwnd_) return;
  // Only the caller that flips have-work from 0 to 1 posts: one wake-up
  // message in flight at most.
  if (InterlockedExchange(&have_work_, 1) != 0) return;
  if (!PostMessageW(message_hwnd_, kWakeUpMessage,
                    reinterpret_cast<WPARAM>(this), 0)) {
    // The queue is full or the window is gone. The task stays queued and runs
    // at the loop's next pass; let a later post try again.
    InterlockedExchange(&have_work_, 0);
  }
}

void MessagePumpForUI::WakeUpAt(int64_t run_time) {
  next_run_time_ = run_time;
  if (!message_hwnd_) return;
  const UINT_PTR timer_id = reinterpret_cast<UINT_PTR>(this);
  KillTimer(message_hwnd_, timer_id);
  SetTimer(message_hwnd_, timer_id, TimerPeriodMs(CurrentDelayMs(run_time)),
           nullptr);
}

LRESULT CALLBACK MessagePumpForUI::WndProcThunk(HWND hwnd, UINT message,
                                                WPARAM wparam, LPARAM lparam) {
  auto* pump = reinterpret_cast<MessagePumpForUI*>(
      GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (pump && wparam == reinterpret_cast<WPARAM>(pump)) {
    if (message == kWakeUpMessage) {
      pump->HandleWakeUpMessage();
    } else if (message == WM_TIMER) {
      pump->HandleTimerMessage();
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void MessagePumpForUI::HandleWakeUpMessage() {
  // Reset first: a post that lands while the task runs must send a new
  // wake-up.
  InterlockedExchange(&have_work_, 0);
  // Dispatched by our own Run, or by a foreign modal loop (MessageBox, window
  // dragging) that runs inside it: serve one task either way.
  if (delegate_) delegate_->RunImmediateTask();
}

void MessagePumpForUI::HandleTimerMessage() {
  KillTimer(message_hwnd_, reinterpret_cast<UINT_PTR>(this));
  if (!delegate_) return;
  delegate_->RunDueDelayedTask(&next_run_time_);
  if (next_run_time_ != 0) WakeUpAt(next_run_time_);
}

void MessagePumpForUI::Run(Delegate* delegate) {
  Delegate* const previous_delegate = delegate_;
  if (!parent_) delegate_ = delegate;

  // A layer loop's pump works on behalf of its parent.
  const bool nested = parent_ != nullptr;
  Delegate* work = nested ? parent_delegate_ : delegate;
  int64_t* next_run_time = nested ? &parent_->next_run_time_ : &next_run_time_;

  for (;;) {
    bool more = ProcessNextWindowsMessage(nested);
    if (!keep_running_) break;
    if (work) {
      more |= work->RunImmediateTask();
      if (!keep_running_) break;
      more |= work->RunDueDelayedTask(next_run_time);
      if (!keep_running_) break;
    }
    if (more) continue;

    more = work ? work->RunIdleWork() : false;
    if (!keep_running_) break;
    if (!more) WaitForWork(*next_run_time);
  }
  keep_running_ = true;
  delegate_ = previous_delegate;

  if (quit_received_) {
    // Hand the quit request on to the loop this layer interrupted.
    quit_received_ = false;
    PostQuitMessage(static_cast<int>(quit_code_));
  }
}

bool MessagePumpForUI::ProcessNextWindowsMessage(bool nested) {
  // A message sent from another thread is delivered inside PeekMessage
  // without being returned; report it as work so the loop does not sleep.
  const bool sent_message_waiting =
      (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;

  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return sent_message_waiting;

  if (msg.message == WM_QUIT) {
    if (nested) {
      // Posting it again at once would make this layer loop take it again
      // and spin; it is posted again when the layer loop ends.
      quit_received_ = true;
      quit_code_ = msg.wParam;
    } else {
      keep_running_ = false;
      // An enclosing loop on this thread must see it too.
      PostQuitMessage(static_cast<int>(msg.wParam));
    }
    return false;
  }

  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void MessagePumpForUI::WaitForWork(int64_t next_run_time) {
  const int delay_ms = CurrentDelayMs(next_run_time);
  const DWORD timeout = delay_ms < 0 ? INFINITE : static_cast<DWORD>(delay_ms);
  const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, timeout,
                                                   QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
  if (result != WAIT_OBJECT_0) return;
  // Mouse input is reported for the thread although it may belong to another
  // thread's window (capture, child windows of other threads); then no
  // message can be taken here and MsgWait would return at once forever.
  // Sleep until new input arrives instead.
  const DWORD status = GetQueueStatus(QS_MOUSE);
  if ((HIWORD(status) & (QS_MOUSEMOVE | QS_MOUSEBUTTON)) == 0) return;
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, kLastMouseMessage,
                    PM_NOREMOVE)) {
    WaitMessage();
  }
}

}  // namespace base

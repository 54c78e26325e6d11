// LayerLoop: the nested loop that runs while a modal (skinned) window is open.
//
// Usage, on the UI thread (from a task or a window procedure):
//
//   HWND dialog = CreateWindowExW(..., owner, ...);   // hidden, owned
//   base::LayerLoop::RunModal(dialog);                 // returns when closed
//   return my_dialog->result();                        // the dialog keeps it
//
// and inside the dialog, when it closes:
//
//   result_ = IDOK;
//   DestroyWindow(hwnd);
//   base::LayerLoop::QuitTop();
//
// Every way the modal window can end (button, WM_CLOSE, Alt+F4) must reach
// QuitTop(): the layer loop runs until then, with the owner disabled.
//
// RunModal shows the window (SW_SHOWNORMAL), disables its owner
// (GetWindow(GW_OWNER)), then runs a nested MessagePumpForUI whose parent is
// the pump of the calling thread's UI loop (g_ui_loop in the installer): every
// window message of the thread is dispatched, and the UI loop's tasks,
// delayed tasks and timers keep running. Without a UI loop on the calling
// thread only window messages are dispatched. When QuitTop() ends
// it, the owner is enabled again and given the focus.
//
// WM_QUIT taken while a layer loop runs does not end the layer loop; it is
// posted again when the layer loop returns, so that the UI loop then ends.
//
// Threads: UI thread only (the thread of g_ui_loop).
#pragma once

#include <windows.h>

#include "base/message_pump.h"

namespace base {

class MessageLoop;
class MessagePumpForUI;

class LayerLoop : public MessagePump::Delegate {
 public:
  // Shows `modal`, disables its owner and runs until QuitTop() is called for
  // this layer; then re-enables and focuses the owner. Nests.
  static void RunModal(HWND modal);
  // Quits the innermost running layer loop; false when none runs.
  static bool QuitTop();
  // Number of layer loops running now.
  static size_t depth();

  // The layer's own delegate does nothing: the work belongs to the UI loop.
  bool RunImmediateTask() override;
  bool RunDueDelayedTask(int64_t* next_time) override;
  bool RunIdleWork() override;

 private:
  explicit LayerLoop(MessageLoop* parent);
  ~LayerLoop() override;
  void Run();

  MessagePumpForUI* pump_;
};

}  // namespace base

#include "base/layer_loop.h"

#include <algorithm>
#include <vector>

#include "base/message_loop.h"
#include "base/message_pump_win.h"

namespace base {

namespace {

// Running layer loops, innermost last. UI thread only.
std::vector<LayerLoop*>& LayerStack() {
  static std::vector<LayerLoop*> stack;
  return stack;
}

}  // namespace

LayerLoop::LayerLoop(MessageLoop* parent)
    : pump_(new MessagePumpForUI(MessagePumpForUI::NoWindow())) {
  if (parent && parent->type() == MessageLoop::TYPE_UI) {
    pump_->SetParent(parent->ui_pump(), parent);
  }
}

LayerLoop::~LayerLoop() { delete pump_; }

void LayerLoop::Run() { pump_->Run(this); }

void LayerLoop::RunModal(HWND modal) {
  HWND owner = GetWindow(modal, GW_OWNER);
  ShowWindow(modal, SW_SHOWNORMAL);
  if (owner) EnableWindow(owner, FALSE);

  // The UI thread's loop (g_ui_loop in the installer). A loop of another
  // thread must never be driven from here.
  MessageLoop* parent = MessageLoop::current();
  LayerLoop* layer = new LayerLoop(parent);
  LayerStack().push_back(layer);
  layer->Run();
  auto& stack = LayerStack();
  stack.erase(std::find(stack.begin(), stack.end(), layer));

  if (owner) {
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  }
  delete layer;
}

bool LayerLoop::QuitTop() {
  if (LayerStack().empty()) return false;
  LayerStack().back()->pump_->Quit();
  return true;
}

size_t LayerLoop::depth() { return LayerStack().size(); }

bool LayerLoop::RunImmediateTask() { return false; }

bool LayerLoop::RunDueDelayedTask(int64_t* /*next_time*/) { return false; }

bool LayerLoop::RunIdleWork() { return false; }

}  // namespace base

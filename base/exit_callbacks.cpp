#include "base/exit_callbacks.h"

#include "base/bind.h"
#include "base/task.h"

namespace base {

namespace {

// The process-wide instance. Written by the entry thread when an instance is
// created or destroyed; read by Add/RunAll, which by contract are not called
// concurrently with those two moments.
ExitCallbacks* g_exit_callbacks = nullptr;

}  // namespace

ExitCallbacks::ExitCallbacks() : previous_(g_exit_callbacks) {
  InitializeCriticalSection(&lock_);
  g_exit_callbacks = this;
}

ExitCallbacks::~ExitCallbacks() {
  EnterCriticalSection(&lock_);
  RunAllLocked();
  LeaveCriticalSection(&lock_);
  if (g_exit_callbacks == this) g_exit_callbacks = previous_;
  DeleteCriticalSection(&lock_);
}

ExitCallbacks* ExitCallbacks::instance() { return g_exit_callbacks; }

void ExitCallbacks::Add(Callback callback, void* param) {
  ExitCallbacks* self = g_exit_callbacks;
  if (!self) return;
  Task* task = fastdelegate::Bind(callback, param);
  task->AddRef();
  EnterCriticalSection(&self->lock_);
  self->tasks_.push_back(task);
  LeaveCriticalSection(&self->lock_);
}

void ExitCallbacks::RunAll() {
  ExitCallbacks* self = g_exit_callbacks;
  if (!self) return;
  EnterCriticalSection(&self->lock_);
  self->RunAllLocked();
  LeaveCriticalSection(&self->lock_);
}

void ExitCallbacks::RunAllLocked() {
  // Take the last one each time: a callback may register another, which
  // then runs next.
  while (!tasks_.empty()) {
    Task* task = tasks_.back();
    task->Run();
    // Run may have appended; remove this task wherever it now sits.
    for (auto it = tasks_.end(); it != tasks_.begin();) {
      --it;
      if (*it == task) {
        tasks_.erase(it);
        break;
      }
    }
    task->Release();
  }
}

}  // namespace base

#include "base/thread.h"

#include <process.h>

#include "base/exit_callbacks.h"

namespace base {

Thread::Thread(const std::string& name) : name_(name) {}

Thread::~Thread() { Stop(); }

bool Thread::SetName(const std::string& name) {
  if (!name_.empty()) return false;
  name_ = name;
  return true;
}

bool Thread::Start() { return Start(StartOptions()); }

bool Thread::Start(const StartOptions& options) {
  if (started_) return message_loop_ != nullptr;  // Already running.

  HANDLE started_event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!started_event) return false;
  StartParams params = {&options, started_event};
  start_params_ = &params;

  unsigned thread_id = 0;
  const unsigned flags =
      options.stack_size != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0;
  const uintptr_t handle = _beginthreadex(nullptr, options.stack_size,
                                          &Thread::ThreadMain, this, flags,
                                          &thread_id);
  if (!handle) {
    start_params_ = nullptr;
    CloseHandle(started_event);
    return false;
  }
  thread_ = reinterpret_cast<HANDLE>(handle);
  // The new thread signals once its loop exists.
  WaitForSingleObject(started_event, INFINITE);
  start_params_ = nullptr;
  started_ = true;
  CloseHandle(started_event);
  return true;
}

unsigned __stdcall Thread::ThreadMain(void* param) {
  static_cast<Thread*>(param)->ThreadBody();
  return 0;
}

void Thread::ThreadBody() {
  MessageLoop* loop = new MessageLoop(start_params_->options->loop_type);
  thread_id_ = GetCurrentThreadId();
  loop->set_thread_name(name_);
  message_loop_ = loop;

  running_ = true;
  // From here on the starter continues, and start_params_ is gone.
  SetEvent(start_params_->started_event);

  loop->Run();

  running_ = false;
  AfterLoop();

  // Pending tasks are dropped and exit tasks run here, on this thread.
  message_loop_ = nullptr;
  delete loop;
}

void Thread::Stop() {
  if (!started_ || stopping_) return;
  // A thread cannot join itself.
  if (GetCurrentThreadId() == thread_id_) return;
  stopping_ = true;

  // Queued behind every task posted so far. The loop only ends through this
  // quit task, so it is still alive here.
  MessageLoop* loop = message_loop_;
  if (loop) loop->PostTask(loop->QuitTask());

  // Join even when the loop is already gone, so that the thread never runs on
  // after this object is destroyed.
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
  started_ = false;
  stopping_ = false;
}

namespace {

Thread* g_file_thread = nullptr;
Thread* g_io_thread = nullptr;
Thread* g_log_thread = nullptr;

// At-exit callback: stop and delete the singleton in `*slot`, clear the slot.
void DestroyThreadSingleton(void* slot) {
  auto* thread = static_cast<Thread*>(
      InterlockedExchangePointer(static_cast<PVOID*>(slot), nullptr));
  if (!thread) return;
  thread->Stop();
  delete thread;
}

Thread* GetThreadSingleton(Thread** slot, const char* name) {
  auto* existing = static_cast<Thread*>(
      InterlockedCompareExchangePointer(reinterpret_cast<PVOID*>(slot), nullptr,
                                        nullptr));
  if (existing) return existing;
  Thread* fresh = new Thread(name);
  existing = static_cast<Thread*>(InterlockedCompareExchangePointer(
      reinterpret_cast<PVOID*>(slot), fresh, nullptr));
  if (existing) {  // Another thread made it first.
    delete fresh;
    return existing;
  }
  ExitCallbacks::Add(&DestroyThreadSingleton, slot);
  return fresh;
}

}  // namespace

Thread* FileThread() { return GetThreadSingleton(&g_file_thread, "file_thread"); }

Thread* IoThread() { return GetThreadSingleton(&g_io_thread, "io_thread"); }

Thread* LogThread() { return GetThreadSingleton(&g_log_thread, "log_thread"); }

}  // namespace base

// Thread: a named operating-system thread that owns one MessageLoop and runs
// it until stopped. Work reaches it only as tasks posted to message_loop().
//
// Stop() posts a quit task behind everything already queued, so all tasks
// posted before Stop() run first; delayed tasks not yet due are dropped and
// exit tasks run on the thread when its loop is deleted. Stop() then joins.
//
// Threads: construct, Start, Stop and destroy on the owner's thread (the main
// thread for the three system threads). message_loop() may be read anywhere
// once Start() has returned true.
#pragma once

#include <windows.h>

#include <string>

#include "base/message_loop.h"

namespace base {

class Thread {
 public:
  struct StartOptions {
    unsigned stack_size = 0;  // 0 = the default; else a reservation.
    MessageLoop::Type loop_type = MessageLoop::TYPE_DEFAULT;
  };

  explicit Thread(const std::string& name);
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  // Owner's thread. Stops the thread first.
  virtual ~Thread();

  // Owner's thread. Sets the name only while it is empty.
  bool SetName(const std::string& name);

  // Owner's thread. True when the thread runs and its loop exists; the loop
  // pointer is valid as soon as this returns.
  bool Start();
  bool Start(const StartOptions& options);

  // Owner's thread. Runs every task already posted, ends the loop and joins.
  // Returns at once when never started or already stopped, and when called
  // on the thread itself (it cannot join itself).
  void Stop();

  // Null before the thread runs and after its loop has ended.
  MessageLoop* message_loop() const { return message_loop_; }
  DWORD thread_id() const { return thread_id_; }
  const std::string& thread_name() const { return name_; }
  // Owner's thread: between a successful Start() and the join of Stop().
  bool started() const { return started_; }
  // True while the loop runs.
  bool IsRunning() const { return running_; }

 protected:
  // The new thread: create the loop, run it, delete it.
  virtual void ThreadBody();
  // The new thread, after the loop's run returned (loop still alive).
  virtual void AfterLoop() {}

 private:
  struct StartParams {
    const StartOptions* options;
    HANDLE started_event;
  };
  static unsigned __stdcall ThreadMain(void* param);

  MessageLoop* volatile message_loop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::string name_;
  DWORD thread_id_ = 0;
  bool started_ = false;
  bool stopping_ = false;
  volatile bool running_ = false;
  StartParams* start_params_ = nullptr;
};

// The system's worker threads: process-wide, created (not started) on first
// use, and stopped and deleted by an ExitCallbacks callback when the entry
// point returns. First use on the main thread (entry point; the logger's
// initialisation for LogThread). The entry point starts them and publishes
// g_file_loop and g_io_loop.
Thread* FileThread();  // "file_thread", default pump.
Thread* IoThread();    // "io_thread", IO pump.
Thread* LogThread();   // "log_thread", default pump.

}  // namespace base

// ExitCallbacks: the process-wide list of callbacks run when the entry point
// returns, last registered first (the thread singletons register their
// shutdown here).
//
// The entry point creates one instance on its stack; while it exists, the
// static Add()/RunAll() use it. Without an instance they do nothing. Creating
// a second instance while one exists (tests) shadows the first until the
// second is destroyed.
//
// Threads: Add and RunAll from any thread; registration and running are
// serialised by a critical section, and the callbacks run while it is held
// (a callback may Add more: the section is re-entrant on that thread, and the
// new callback runs next).
#pragma once

#include <windows.h>

#include <deque>

namespace base {

class Task;

class ExitCallbacks {
 public:
  typedef void (*Callback)(void* param);

  // Entry thread. Publishes this instance as the process-wide one.
  ExitCallbacks();
  ExitCallbacks(const ExitCallbacks&) = delete;
  ExitCallbacks& operator=(const ExitCallbacks&) = delete;
  // Entry thread. Runs what is still registered, then withdraws the instance.
  ~ExitCallbacks();

  // Any thread. Registers `callback(param)`. Does nothing without an instance.
  static void Add(Callback callback, void* param);
  // Any thread. Runs and releases every callback, last registered first.
  static void RunAll();
  // The current instance, or null.
  static ExitCallbacks* instance();

 private:
  void RunAllLocked();

  CRITICAL_SECTION lock_;
  std::deque<Task*> tasks_;
  ExitCallbacks* previous_;
};

}  // namespace base

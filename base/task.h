// Task: the one unit of work that crosses threads. A Task carries one closure
// (a bound member call or a bound free-function call, see bind.h) and an
// atomic count, because it is made on one thread and run and released on
// another.
#pragma once

#include <windows.h>

namespace base {

// Abstract counted object: the base of every closure.
class CCounter {
 public:
  virtual ~CCounter() = default;
  // Both return the new count.
  virtual long AddRef() = 0;
  virtual long Release() = 0;
};

}  // namespace base

namespace fastdelegate {

template <class R>
class ExecDelegate;

// A runnable closure. Its count is a plain integer: a closure has exactly one
// owner, its Task, and dies with it.
template <>
class ExecDelegate<void> : public base::CCounter {
 public:
  virtual void Run() = 0;
};

}  // namespace fastdelegate

namespace base {

// A Task starts with count 0: whoever takes it first (a loop's queue when it
// is posted, the exit-callback list, a scoped_refptr) adds the first
// reference, so the usual pattern is simply
//   loop->PostTask(fastdelegate::Bind(obj, &Obj::Method, arg));
// and the loop owns the Task from then on. A Task that nobody ever takes must
// be adopted and released by its maker (scoped_refptr<Task> does both).
//
// Threads: AddRef/Release from any thread; Run on the thread that executes
// the work (normally the loop's own thread). The closure itself is not
// synchronised, so one Task must not run on two threads at once.
class Task {
 public:
  // Takes ownership of the closures (each comes with count 1). At most one
  // of them is normally filled: `delegate` holds a bound member call,
  // `function` a bound free-function call.
  Task(fastdelegate::ExecDelegate<void>* function,
       fastdelegate::ExecDelegate<void>* delegate);
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  // Any thread. Return the new count.
  long AddRef();
  // Any thread. When the count reaches zero both closures are released and
  // the Task deletes itself.
  long Release();

  // Runs the member-call closure if there is one, else the free-function
  // closure, else nothing.
  void Run();

 private:
  ~Task();

  volatile LONG ref_count_ = 0;
  fastdelegate::ExecDelegate<void>* function_;
  fastdelegate::ExecDelegate<void>* delegate_;
};

}  // namespace base

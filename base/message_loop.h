// MessageLoop: the task queues of one thread. Any thread posts Tasks (at once,
// after a delay in microseconds, or for the loop's destruction); the loop's
// own thread runs them one at a time, driven by its pump.
//
// Queues:
//  - incoming: the only queue other threads touch, under the lock;
//  - work: loop thread only; refilled from incoming by one swap under the
//    lock, so the lock is held for a constant time per batch, not per task;
//  - delayed: a heap ordered by run time (earliest on top), loop thread only;
//  - exit: tasks that run when the loop is destroyed, oldest first.
// The pump asks for one immediate task per RunImmediateTask() call, which
// lets the UI pump interleave window messages with tasks.
//
// Destruction (on the loop's thread): queued and delayed tasks are released
// without running, destruction observers are told, the thread's current-loop
// slot is cleared, then the exit tasks run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "base/message_pump.h"
#include "base/observer_list.h"
#include "base/ref_counted.h"
#include "base/task.h"

namespace base {

class MessagePumpForIO;
class MessagePumpForUI;

class MessageLoop : public MessagePump::Delegate {
 public:
  enum Type { TYPE_DEFAULT = 0, TYPE_UI = 1, TYPE_IO = 2 };

  // Told on the loop's thread that the loop is about to be destroyed.
  class DestructionObserver {
   public:
    virtual void WillDestroyCurrentMessageLoop() = 0;

   protected:
    virtual ~DestructionObserver() = default;
  };

  // Becomes the calling thread's current loop and creates the pump of `type`
  // on this thread (a UI pump creates its hidden window now).
  explicit MessageLoop(Type type = TYPE_DEFAULT);
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;
  // Loop's thread only.
  ~MessageLoop() override;

  // Any thread: the calling thread's loop, or null.
  static MessageLoop* current();

  // Any thread. Takes ownership of `task` (a count-0 Task from Bind is owned
  // by the loop from now on). Null is ignored.
  void PostTask(Task* task);
  // Any thread. `delay_us` in microseconds (200000 = 200 ms); 0 = at once.
  void PostDelayedTask(Task* task, int64_t delay_us);
  // Any thread. Runs only when the loop is destroyed, after the pending tasks
  // were dropped; exit tasks run oldest first. The pump is not woken.
  void PostExitTask(Task* task);

  // Loop's thread only: runs the pump until Quit(). Sets is_running() for the
  // duration.
  void Run();
  // Loop's thread only. Other threads post QuitTask() instead.
  void Quit();
  // Any thread: a new Task that quits this loop when it runs on it.
  Task* QuitTask();

  // Loop's thread (written by the owner around Run()); read anywhere.
  void set_running(bool running) { running_ = running; }
  bool is_running() const { return running_; }

  // The thread's name ("ui_thread", "io_thread", ...). Set once: returns
  // false and changes nothing when a name is already set. Owner's thread.
  bool set_thread_name(const std::string& name);
  const std::string& thread_name() const { return thread_name_; }

  Type type() const { return type_; }
  // Loop's thread (WakeUp on any thread).
  MessagePump* pump() const { return pump_; }
  // The pump as its concrete class; null when the loop has another type.
  // io_pump()->GetCompletionPort() may be used from any thread.
  MessagePumpForUI* ui_pump() const;
  MessagePumpForIO* io_pump() const;

  // Loop's thread only. The observer is not owned.
  void AddDestructionObserver(DestructionObserver* observer);
  void RemoveDestructionObserver(DestructionObserver* observer);

  // MessagePump::Delegate, called by the pump on the loop's thread.
  bool RunImmediateTask() override;
  bool RunDueDelayedTask(int64_t* next_time) override;
  bool RunIdleWork() override;

 private:
  struct QueuedTask {
    int64_t run_time;   // NowMicroseconds units; 0 = as soon as possible.
    uint32_t sequence;  // Order of posting.
    scoped_refptr<Task> task;
  };
  // Heap order: the earliest run time on top; among equal run times the
  // earlier post first.
  struct LaterFirst {
    bool operator()(const QueuedTask& a, const QueuedTask& b) const;
  };
  typedef std::deque<QueuedTask> TaskQueue;

  // Loop's thread: moves the incoming queue into the (empty) work queue.
  void ReloadWorkQueue();
  // Loop's thread: releases the work queue and the delayed heap unrun.
  void DropPendingTasks();

  bool running_ = false;
  std::string thread_name_;
  Type type_;
  MessagePump* pump_ = nullptr;
  ObserverListBase<DestructionObserver> destruction_observers_;
  TaskQueue incoming_queue_;
  TaskQueue work_queue_;
  TaskQueue exit_queue_;
  std::vector<QueuedTask> delayed_queue_;
  CRITICAL_SECTION lock_;
  int64_t recent_time_ = 0;
  uint32_t incoming_sequence_ = 0;
  uint32_t exit_sequence_ = 0;
};

}  // namespace base

// The process's named loops, published by the entry point: the main thread's
// "ui_thread", "io_thread" and "file_thread". Post to them from any thread
// while they exist; all replies in this system go to g_ui_loop.
extern base::MessageLoop* g_ui_loop;
extern base::MessageLoop* g_io_loop;
extern base::MessageLoop* g_file_loop;

#include "base/message_loop.h"

#include <algorithm>
#include <utility>

#include "base/bind.h"
#include "base/message_pump_default.h"
#include "base/message_pump_win.h"
#include "base/time.h"

base::MessageLoop* g_ui_loop = nullptr;
base::MessageLoop* g_io_loop = nullptr;
base::MessageLoop* g_file_loop = nullptr;

namespace base {

namespace {

// The thread-local slot holding each thread's current loop; allocated on
// first use and freed at process exit.
class CurrentLoopSlot {
 public:
  CurrentLoopSlot() : index_(TlsAlloc()) {}
  ~CurrentLoopSlot() {
    if (index_ != TLS_OUT_OF_INDEXES) TlsFree(index_);
  }
  MessageLoop* Get() const {
    return index_ == TLS_OUT_OF_INDEXES
               ? nullptr
               : static_cast<MessageLoop*>(TlsGetValue(index_));
  }
  void Set(MessageLoop* loop) {
    if (index_ != TLS_OUT_OF_INDEXES) TlsSetValue(index_, loop);
  }

 private:
  DWORD index_;
};

CurrentLoopSlot& Slot() {
  static CurrentLoopSlot slot;
  return slot;
}

MessagePump* CreatePump(MessageLoop::Type type) {
  switch (type) {
    case MessageLoop::TYPE_UI:
      return new MessagePumpForUI();
    case MessageLoop::TYPE_IO:
      return new MessagePumpForIO();
    case MessageLoop::TYPE_DEFAULT:
      break;
  }
  return new MessagePumpDefault();
}

}  // namespace

bool MessageLoop::LaterFirst::operator()(const QueuedTask& a,
                                         const QueuedTask& b) const {
  if (a.run_time != b.run_time) return a.run_time > b.run_time;
  // Equal run times: the earlier post first (sequence numbers may wrap).
  return static_cast<int32_t>(a.sequence - b.sequence) > 0;
}

MessageLoop::MessageLoop(Type type) : type_(type) {
  InitializeCriticalSection(&lock_);
  Slot().Set(this);
  pump_ = CreatePump(type);
}

MessageLoop::~MessageLoop() {
  // Pending work is released without running; what was posted meanwhile is
  // picked up once more and released too.
  DropPendingTasks();
  ReloadWorkQueue();
  DropPendingTasks();

  if (destruction_observers_.might_have_observers()) {
    FOR_EACH_OBSERVER(DestructionObserver, destruction_observers_,
                      WillDestroyCurrentMessageLoop());
  }

  if (Slot().Get() == this) Slot().Set(nullptr);

  // Exit tasks, oldest first; one may post another.
  for (;;) {
    EnterCriticalSection(&lock_);
    if (exit_queue_.empty()) {
      LeaveCriticalSection(&lock_);
      break;
    }
    QueuedTask exit_task = std::move(exit_queue_.front());
    exit_queue_.pop_front();
    LeaveCriticalSection(&lock_);
    exit_task.task->Run();
  }

  delete pump_;
  pump_ = nullptr;
  DeleteCriticalSection(&lock_);
}

MessageLoop* MessageLoop::current() { return Slot().Get(); }

void MessageLoop::PostTask(Task* task) { PostDelayedTask(task, 0); }

void MessageLoop::PostDelayedTask(Task* task, int64_t delay_us) {
  if (!task) return;
  // A negative delay means "as soon as possible", like 0.
  QueuedTask queued{delay_us > 0 ? NowMicroseconds() + delay_us : 0, 0,
                    scoped_refptr<Task>(task)};
  EnterCriticalSection(&lock_);
  queued.sequence = ++incoming_sequence_;
  incoming_queue_.push_back(std::move(queued));
  LeaveCriticalSection(&lock_);
  pump_->WakeUp();
}

void MessageLoop::PostExitTask(Task* task) {
  if (!task) return;
  QueuedTask queued{0, 0, scoped_refptr<Task>(task)};
  EnterCriticalSection(&lock_);
  queued.sequence = ++exit_sequence_;
  exit_queue_.push_back(std::move(queued));
  LeaveCriticalSection(&lock_);
}

void MessageLoop::Run() {
  const bool was_running = running_;
  running_ = true;
  pump_->Run(this);
  running_ = was_running;
}

MessagePumpForUI* MessageLoop::ui_pump() const {
  return type_ == TYPE_UI ? static_cast<MessagePumpForUI*>(pump_) : nullptr;
}

MessagePumpForIO* MessageLoop::io_pump() const {
  return type_ == TYPE_IO ? static_cast<MessagePumpForIO*>(pump_) : nullptr;
}

void MessageLoop::Quit() { pump_->Quit(); }

Task* MessageLoop::QuitTask() {
  return fastdelegate::BindUnretained(this, &MessageLoop::Quit);
}

bool MessageLoop::set_thread_name(const std::string& name) {
  if (!thread_name_.empty()) return false;
  thread_name_ = name;
  return true;
}

void MessageLoop::AddDestructionObserver(DestructionObserver* observer) {
  destruction_observers_.AddObserver(observer);
}

void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer) {
  destruction_observers_.RemoveObserver(observer);
}

void MessageLoop::ReloadWorkQueue() {
  if (!work_queue_.empty()) return;
  EnterCriticalSection(&lock_);
  if (!incoming_queue_.empty()) incoming_queue_.swap(work_queue_);
  LeaveCriticalSection(&lock_);
}

void MessageLoop::DropPendingTasks() {
  // Move them out first: releasing a task may destroy an object whose
  // destructor posts to this loop.
  TaskQueue work;
  work.swap(work_queue_);
  std::vector<QueuedTask> delayed;
  delayed.swap(delayed_queue_);
}

bool MessageLoop::RunImmediateTask() {
  for (;;) {
    ReloadWorkQueue();
    if (work_queue_.empty()) return false;
    while (!work_queue_.empty()) {
      QueuedTask pending = std::move(work_queue_.front());
      work_queue_.pop_front();
      if (pending.run_time == 0) {
        pending.task->Run();
        return true;  // One immediate task per call.
      }
      const Task* task = pending.task.get();
      delayed_queue_.push_back(std::move(pending));
      std::push_heap(delayed_queue_.begin(), delayed_queue_.end(), LaterFirst());
      // Re-arm the pump only when the earliest delayed task changed.
      if (delayed_queue_.front().task.get() == task) {
        pump_->WakeUpAt(delayed_queue_.front().run_time);
      }
    }
  }
}

bool MessageLoop::RunDueDelayedTask(int64_t* next_time) {
  if (delayed_queue_.empty()) {
    *next_time = 0;
    recent_time_ = 0;
    return false;
  }
  const int64_t run_time = delayed_queue_.front().run_time;
  // The cached time saves a clock read per pass while tasks are overdue.
  if (run_time > recent_time_) {
    recent_time_ = NowMicroseconds();
    if (run_time > recent_time_) {
      *next_time = run_time;
      return false;
    }
  }
  std::pop_heap(delayed_queue_.begin(), delayed_queue_.end(), LaterFirst());
  QueuedTask due = std::move(delayed_queue_.back());
  delayed_queue_.pop_back();
  if (!delayed_queue_.empty()) *next_time = delayed_queue_.front().run_time;
  due.task->Run();
  return true;
}

bool MessageLoop::RunIdleWork() { return false; }

}  // namespace base

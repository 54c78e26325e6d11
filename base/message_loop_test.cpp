#include "base/message_loop.h"

#include <gtest/gtest.h>

#include <process.h>

#include <string>
#include <vector>

#include "base/bind.h"
#include "base/ref_counted.h"
#include "base/time.h"

namespace {

// Records task runs by name. Counted, so that closures bound to it keep it
// alive like they keep the installer's objects alive.
class Recorder : public base::RefCountedThreadSafe<Recorder> {
 public:
  void Add(const std::string& name) { names.push_back(name); }
  void AddAndQuit(const std::string& name) {
    names.push_back(name);
    base::MessageLoop::current()->Quit();
  }
  void AddCurrentLoop(const std::string& name) {
    names.push_back(name + (base::MessageLoop::current() ? ":loop" : ":none"));
  }
  std::vector<std::string> names;

 private:
  ~Recorder() override = default;
};

typedef std::vector<std::string> Names;

TEST(MessageLoopTest, ImmediateTasksRunInPostingOrderBeforeAnEarlierDelayedTask) {
  base::MessageLoop loop;
  EXPECT_EQ(&loop, base::MessageLoop::current());
  base::scoped_refptr<Recorder> rec(new Recorder);
  loop.PostDelayedTask(fastdelegate::Bind(rec.get(), &Recorder::AddAndQuit, "late"), 30000);
  loop.PostDelayedTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "delayed"), 1000);
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "first"));
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "second"));
  loop.Run();
  // The pump serves one immediate and one due delayed task per pass, so the
  // 1 ms task may come between the two immediate ones, never before them.
  const Names& names = rec->names;
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("first", names[0]);
  EXPECT_EQ("late", names[3]);
  const bool second_then_delayed = names[1] == "second" && names[2] == "delayed";
  const bool delayed_then_second = names[1] == "delayed" && names[2] == "second";
  EXPECT_TRUE(second_then_delayed || delayed_then_second) << names[1] << "," << names[2];
}

DWORD g_fake_ms = 0;
DWORD FakeTicks() { return g_fake_ms; }

TEST(MessageLoopTest, DelayedTaskRunsWhenDueAndOtherwiseReportsItsRunTime) {
  base::SetTickSourceForTesting(&FakeTicks);
  g_fake_ms = 1000;
  {
    base::MessageLoop loop;
    base::scoped_refptr<Recorder> rec(new Recorder);
    loop.PostDelayedTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "b"), 7000);
    loop.PostDelayedTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "a"), 5000);

    // Both move to the delayed heap; no immediate task ran.
    EXPECT_FALSE(loop.RunImmediateTask());
    int64_t next = -1;
    EXPECT_FALSE(loop.RunDueDelayedTask(&next));
    EXPECT_EQ(1005000, next);

    g_fake_ms = 1005;
    EXPECT_TRUE(loop.RunDueDelayedTask(&next));
    EXPECT_EQ(Names({"a"}), rec->names);
    EXPECT_EQ(1007000, next);  // The new earliest.
    EXPECT_FALSE(loop.RunDueDelayedTask(&next));

    g_fake_ms = 1010;
    EXPECT_TRUE(loop.RunDueDelayedTask(&next));
    EXPECT_EQ(Names({"a", "b"}), rec->names);
    EXPECT_FALSE(loop.RunDueDelayedTask(&next));
    EXPECT_EQ(0, next);  // Nothing left.
  }
  base::SetTickSourceForTesting(nullptr);
}

TEST(MessageLoopTest, OneImmediateTaskPerCall) {
  base::MessageLoop loop;
  base::scoped_refptr<Recorder> rec(new Recorder);
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "1"));
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "2"));
  EXPECT_TRUE(loop.RunImmediateTask());
  EXPECT_EQ(Names({"1"}), rec->names);
  EXPECT_TRUE(loop.RunImmediateTask());
  EXPECT_FALSE(loop.RunImmediateTask());
  EXPECT_EQ(Names({"1", "2"}), rec->names);
}

TEST(MessageLoopTest, QuitFromInsideATaskEndsTheRunAfterThatTask) {
  base::MessageLoop loop;
  base::scoped_refptr<Recorder> rec(new Recorder);
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "before"));
  loop.PostTask(loop.QuitTask());
  loop.PostTask(fastdelegate::Bind(rec.get(), &Recorder::Add, "after"));
  loop.Run();
  EXPECT_FALSE(loop.is_running());
  EXPECT_EQ(Names({"before"}), rec->names);

  // The loop can run again and picks up where it stopped.
  loop.PostTask(loop.QuitTask());
  loop.Run();
  EXPECT_EQ(Names({"before", "after"}), rec->names);
}

class DestructionWatcher : public base::MessageLoop::DestructionObserver {
 public:
  explicit DestructionWatcher(Recorder* rec) : rec_(rec) {}
  void WillDestroyCurrentMessageLoop() override { rec_->AddCurrentLoop("observer"); }

 private:
  Recorder* rec_;
};

TEST(MessageLoopTest, DestructionDropsPendingTasksAndRunsExitTasksOldestFirst) {
  base::scoped_refptr<Recorder> rec(new Recorder);
  base::scoped_refptr<Recorder> dropped_target(new Recorder);
  DestructionWatcher watcher(rec.get());
  base::MessageLoop* loop = new base::MessageLoop;
  loop->AddDestructionObserver(&watcher);
  base::scoped_refptr<Recorder> ran(new Recorder);
  loop->PostDelayedTask(fastdelegate::Bind(dropped_target.get(), &Recorder::Add, "delayed"), 1000);
  loop->PostTask(fastdelegate::Bind(ran.get(), &Recorder::Add, "ran"));
  loop->PostTask(fastdelegate::Bind(dropped_target.get(), &Recorder::Add, "work queue"));
  // Moves the delayed task to the heap, runs "ran", leaves the next one in
  // the work queue.
  ASSERT_TRUE(loop->RunImmediateTask());
  loop->PostTask(fastdelegate::Bind(dropped_target.get(), &Recorder::Add, "incoming"));
  loop->PostExitTask(fastdelegate::Bind(rec.get(), &Recorder::AddCurrentLoop, "exit1"));
  loop->PostExitTask(fastdelegate::Bind(rec.get(), &Recorder::AddCurrentLoop, "exit2"));
  loop->PostExitTask(fastdelegate::Bind(rec.get(), &Recorder::AddCurrentLoop, "exit3"));
  EXPECT_FALSE(dropped_target->HasOneRef());

  delete loop;
  EXPECT_EQ(nullptr, base::MessageLoop::current());
  EXPECT_EQ(Names({"ran"}), ran->names);
  EXPECT_TRUE(dropped_target->names.empty());
  EXPECT_TRUE(dropped_target->HasOneRef());  // Every dropped task was released.
  // Observers see the loop still current; exit tasks run after it was cleared.
  EXPECT_EQ(Names({"observer:loop", "exit1:none", "exit2:none", "exit3:none"}), rec->names);
  EXPECT_TRUE(rec->HasOneRef());
}

struct PosterArgs {
  base::MessageLoop* loop;
  Recorder* rec;
  int count;
};

unsigned __stdcall PostMany(void* param) {
  auto* args = static_cast<PosterArgs*>(param);
  for (int i = 0; i < args->count; ++i) {
    args->loop->PostTask(fastdelegate::Bind(args->rec, &Recorder::Add, std::to_string(i)));
  }
  args->loop->PostTask(args->loop->QuitTask());
  return 0;
}

TEST(MessageLoopTest, TasksPostedFromAnotherThreadRunInOrderOnTheLoopThread) {
  base::MessageLoop loop;
  base::scoped_refptr<Recorder> rec(new Recorder);
  PosterArgs args = {&loop, rec.get(), 2000};
  HANDLE poster = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &PostMany, &args, 0, nullptr));
  ASSERT_NE(nullptr, poster);
  loop.Run();
  WaitForSingleObject(poster, INFINITE);
  CloseHandle(poster);
  ASSERT_EQ(2000u, rec->names.size());
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(std::to_string(i), rec->names[i]);
}

TEST(MessageLoopTest, ThreadNameIsSetOnce) {
  base::MessageLoop loop;
  EXPECT_TRUE(loop.set_thread_name("ui_thread"));
  EXPECT_FALSE(loop.set_thread_name("other"));
  EXPECT_EQ("ui_thread", loop.thread_name());
}

}  // namespace

#include "base/thread.h"

#include <gtest/gtest.h>

#include <string>

#include "base/bind.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"

namespace {

struct Progress {
  int ran = 0;
  bool delayed_ran = false;
  DWORD exit_task_thread = 0;
  bool wrong_thread = false;
  DWORD expected_thread = 0;
};

void Step(Progress* progress) {
  if (GetCurrentThreadId() != progress->expected_thread) progress->wrong_thread = true;
  Sleep(0);  // Give the stopping thread a chance to overtake, if it could.
  ++progress->ran;
}

void Delayed(Progress* progress) { progress->delayed_ran = true; }
void ExitTask(Progress* progress) { progress->exit_task_thread = GetCurrentThreadId(); }

TEST(ThreadTest, StopRunsEveryQueuedTaskThenJoins) {
  base::Thread thread("file_thread");
  ASSERT_TRUE(thread.Start());
  ASSERT_NE(nullptr, thread.message_loop());
  Progress progress;
  progress.expected_thread = thread.thread_id();
  base::MessageLoop* loop = thread.message_loop();
  for (int i = 0; i < 200; ++i) loop->PostTask(fastdelegate::Bind(&Step, &progress));
  loop->PostDelayedTask(fastdelegate::Bind(&Delayed, &progress), 60 * 1000000LL);
  loop->PostExitTask(fastdelegate::Bind(&ExitTask, &progress));
  const DWORD thread_id = thread.thread_id();

  thread.Stop();
  EXPECT_EQ(200, progress.ran);
  EXPECT_FALSE(progress.wrong_thread);
  EXPECT_FALSE(progress.delayed_ran);  // Not yet due: dropped.
  EXPECT_EQ(thread_id, progress.exit_task_thread);  // Ran on the thread itself.
  EXPECT_FALSE(thread.started());
  EXPECT_EQ(nullptr, thread.message_loop());
}

TEST(ThreadTest, StopWhenNeverStartedOrAlreadyStoppedReturnsAtOnce) {
  base::Thread never("never");
  never.Stop();
  EXPECT_FALSE(never.started());

  base::Thread twice("twice");
  ASSERT_TRUE(twice.Start());
  twice.Stop();
  twice.Stop();
  EXPECT_FALSE(twice.started());

  // A stopped thread can be started again.
  ASSERT_TRUE(twice.Start());
  EXPECT_TRUE(twice.started());
}

struct LoopView {
  std::string name;
  bool current_is_published = false;
  HANDLE done;
};

void LookAtLoop(LoopView* view, base::MessageLoop* published) {
  base::MessageLoop* current = base::MessageLoop::current();
  view->current_is_published = current == published;
  view->name = current ? current->thread_name() : "";
  SetEvent(view->done);
}

TEST(ThreadTest, TheThreadsLoopCarriesItsName) {
  struct Case {
    const char* name;
    base::MessageLoop::Type type;
  };
  const Case cases[] = {{"file_thread", base::MessageLoop::TYPE_DEFAULT},
                        {"io_thread", base::MessageLoop::TYPE_IO},
                        {"log_thread", base::MessageLoop::TYPE_DEFAULT}};
  for (const Case& c : cases) {
    base::Thread thread(c.name);
    base::Thread::StartOptions options;
    options.loop_type = c.type;
    options.stack_size = 256 * 1024;
    ASSERT_TRUE(thread.Start(options));
    EXPECT_EQ(c.type, thread.message_loop()->type());
    LoopView view;
    view.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread.message_loop()->PostTask(fastdelegate::Bind(&LookAtLoop, &view, thread.message_loop()));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(view.done, 10000));
    CloseHandle(view.done);
    EXPECT_EQ(c.name, view.name);
    EXPECT_TRUE(view.current_is_published);
  }
}

TEST(ThreadTest, SingletonsAreStoppedAndDeletedByTheExitCallbacks) {
  base::ExitCallbacks exit_callbacks;
  base::Thread* file = base::FileThread();
  EXPECT_EQ(file, base::FileThread());
  EXPECT_EQ("file_thread", file->thread_name());
  EXPECT_EQ("io_thread", base::IoThread()->thread_name());
  EXPECT_EQ("log_thread", base::LogThread()->thread_name());
  ASSERT_TRUE(file->Start());
  Progress progress;
  progress.expected_thread = file->thread_id();
  file->message_loop()->PostTask(fastdelegate::Bind(&Step, &progress));

  base::ExitCallbacks::RunAll();  // Stops (after the queued task) and deletes.
  EXPECT_EQ(1, progress.ran);
  base::Thread* fresh = base::FileThread();  // A new, unstarted singleton.
  EXPECT_FALSE(fresh->started());
}

}  // namespace

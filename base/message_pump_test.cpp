// The pumps, driven through real message loops.
#include "base/message_pump_win.h"

#include <gtest/gtest.h>

#include <process.h>

#include <string>
#include <vector>

#include "base/bind.h"
#include "base/message_loop.h"
#include "base/thread.h"

namespace {

TEST(MessagePumpTest, DelayIsRoundedUpToWholeMilliseconds) {
  struct Case {
    int64_t next;
    int64_t now;
    int expected_ms;
  };
  const Case cases[] = {
      {0, 5000, -1},         // No delayed task: infinite.
      {5000, 5000, 0},       // Due now.
      {4000, 5000, 0},       // Overdue.
      {5001, 5000, 1},       // 1 us left: one whole millisecond.
      {6000, 5000, 1},
      {6001, 5000, 2},
      {3005000, 5000, 3000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected_ms, base::MessagePump::DelayMsAt(c.next, c.now)) << c.next;
  }
}

TEST(MessagePumpForUITest, TimerPeriodIsNeverBelowTenMilliseconds) {
  const int delays[] = {-1, 0, 3, 9, 10, 11, 250};
  const UINT expected[] = {10, 10, 10, 10, 10, 11, 250};
  for (size_t i = 0; i < sizeof(delays) / sizeof(delays[0]); ++i) {
    EXPECT_EQ(expected[i], base::MessagePumpForUI::TimerPeriodMs(delays[i])) << delays[i];
  }
}

// Drops a WM_QUIT that a finished top-level run left for enclosing loops.
void DrainQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

int g_counter = 0;
void Count(int* counter) { ++*counter; }

struct Poster {
  base::MessageLoop* loop;
  int count;
};

unsigned __stdcall PostFromWorker(void* param) {
  auto* poster = static_cast<Poster*>(param);
  for (int i = 0; i < poster->count; ++i) {
    poster->loop->PostTask(fastdelegate::Bind(&Count, &g_counter));
  }
  return 0;
}

TEST(MessagePumpForUITest, ManyPostsFromAnotherThreadSendOneWakeUpMessage) {
  g_counter = 0;
  base::MessageLoop loop(base::MessageLoop::TYPE_UI);
  HWND hwnd = loop.ui_pump()->message_hwnd();
  ASSERT_NE(nullptr, hwnd);

  // The UI thread is busy (blocked here) while the worker posts.
  Poster poster = {&loop, 500};
  HANDLE worker = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &PostFromWorker, &poster, 0, nullptr));
  ASSERT_NE(nullptr, worker);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);

  // Take the wake-up messages out of the queue and count them; dispatching
  // each runs one task.
  int wake_ups = 0;
  MSG msg;
  while (PeekMessageW(&msg, hwnd, base::MessagePumpForUI::kWakeUpMessage,
                      base::MessagePumpForUI::kWakeUpMessage, PM_REMOVE)) {
    ++wake_ups;
    EXPECT_EQ(reinterpret_cast<WPARAM>(loop.ui_pump()), msg.wParam);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(1, wake_ups);

  // The rest run from the loop, and a new post wakes it again.
  loop.PostTask(loop.QuitTask());
  loop.Run();
  EXPECT_EQ(500, g_counter);
}

// While a foreign modal loop (here a bare GetMessage loop, as MessageBox
// runs) has the thread, the hidden window's timer serves delayed tasks.
struct TimerProbe {
  base::MessageLoop* loop;
  HWND pump_hwnd;
  bool in_pump_timer = false;  // Dispatching the pump window's WM_TIMER.
  bool ran = false;
  bool ran_from_timer = false;
  LARGE_INTEGER posted_at = {};
  double elapsed_ms = 0;
};

void DelayedProbe(TimerProbe* probe) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  probe->elapsed_ms = 1000.0 * static_cast<double>(now.QuadPart - probe->posted_at.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
  probe->ran = true;
  probe->ran_from_timer = probe->in_pump_timer;
}

void ForeignModalLoop(TimerProbe* probe) {
  QueryPerformanceCounter(&probe->posted_at);
  probe->loop->PostDelayedTask(fastdelegate::Bind(&DelayedProbe, probe), 3000);
  MSG msg;
  while (!probe->ran && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    probe->in_pump_timer = msg.message == WM_TIMER && msg.hwnd == probe->pump_hwnd;
    DispatchMessageW(&msg);
    probe->in_pump_timer = false;
  }
  probe->loop->Quit();
}

TEST(MessagePumpForUITest, DelayedTaskDueInThreeMillisecondsIsServedByTheTenMsTimer) {
  base::MessageLoop loop(base::MessageLoop::TYPE_UI);
  TimerProbe probe;
  probe.loop = &loop;
  probe.pump_hwnd = loop.ui_pump()->message_hwnd();
  loop.PostTask(fastdelegate::Bind(&ForeignModalLoop, &probe));
  loop.Run();
  EXPECT_TRUE(probe.ran);
  EXPECT_TRUE(probe.ran_from_timer);
  EXPECT_GE(probe.elapsed_ms, 9.0);  // Not at 3 ms: the timer's 10 ms minimum.
}

void PostQuitCode(int code) { PostQuitMessage(code); }

TEST(MessagePumpForUITest, QuitInsideATaskEndsTheRunAndLaterWakeUpsAreNotServed) {
  g_counter = 0;
  base::MessageLoop* loop = new base::MessageLoop(base::MessageLoop::TYPE_UI);
  loop->PostTask(fastdelegate::Bind(&Count, &g_counter));
  loop->PostTask(loop->QuitTask());
  loop->PostTask(fastdelegate::Bind(&Count, &g_counter));
  loop->Run();
  EXPECT_EQ(1, g_counter);
  delete loop;  // The last task is dropped with its wake-up message unserved.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(1, g_counter);
}

TEST(MessagePumpForUITest, WMQuitEndsTheRunAndIsPostedAgainForEnclosingLoops) {
  base::MessageLoop loop(base::MessageLoop::TYPE_UI);
  loop.PostTask(fastdelegate::Bind(&PostQuitCode, 7));
  loop.Run();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
  DrainQuit();
}

// IO pump: a completion posted to the port reaches its handler on the IO
// thread with the byte count.
class CompletionRecorder : public base::MessagePumpForIO::IOHandler {
 public:
  CompletionRecorder() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~CompletionRecorder() override { CloseHandle(done_); }
  void OnCompletion(void* context, DWORD bytes, DWORD error) override {
    context_ = context;
    bytes_ = bytes;
    error_ = error;
    thread_id_ = GetCurrentThreadId();
    loop_name_ = base::MessageLoop::current()->thread_name();
    SetEvent(done_);
  }
  HANDLE done_;
  void* context_ = nullptr;
  DWORD bytes_ = 0;
  DWORD error_ = 12345;
  DWORD thread_id_ = 0;
  std::string loop_name_;
};

void SignalEvent(HANDLE event) { SetEvent(event); }

TEST(MessagePumpForIOTest, PostedCompletionReachesItsHandlerOnTheIOThread) {
  base::Thread io_thread("io_thread");
  base::Thread::StartOptions options;
  options.loop_type = base::MessageLoop::TYPE_IO;
  ASSERT_TRUE(io_thread.Start(options));
  base::MessagePumpForIO* pump = io_thread.message_loop()->io_pump();
  ASSERT_NE(nullptr, pump);
  HANDLE port = pump->GetCompletionPort();
  ASSERT_NE(nullptr, port);

  CompletionRecorder handler;
  int context = 0;
  ASSERT_TRUE(PostQueuedCompletionStatus(port, 1234, reinterpret_cast<ULONG_PTR>(&handler),
                                         reinterpret_cast<OVERLAPPED*>(&context)));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handler.done_, 10000));
  EXPECT_EQ(&context, handler.context_);
  EXPECT_EQ(1234u, handler.bytes_);
  EXPECT_EQ(0u, handler.error_);
  EXPECT_EQ(io_thread.thread_id(), handler.thread_id_);
  EXPECT_EQ("io_thread", handler.loop_name_);

  // Tasks and delayed tasks still flow through the same port.
  HANDLE task_ran = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  io_thread.message_loop()->PostDelayedTask(fastdelegate::Bind(&SignalEvent, task_ran), 5000);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(task_ran, 10000));
  CloseHandle(task_ran);

  ResetEvent(handler.done_);
  ASSERT_TRUE(pump->PostCompletion(&handler, nullptr, 77));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handler.done_, 10000));
  EXPECT_EQ(77u, handler.bytes_);
  io_thread.Stop();
}

TEST(MessagePumpDefaultTest, SleepingWorkerWakesForPostsAndDelayedTasks) {
  base::Thread worker("file_thread");
  ASSERT_TRUE(worker.Start());
  HANDLE immediate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE delayed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  worker.message_loop()->PostDelayedTask(fastdelegate::Bind(&SignalEvent, delayed), 20000);
  worker.message_loop()->PostTask(fastdelegate::Bind(&SignalEvent, immediate));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(immediate, 10000));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(delayed, 10000));
  worker.Stop();
  CloseHandle(immediate);
  CloseHandle(delayed);
}

}  // namespace

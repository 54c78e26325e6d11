#include "net/testing/test_loops.h"

#include "base/bind.h"

namespace net {

namespace {
constexpr int64_t kCheckPeriodUs = 2000;

// UI thread.
void SetFlag(bool* flag) { *flag = true; }
// "io_thread".
void BounceToUi(bool* flag) { g_ui_loop->PostTask(fastdelegate::Bind(&SetFlag, flag)); }
}  // namespace

TestLoops::TestLoops()
    : ui_loop_(new base::MessageLoop(base::MessageLoop::TYPE_UI)),
      io_thread_("io_thread"),
      file_thread_("file_thread") {
  ui_loop_->set_thread_name("ui_thread");
  g_ui_loop = ui_loop_.get();
  base::Thread::StartOptions file_options;
  file_thread_.Start(file_options);
  g_file_loop = file_thread_.message_loop();
  base::Thread::StartOptions io_options;
  io_options.loop_type = base::MessageLoop::TYPE_IO;
  io_thread_.Start(io_options);
  g_io_loop = io_thread_.message_loop();
}

TestLoops::~TestLoops() {
  StopIoThread();
  file_thread_.Stop();
  g_file_loop = nullptr;
  // Tasks still queued on the UI loop (late progress, dropped completions)
  // release their references as the loop is deleted.
  ui_loop_.reset();
  g_ui_loop = nullptr;
}

void TestLoops::StopIoThread() {
  io_thread_.Stop();
  g_io_loop = nullptr;
}

bool TestLoops::RunUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  if (done()) return true;
  done_ = done;
  deadline_ = GetTickCount() + timeout_ms;
  ui_loop_->PostDelayedTask(fastdelegate::BindUnretained(this, &TestLoops::Check),
                            kCheckPeriodUs);
  ui_loop_->Run();
  done_ = nullptr;
  return done();
}

void TestLoops::Check() {
  if (done_() || static_cast<LONG>(GetTickCount() - deadline_) >= 0) {
    base::MessageLoop::current()->Quit();
    return;
  }
  ui_loop_->PostDelayedTask(fastdelegate::BindUnretained(this, &TestLoops::Check),
                            kCheckPeriodUs);
}

void TestLoops::Flush() {
  // Two round trips UI -> IO -> UI: a completion that the IO pump takes in
  // the same pass as the first hop has posted its dispatch before the second
  // hop comes back.
  for (int round = 0; round < 2 && g_io_loop; ++round) {
    bool back = false;
    g_io_loop->PostTask(fastdelegate::Bind(&BounceToUi, &back));
    RunUntil([&back] { return back; }, 30000);
  }
}

}  // namespace net

// TestLoops: the threads a transfer needs, for tests and tools. The calling
// thread gets the UI loop; "io_thread" (completion-port pump) and
// "file_thread" are started; g_ui_loop, g_io_loop and g_file_loop name them
// while the object lives.
//
// Threads: construct, run and destroy on one thread (the test's main thread).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "base/message_loop.h"
#include "base/thread.h"

namespace net {

class TestLoops {
 public:
  TestLoops();
  TestLoops(const TestLoops&) = delete;
  TestLoops& operator=(const TestLoops&) = delete;
  // Stops "io_thread" then "file_thread", deletes the UI loop and clears the
  // loop pointers.
  ~TestLoops();

  // Runs the UI loop until `done()` holds (checked every few milliseconds)
  // or `timeout_ms` passed; returns done().
  bool RunUntil(const std::function<bool()>& done, DWORD timeout_ms = 60000);

  // Runs the UI loop until every task already posted to "io_thread" has run
  // and the UI tasks those may have posted have run as well.
  void Flush();

  // Stops "io_thread" now (its loop is destroyed); the destructor then skips
  // it.
  void StopIoThread();

  base::MessageLoop* ui_loop() const { return ui_loop_.get(); }

 private:
  void Check();

  std::unique_ptr<base::MessageLoop> ui_loop_;
  base::Thread io_thread_;
  base::Thread file_thread_;
  std::function<bool()> done_;
  DWORD deadline_ = 0;
};

}  // namespace net

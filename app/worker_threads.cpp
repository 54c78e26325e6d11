#include "app/worker_threads.h"

#include "base/message_loop.h"
#include "base/thread.h"

namespace app {

namespace {

void StartWorker(base::Thread* thread, base::MessageLoop::Type type, base::MessageLoop** loop) {
  if (!thread->message_loop()) {
    base::Thread::StartOptions options;
    options.loop_type = type;
    thread->Start(options);
  }
  *loop = thread->message_loop();
}

}  // namespace

void StartWorkerThreads() {
  StartWorker(base::FileThread(), base::MessageLoop::TYPE_DEFAULT, &g_file_loop);
  StartWorker(base::IoThread(), base::MessageLoop::TYPE_IO, &g_io_loop);
}

void StopWorkerThreads() {
  base::IoThread()->Stop();
  g_io_loop = nullptr;
  base::FileThread()->Stop();
  g_file_loop = nullptr;
  base::LogThread()->Stop();
}

}  // namespace app

#include "simlog/log_assist.h"

#include <windows.h>

#include <cstdio>

#include "base/bind.h"
#include "base/thread.h"
#include "simlog/log.h"
#include "simlog/log_file.h"

namespace simlog {

LogAssist* LogAssist::Instance() {
  static LogAssist instance;
  return &instance;
}

void LogAssist::Initialise(int level, std::string folder) {
  if (folder.empty() || initialised_) return;
  initialised_ = true;
  enabled_ = true;
  level_threshold_ = level;
  base::Thread* thread = base::LogThread();
  if (thread->message_loop() == nullptr) {
    thread->SetName("log_thread");
    base::Thread::StartOptions options;
    options.loop_type = base::MessageLoop::TYPE_DEFAULT;
    thread->Start(options);
  }
  if (base::MessageLoop* loop = thread->message_loop())
    loop->PostTask(fastdelegate::BindUnretained(this, &LogAssist::OpenFile, folder));
}

void LogAssist::Dispatch(std::string source, int line, int level, std::string message) {
  if (!enabled_ || !initialised_ || level > level_threshold_) return;
  base::Thread* thread = base::LogThread();
  base::MessageLoop* loop = thread->message_loop();
  if (loop == nullptr || !thread->IsRunning()) return;
  loop->PostTask(fastdelegate::BindUnretained(this, &LogAssist::WriteLine, source, line,
                                              level, message));
}

void LogAssist::OpenFile(std::string folder) { log_file_path_ = ChooseLogFile(folder); }

void LogAssist::WriteLine(std::string source, int line, int level, std::string message) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string text = FormatLogLine(now, level, message, source.c_str(), line, options_,
                                   DebugLogging());
  if (options_ & kOptionStdout) {
    fputs(text.c_str(), stdout);
    fflush(stdout);
  }
  if ((options_ & kOptionAppendToFile) == 0 || log_file_path_.empty()) return;
  // Opened per line: nobody outside finds the file locked between lines.
  FILE* file = fopen(log_file_path_.c_str(), "a");
  if (file == nullptr) return;
  fputs(text.c_str(), file);
  fclose(file);
}

}  // namespace simlog

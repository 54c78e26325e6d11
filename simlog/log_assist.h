// LogAssist: the state of the process's log writer and the tasks that move
// a line from its caller to the file.
//
// Why two hops: callers on any thread post to the UI loop, where the
// filter runs without locks (the logger's fields are written only on the UI
// thread and the log thread); the UI thread posts the accepted line to
// "log_thread", which alone opens the file, once per line, so an outside
// reader or deleter never finds the file locked between lines. Both hops are
// FIFO loops, so one thread's lines keep their order. When "log_thread" has
// stopped (shutdown), lines still queued behind its quit task are dropped.
//
// The tasks are bound without references: the one instance lives for the
// whole process.
#pragma once

#include <string>

namespace simlog {

class LogAssist {
 public:
  // The process-wide instance.
  static LogAssist* Instance();

  // UI thread. Does nothing for an empty folder or when already done. Sets
  // the level threshold, starts "log_thread" if it does not run, and posts
  // the file choice to it.
  void Initialise(int level, std::string folder);
  // UI thread. Posts the line to "log_thread" if the logger is initialised
  // and enabled, `level` is within the threshold and the thread runs; drops
  // it otherwise.
  void Dispatch(std::string source, int line, int level, std::string message);

  // Log thread. Chooses the file in `folder`.
  void OpenFile(std::string folder);
  // Log thread. Formats one line and appends it to the file.
  void WriteLine(std::string source, int line, int level, std::string message);

  // The chosen file; read on the log thread, or after it has stopped.
  const std::string& log_file_path() const { return log_file_path_; }
  bool initialised() const { return initialised_; }
  // Options (kOption* in log_file.h); change only before Initialise.
  void set_options(unsigned options) { options_ = options; }

 private:
  LogAssist() = default;

  int level_threshold_ = 0;
  std::string log_file_path_;
  unsigned options_ = 0x2D;
  bool enabled_ = false;
  bool initialised_ = false;
};

}  // namespace simlog

// The log writer's file choice and line layout, kept apart from the
// threads that drive them so that both can be tested directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace simlog {

// A file is not reused once it has reached this size; checked only when the
// file is chosen at start.
constexpr uint64_t kLogFileReuseLimit = 0x20000;  // 128 KiB

// Line options.
constexpr unsigned kOptionTimeStamp = 0x01;
constexpr unsigned kOptionLevel = 0x02;
constexpr unsigned kOptionSourceSuffix = 0x04;  // only while debugging
constexpr unsigned kOptionAppendToFile = 0x08;
constexpr unsigned kOptionStdout = 0x10;
constexpr unsigned kDefaultOptions = 0x2D;

// What the chooser knows of "0.log" and "1.log".
struct LogFileFacts {
  bool exists = false;
  uint64_t size = 0;
  FILETIME last_write = {};
};

struct LogFileChoice {
  int index = 0;               // 0 or 1
  bool delete_first = false;   // the chosen file is deleted, then started anew
};

// Pure. The first file (0, then 1) that is missing or below 128 KiB; when
// both are at least 128 KiB, the older one (file 0 when equally old), to be
// deleted and reused.
LogFileChoice ChooseLogFileIndex(const LogFileFacts& file0, const LogFileFacts& file1);

// Log thread. Makes sure `folder` exists (relative folders are taken from
// the program's own folder; a file of that name is deleted first), applies
// ChooseLogFileIndex and returns the chosen file's path, or an empty path
// when the folder cannot be made.
std::string ChooseLogFile(const std::string& folder);

// Pure. One line: [time stamp "%d.%d.%d %02d:%02d:%02d:%03d "] [level "%d "]
// message [tab file-name "(" line ")" when debugging] "\n".
std::string FormatLogLine(const SYSTEMTIME& time, int level, const std::string& message,
                          const char* source, int line, unsigned options, bool debug);

}  // namespace simlog

// The one logging call of the installer.
//
//   QIV_LOG(CGlobal::debug(), "downloaded %u of %u", done, total);
//   QIV_LOG(true, "downloader start:OS language:%d    %d", lang_id, chinese);
//   QIV_DLOG("retry download");   // written only while debug logging is on
//
// A call formats its message on the calling thread (LogFormat, at most 2046
// characters) and hands it to LogWrite, which posts it to the UI loop; the UI
// thread filters it and posts it on to "log_thread", the only thread that
// touches the log file. No caller ever waits for the disk. Messages from one
// thread keep their order. Lines logged before the UI loop runs are written
// once it runs, after the log file has been chosen (LogInit is posted first).
//
// The first argument says whether the line is written at all: nearly every
// call passes the debug flag, so that without "-debug" only the start-up
// line reaches the file. In debug mode each line ends with a tab and
// "file.cpp(line)" of the call.
#pragma once

#include <string>

namespace simlog {

// Longest message after formatting; longer text is cut.
constexpr size_t kMaxMessageLength = 2046;

// printf-style formatting, cut at kMaxMessageLength characters. Any thread.
std::string LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Posts (source, line, message) to the UI loop when `write` is true; does
// nothing otherwise or when there is no UI loop. `source` is the calling
// file's path (only its file name is written); a null source or message is
// written as "NULL". Any thread.
void LogWrite(const char* source, int line, const std::string& message, bool write);
void LogWrite(const char* source, int line, const char* message, bool write);

// Posts the logger's initialisation to the UI loop: level 3, log files in
// `folder` (an ANSI path). The first task the entry point posts to the UI
// loop. Main thread.
void LogInit(const std::string& folder);

// The process-wide debug flag as the logger sees it: it decides the source
// suffix and QIV_DLOG. Set once at start-up from the command line. Any thread.
void SetDebugLogging(bool on);
bool DebugLogging();

}  // namespace simlog

// Formats and writes one line when `write` is true, tagged with this file
// and line.
#define QIV_LOG(write, ...) \
  ::simlog::LogWrite(__FILE__, __LINE__, ::simlog::LogFormat(__VA_ARGS__), (write))

// QIV_LOG with the debug flag: the common case.
#define QIV_DLOG(...) QIV_LOG(::simlog::DebugLogging(), __VA_ARGS__)

#include "simlog/log_assist.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "base/bind.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "base/thread.h"
#include "installer/util/string_conv.h"
#include "installer/util/test_folder.h"
#include "simlog/log.h"

namespace simlog {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  // The file is written in text mode: lines end with "\r\n".
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Strips the "y.m.d hh:mm:ss:mmm " time stamp; empty if there is none.
std::string AfterTimeStamp(const std::string& line) {
  int year, month, day, hour, minute, second, milli, consumed = 0;
  if (sscanf(line.c_str(), "%d.%d.%d %d:%d:%d:%d %n", &year, &month, &day, &hour, &minute,
             &second, &milli, &consumed) != 7 ||
      consumed == 0)
    return std::string();
  return line.substr(static_cast<size_t>(consumed));
}

// The logger is one per process and initialises once, so the whole journey
// is one test: lines posted before the UI loop runs, the file choice, the
// cut, the filter and the shutdown order of the installer.
TEST(LogAssistTest, LinesTravelFromCallersThroughTheUiLoopToTheFile) {
  base::ExitCallbacks exit_callbacks;
  TestFolder folder;
  const std::string log_folder = WideToAnsi(folder.Child(L"KalmorInstallPack"));
  base::MessageLoop ui_loop(base::MessageLoop::TYPE_UI);
  g_ui_loop = &ui_loop;
  SetDebugLogging(true);

  LogWrite(__FILE__, __LINE__, "before init: dropped", true);
  LogInit(log_folder);
  QIV_LOG(true, "downloader start:OS language:%d    %d", 2052, 1);
  const int line_of_start = __LINE__ - 1;
  QIV_LOG(false, "not asked for: dropped");
  QIV_LOG(true, "%s", std::string(3000, 'z').c_str());
  LogWrite(__FILE__, 7, std::string(2500, 'y'), true);
  LogWrite(__FILE__, 8, static_cast<const char*>(nullptr), true);
  // A line logged from another thread before the loop runs.
  base::Thread other("other_thread");
  ASSERT_TRUE(other.Start());
  struct Poster {
    static void Post() { QIV_LOG(true, "from another thread"); }
  };
  other.message_loop()->PostTask(fastdelegate::Bind(&Poster::Post));
  other.Stop();

  ui_loop.PostTask(ui_loop.QuitTask());
  ui_loop.Run();
  base::LogThread()->Stop();
  // After the log thread has ended, lines are dropped on the UI thread.
  QIV_LOG(true, "after shutdown: dropped");
  ui_loop.PostTask(ui_loop.QuitTask());
  ui_loop.Run();
  g_ui_loop = nullptr;

  const std::string path = LogAssist::Instance()->log_file_path();
  EXPECT_EQ(log_folder + "\\0.log", path);
  std::vector<std::string> lines = Lines(ReadTestFile(AnsiToWide(path)));
  ASSERT_EQ(5u, lines.size()) << ReadTestFile(AnsiToWide(path));
  std::vector<std::string> bodies;
  for (const std::string& line : lines) {
    bodies.push_back(AfterTimeStamp(line));
    EXPECT_FALSE(bodies.back().empty()) << line;
  }
  EXPECT_EQ("downloader start:OS language:2052    1\tlog_assist_test.cpp(" +
                std::to_string(line_of_start) + ")",
            bodies[0]);
  EXPECT_EQ(std::string(2046, 'z'), bodies[1].substr(0, bodies[1].find('\t')));
  EXPECT_EQ(std::string(2046, 'y') + "\tlog_assist_test.cpp(7)", bodies[2]);
  EXPECT_EQ("NULL\tlog_assist_test.cpp(8)", bodies[3]);
  EXPECT_EQ(0u, bodies[4].find("from another thread\tlog_assist_test.cpp("));
}

}  // namespace
}  // namespace simlog

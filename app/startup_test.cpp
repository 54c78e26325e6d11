#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/global.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "base/thread.h"
#include "installer/util/string_conv.h"
#include "installer/util/test_folder.h"
#include "simlog/log.h"
#include "simlog/log_assist.h"

namespace app {
namespace {

// The two start-up lines, logged before the UI loop runs, reach the log file
// in the pack folder once it runs; the version line only in debug mode.
TEST(StartupTest, StartupLinesAreWrittenOnceTheLoopRuns) {
  base::ExitCallbacks exit_callbacks;
  TestFolder folder;
  const StartupSettings saved = CGlobal::startup();
  StartupSettings& settings = CGlobal::mutable_startup();
  settings.pack_folder = WideToAnsi(folder.Child(L"KalmorInstallPack"));
  settings.lang_id = 0x0804;
  settings.chinese = 1;
  settings.debug = true;
  settings.external_servers = false;
  simlog::SetDebugLogging(true);

  base::MessageLoop ui_loop(base::MessageLoop::TYPE_UI);
  g_ui_loop = &ui_loop;
  InitLogAndStartupLines();
  ui_loop.PostTask(ui_loop.QuitTask());
  ui_loop.Run();
  base::LogThread()->Stop();
  g_ui_loop = nullptr;
  simlog::SetDebugLogging(false);
  CGlobal::mutable_startup() = saved;

  EXPECT_EQ(WideToAnsi(folder.Child(L"KalmorInstallPack\\0.log")),
            simlog::LogAssist::Instance()->log_file_path());
  std::string text = ReadTestFile(folder.Child(L"KalmorInstallPack\\0.log"));
  EXPECT_NE(std::string::npos, text.find(" downloader start:OS language:2052    1\tstartup.cpp("))
      << text;
  // No version resource in this program: the version text is empty.
  std::string version_line =
      WideToAnsi(L"内网版程序启动,版本为国内版， 程序版本号：") + "\tstartup.cpp(";
  EXPECT_NE(std::string::npos, text.find(version_line)) << text;
}

}  // namespace
}  // namespace app

// qiv_diag: a console program for support. It reads the machine and the
// start-up settings exactly as the installer does (the same code) and prints
// them as key=value lines, stable in name and order:
//
//   version_code version_name lang_id language_index chinese main_shortcut
//   program_folder default_root local_appdata pack_folder mac memory_mb
//   cpu_type cpu_count free_disk_mb debug own_version
//
// Command-line switches ("-debug", ...) and the environment variable are
// read as the installer reads them. Text is printed as UTF-8.
//
//   qiv_diag --log N   also runs the installer's log path: a UI loop, the
//                      logger in the pack folder with debug on, N numbered
//                      lines from each of three threads, the installer's
//                      shutdown order, then "log_file=<path>" last.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/default_folders.h"
#include "app/global.h"
#include "app/startup.h"
#include "app/worker_threads.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "base/thread.h"
#include "installer/util/file_version.h"
#include "installer/util/mac_address.h"
#include "installer/util/string_conv.h"
#include "installer/util/system_util.h"
#include "installer/util/windows_version.h"
#include "simlog/log.h"
#include "simlog/log_assist.h"

namespace {

constexpr int kLogThreads = 3;

void Print(const char* key, const std::string& value) {
  printf("%s=%s\n", key, value.c_str());
}

void PrintWide(const char* key, const std::wstring& value) { Print(key, WideToUtf8(value)); }

void PrintNumber(const char* key, unsigned long long value) {
  Print(key, std::to_string(value));
}

void PrintSettings() {
  const StartupSettings& s = CGlobal::startup();
  int code = GetWindowsVersionCode();
  Print("version_code", std::to_string(code));
  Print("version_name", GetWindowsVersionName());
  char lang[16];
  snprintf(lang, sizeof(lang), "0x%04x", static_cast<unsigned>(s.lang_id));
  Print("lang_id", lang);
  Print("language_index", std::to_string(s.language_index));
  Print("chinese", std::to_string(s.chinese));
  PrintWide("main_shortcut", s.main_shortcut_name);
  PrintWide("program_folder", s.program_folder_name);
  PrintWide("default_root", s.default_root);
  PrintWide("local_appdata", s.local_appdata);
  PrintWide("pack_folder", AnsiToWide(s.pack_folder));
  std::string mac = GetMacAddress();
  Print("mac", mac.empty() ? kFallbackMacAddress : mac);
  unsigned long long memory_mb = 0;
  ReadPhysicalMemoryMb(&memory_mb);
  PrintNumber("memory_mb", memory_mb);
  unsigned cpu_type = 0, cpu_count = 0;
  ReadProcessorInfo(&cpu_type, &cpu_count);
  PrintNumber("cpu_type", cpu_type);
  PrintNumber("cpu_count", cpu_count);
  unsigned free_mb = 0;
  ReadFreeDiskMb(s.local_appdata, &free_mb);
  PrintNumber("free_disk_mb", free_mb);
  Print("debug", s.debug ? "1" : "0");
  PrintWide("own_version", GetOwnFileVersion());
  fflush(stdout);
}

void WriteNumberedLines(int thread_number, int count) {
  const unsigned long pid = GetCurrentProcessId();
  for (int i = 1; i <= count; ++i)
    QIV_LOG(true, "diag pid=%lu thread=%d line=%d", pid, thread_number, i);
}

// Main thread. Mirrors the installer's spine around the log: worker threads,
// UI loop, log initialisation as the loop's first task; lines from three
// threads; the loop quits once they have all posted; then "io_thread",
// "file_thread" and "log_thread" stop in that order (the log thread writes
// everything queued before its quit) and the UI loop goes last.
std::string RunLog(int count) {
  CGlobal::mutable_startup().debug = true;
  simlog::SetDebugLogging(true);

  app::StartWorkerThreads();

  auto* ui_loop = new base::MessageLoop(base::MessageLoop::TYPE_UI);
  ui_loop->set_thread_name("ui_thread");
  g_ui_loop = ui_loop;
  simlog::LogInit(CGlobal::pack_folder());

  std::vector<std::thread> writers;
  for (int t = 1; t <= kLogThreads; ++t) writers.emplace_back(WriteNumberedLines, t, count);
  // Quits the UI loop behind every line the writers posted.
  std::thread watcher([&writers, ui_loop] {
    for (std::thread& writer : writers) writer.join();
    ui_loop->PostTask(ui_loop->QuitTask());
  });

  ui_loop->Run();
  watcher.join();

  app::StopWorkerThreads();
  g_ui_loop = nullptr;
  delete ui_loop;
  return simlog::LogAssist::Instance()->log_file_path();
}

int LogCountFromArguments(int argc, wchar_t** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (wcscmp(argv[i], L"--log") == 0) return _wtoi(argv[i + 1]);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  base::ExitCallbacks exit_callbacks;
  app::InitCommandLineAndLanguage();
  app::InitDefaultFolders();
  PrintSettings();

  int count = LogCountFromArguments(argc, argv);
  if (count > 0) {
    std::string log_file = RunLog(count);
    PrintWide("log_file", AnsiToWide(log_file));
  }
  base::ExitCallbacks::RunAll();
  return 0;
}

#include "app/startup.h"

#include <cwchar>

#include "app/command_line.h"
#include "app/global.h"
#include "app/language.h"
#include "installer/util/file_version.h"
#include "installer/util/string_conv.h"
#include "simlog/log.h"

namespace app {

namespace {

// The version line, in the system code page like every log line.
std::string EditionAndVersionLine() {
  wchar_t path[MAX_PATH] = {0};
  wchar_t version[200] = {0};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) GetFileVersionText(path, version, 200);
  std::wstring line = std::wstring(CGlobal::external_servers() ? L"官网版" : L"内网版") +
                      L"程序启动,版本为" +
                      (CGlobal::international() ? L"国际版" : L"国内版") +
                      L"， 程序版本号：" + version;
  return WideToAnsi(line);
}

}  // namespace

void InitCommandLineAndLanguage() {
  ParseCommandLine(ProcessArguments());
  InitLanguage();
  // The server endpoints depend on both the switches and the language
  // index: they are filled here, once both are final.
  simlog::SetDebugLogging(CGlobal::debug());
}

void InitLogAndStartupLines() {
  simlog::LogInit(CGlobal::pack_folder());
  QIV_LOG(true, "downloader start:OS language:%d    %d", CGlobal::lang_id(), CGlobal::chinese());
  QIV_LOG(CGlobal::debug(), "%s", EditionAndVersionLine().c_str());
}

}  // namespace app

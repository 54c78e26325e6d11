#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include "app/global.h"

namespace app {

namespace {

const char kDebugVariable[] = "KalmorDebug1549";

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

void ApplyCommandLineArguments(const std::vector<std::wstring>& args, CommandLineFlags* flags) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (Contains(arg, L"-fileurl:")) {
      flags->file_url = true;
    } else if (Contains(arg, L"-debug")) {
      flags->debug = true;
    } else if (Contains(arg, L"-unExternalQiv:")) {
      flags->external_servers = false;
    }
  }
}

std::vector<std::wstring> ProcessArguments() {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 0; i < count; ++i) args.push_back(argv[i]);
  LocalFree(argv);
  return args;
}

int ParseCommandLine(const std::vector<std::wstring>& args) {
  StartupSettings& settings = CGlobal::mutable_startup();
  CommandLineFlags flags;
  flags.debug = settings.debug;
  flags.external_servers = settings.external_servers;
  flags.file_url = settings.file_url;
  ApplyCommandLineArguments(args, &flags);

  // The answer is the value's length, or the size it needs when it is longer
  // than the buffer: either way, non-zero means set and not empty.
  char value[100] = {0};
  if (GetEnvironmentVariableA(kDebugVariable, value, sizeof(value)) > 0) flags.debug = true;

  settings.debug = flags.debug;
  settings.external_servers = flags.external_servers;
  settings.file_url = flags.file_url;
  return 0;
}

}  // namespace app

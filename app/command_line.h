// The installer's command-line switches and its one environment variable.
//
//   "-fileurl:"        (any text may follow) the package may be downloaded
//                      even when the server's size differs from the probe's
//   "-debug"           debug logging
//   "-unExternalQiv:"  use the test servers instead of the production ones
//   KalmorDebug1549    environment variable: non-empty turns debugging on
//
// Each switch is found as a substring anywhere in an argument; per argument
// only the first switch in the order above counts. Unknown arguments are
// ignored. Main thread, at start.
#pragma once

#include <string>
#include <vector>

namespace app {

struct CommandLineFlags {
  bool debug = false;
  bool external_servers = true;
  bool file_url = false;
};

// Pure. Applies args[1..] (args[0] is the program) to *flags.
void ApplyCommandLineArguments(const std::vector<std::wstring>& args, CommandLineFlags* flags);

// The process's arguments, split by CommandLineToArgvW.
std::vector<std::wstring> ProcessArguments();

// Applies the arguments and the environment variable "KalmorDebug1549" to
// CGlobal's start-up settings. Always returns 0.
int ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace app

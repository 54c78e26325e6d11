// The Windows version as one small code, decided once per process.
//
// The decision (WindowsVersionCodeFor) is a pure function of the facts the
// system reports, so that every row of the table can be tested; the read
// (GetWindowsVersionCode) is a thin wrapper that gathers the facts once and
// caches the code. Codes:
//   -1000 not NT, the query failed, or a version not in this table
//    -999 NT before 5.0, Windows 2000, XP without Service Pack 3
//       5 XP SP3                 6 version 5.2 (Server 2003, XP x64)
//       7 Vista without SP       8 Vista SP1/SP2
//       9 Windows 7             10 version 6.2 (Windows 8)
//      11 version 6.3 (8.1)     12 version 6.2 reported, but the kernel's
//                                  own numbers say 10 (Windows 10 and later
//                                  without a compatibility manifest)
#pragma once

#include <string>

constexpr int kWindowsVersionUnknown = -1000;
constexpr int kWindowsVersionTooOld = -999;

struct WindowsVersionFacts {
  bool query_succeeded = false;      // GetVersionExW
  bool nt_platform = false;          // VER_PLATFORM_WIN32_NT
  unsigned major = 0;
  unsigned minor = 0;
  std::wstring service_pack;         // szCSDVersion
  unsigned kernel_major = 0;         // RtlGetNtVersionNumbers; 0 when missing
};

// Pure: the code of the table above.
int WindowsVersionCodeFor(const WindowsVersionFacts& facts);
// Pure: "Windows2000", "WindowsXP", "WindowsServer2003", "WindowsVista",
// "Windows7", "Windows8", "Windows8.1", "Windows10", else "unknown".
const char* WindowsVersionNameFor(int code);

// The running system's facts (GetVersionExW, RtlGetNtVersionNumbers).
WindowsVersionFacts ReadWindowsVersionFacts();

// Cached code of the running system. Any thread: concurrent first calls
// compute the same value.
int GetWindowsVersionCode();
std::string GetWindowsVersionName();
bool IsWindows7();

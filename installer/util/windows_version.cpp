#include "installer/util/windows_version.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

namespace {

// -1 means "not computed yet".
std::atomic<int> g_cached_code{-1};

bool ServicePackIs(const std::wstring& text, const wchar_t* expected) {
  return _wcsnicmp(text.c_str(), expected, 127) == 0;
}

int CodeForMajor5(const WindowsVersionFacts& facts) {
  switch (facts.minor) {
    case 0:
      return kWindowsVersionTooOld;
    case 1:
      return ServicePackIs(facts.service_pack, L"Service Pack 3") ? 5
                                                                  : kWindowsVersionTooOld;
    case 2:
      return 6;
    default:
      return kWindowsVersionUnknown;
  }
}

int CodeForMajor6(const WindowsVersionFacts& facts) {
  switch (facts.minor) {
    case 0:
      return ServicePackIs(facts.service_pack, L"Service Pack 1") ||
                     ServicePackIs(facts.service_pack, L"Service Pack 2")
                 ? 8
                 : 7;
    case 1:
      return 9;
    case 2:
      // Without a manifest naming Windows 10, GetVersionExW stops at 6.2;
      // the kernel's own numbers tell the truth.
      return facts.kernel_major == 10 ? 12 : 10;
    case 3:
      return 11;
    default:
      return kWindowsVersionUnknown;
  }
}

}  // namespace

int WindowsVersionCodeFor(const WindowsVersionFacts& facts) {
  if (!facts.query_succeeded || !facts.nt_platform) return kWindowsVersionUnknown;
  if (facts.major < 5) return kWindowsVersionTooOld;
  if (facts.major == 5) return CodeForMajor5(facts);
  if (facts.major == 6) return CodeForMajor6(facts);
  return kWindowsVersionUnknown;
}

const char* WindowsVersionNameFor(int code) {
  switch (code) {
    case 1: return "Windows2000";
    case 2: case 3: case 4: case 5: return "WindowsXP";
    case 6: return "WindowsServer2003";
    case 7: case 8: return "WindowsVista";
    case 9: return "Windows7";
    case 10: return "Windows8";
    case 11: return "Windows8.1";
    case 12: return "Windows10";
    default: return "unknown";
  }
}

WindowsVersionFacts ReadWindowsVersionFacts() {
  WindowsVersionFacts facts;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  facts.query_succeeded = GetVersionExW(&info) != FALSE;
#pragma GCC diagnostic pop
  if (!facts.query_succeeded) return facts;
  facts.nt_platform = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  facts.major = info.dwMajorVersion;
  facts.minor = info.dwMinorVersion;
  info.szCSDVersion[127] = 0;
  facts.service_pack = info.szCSDVersion;

  using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto get_numbers = ntdll == nullptr
      ? nullptr
      : reinterpret_cast<RtlGetNtVersionNumbersFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(ntdll, "RtlGetNtVersionNumbers")));
  if (get_numbers != nullptr) {
    DWORD major = 0, minor = 0, build = 0;
    get_numbers(&major, &minor, &build);
    facts.kernel_major = major;
  }
  return facts;
}

int GetWindowsVersionCode() {
  int code = g_cached_code.load();
  if (code != -1) return code;
  code = WindowsVersionCodeFor(ReadWindowsVersionFacts());
  g_cached_code.store(code);
  return code;
}

std::string GetWindowsVersionName() {
  return WindowsVersionNameFor(GetWindowsVersionCode());
}

bool IsWindows7() { return GetWindowsVersionCode() == 9; }

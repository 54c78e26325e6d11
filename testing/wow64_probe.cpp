// wow64_probe: prints how Windows sees this process: whether it runs under
// WoW64 and where its view of HKLM\SOFTWARE lives in the native registry.
//
//   wow64_probe.exe                  prints the facts
//   wow64_probe.exe --expect win32   also checks them against a 32-bit Windows
//   wow64_probe.exe --expect wow64   ... or a 64-bit Windows running us 32-bit
//
// Exit code: 0 when the facts agree with each other (and with --expect),
// 1 otherwise, 2 on bad arguments. The 32-bit smoke suite of the test
// virtual machine runs it in both of its Wine prefixes.
// Single-threaded.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t kNativePrefix[] = L"SOFTWARE\\";
const wchar_t kWow64Prefix[] = L"SOFTWARE\\Wow6432Node\\";
const wchar_t kProbeKey[] = L"QivWow64Probe";

// The decision: the native registry path under which a 32-bit process's
// HKLM\SOFTWARE keys are stored.
const wchar_t* ChosenPrefix(bool wow64) {
  return wow64 ? kWow64Prefix : kNativePrefix;
}

// Owns an open registry key.
class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() {
    if (key_) RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  HKEY* receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Reads IsWow64Process through GetProcAddress: Windows before XP SP2 lacks it.
// Returns false when the process is not under WoW64 or the call is missing.
bool IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return false;
  auto fn = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return fn && fn(GetCurrentProcess(), &wow64) && wow64;
}

// Finds where the registry really put a key this process created in its own
// view: a volatile key under HKLM\SOFTWARE, looked up again through the
// 64-bit view. Returns the observed native prefix, or an empty string when
// the key could not be made (no rights).
std::wstring ObservedPrefix() {
  std::wstring own_path = std::wstring(kNativePrefix) + kProbeKey;
  ScopedKey created;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, own_path.c_str(), 0, nullptr,
                      REG_OPTION_VOLATILE, KEY_READ, nullptr, created.receive(),
                      nullptr) != ERROR_SUCCESS) {
    return std::wstring();
  }
  std::wstring observed = kNativePrefix;
  std::wstring redirected = std::wstring(kWow64Prefix) + kProbeKey;
  ScopedKey found;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, redirected.c_str(), 0,
                    KEY_READ | KEY_WOW64_64KEY, found.receive()) == ERROR_SUCCESS) {
    observed = kWow64Prefix;
  }
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, own_path.c_str());
  return observed;
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());  // the prefixes are ASCII
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* expect = nullptr;
  if (argc == 3 && std::wcscmp(argv[1], L"--expect") == 0 &&
      (std::wcscmp(argv[2], L"win32") == 0 || std::wcscmp(argv[2], L"wow64") == 0)) {
    expect = argv[2];
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: wow64_probe [--expect win32|wow64]\n");
    return 2;
  }

  const bool wow64 = IsWow64();
  const std::wstring chosen = ChosenPrefix(wow64);
  const std::wstring observed = ObservedPrefix();
  std::printf("pointer size: %u\n", static_cast<unsigned>(sizeof(void*)));
  std::printf("IsWow64Process: %s\n", wow64 ? "true" : "false");
  std::printf("registry view prefix: %s\n", Narrow(chosen).c_str());
  std::printf("observed view prefix: %s\n",
              observed.empty() ? "(no rights to probe)" : Narrow(observed).c_str());

  bool ok = observed == chosen;
  if (expect) {
    const bool want_wow64 = std::wcscmp(expect, L"wow64") == 0;
    ok = ok && sizeof(void*) == 4 && wow64 == want_wow64;
  }
  std::printf("wow64_probe: %s\n", ok ? "OK" : "MISMATCH");
  return ok ? 0 : 1;
}

#include "installer/util/registry_util.h"

#include "installer/util/scoped_handle.h"

namespace {

// 2048 bytes: 1023 characters and a terminator that is always there.
constexpr DWORD kValueBufferBytes = 2048;

}  // namespace

bool RegReadString(HKEY root, const std::wstring& subkey,
                   const std::wstring& name, std::wstring* value) {
  if (value == nullptr) return false;
  ScopedRegKey key;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                    key.receive()) != ERROR_SUCCESS)
    return false;
  wchar_t buffer[kValueBufferBytes / sizeof(wchar_t) + 1] = {0};
  DWORD type = 0;
  DWORD size = kValueBufferBytes;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return false;
  // The extra element keeps a value stored without a terminator terminated.
  buffer[kValueBufferBytes / sizeof(wchar_t) - 1] = 0;
  *value = buffer;
  return true;
}

bool RegWriteString(HKEY root, const std::wstring& subkey,
                    const std::wstring& name, const std::wstring& value) {
  ScopedRegKey key;
  if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.receive(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        bytes) == ERROR_SUCCESS;
}

std::wstring RegistryViewPrefix(bool wow64_process) {
  return wow64_process ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
}

bool QueryWow64Process(bool* wow64) {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  if (kernel == nullptr) return false;
  auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
  if (is_wow64 == nullptr) return false;
  BOOL answer = FALSE;
  if (!is_wow64(GetCurrentProcess(), &answer)) return false;
  if (wow64 != nullptr) *wow64 = answer != FALSE;
  return true;
}

#include "installer/util/file_version.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

constexpr DWORD kMaxVersionBlockBytes = 0x3FFF;
constexpr size_t kVersionStringLength = 8192;

}  // namespace

bool GetFileVersionText(const wchar_t* path, wchar_t* buffer, size_t buffer_length) {
  if (buffer == nullptr || buffer_length == 0) return false;
  buffer[0] = 0;
  if (path == nullptr || path[0] == 0) return false;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0 || size > kMaxVersionBlockBytes) return false;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(path, 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed),
                      &fixed_length) ||
      fixed == nullptr || fixed_length < sizeof(VS_FIXEDFILEINFO))
    return false;
  wchar_t text[64];
  int length = swprintf(text, 64, L"%d.%d.%d.%d",
                        static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                        static_cast<int>(LOWORD(fixed->dwFileVersionMS)),
                        static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
                        static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
  // The C run-time's swprintf does not always refuse a short buffer, so the
  // fit is checked here.
  if (length < 0 || static_cast<size_t>(length) >= buffer_length) return false;
  wmemcpy(buffer, text, static_cast<size_t>(length) + 1);
  return true;
}

std::wstring GetFileVersionString(const std::wstring& path) {
  std::vector<wchar_t> buffer(kVersionStringLength);
  if (!GetFileVersionText(path.c_str(), buffer.data(), buffer.size())) return std::wstring();
  return buffer.data();
}

std::wstring GetOwnFileVersion() {
  HMODULE module = GetModuleHandleW(nullptr);
  if (module == nullptr) return std::wstring();
  wchar_t path[MAX_PATH] = {0};
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return GetFileVersionString(path);
}

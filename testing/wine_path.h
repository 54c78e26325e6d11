#pragma once

#include <string>

namespace testing_support {

// The Windows path of a Unix path as wine maps it (drive Z: is "/"). Build
// folders and fixtures reach test programs as Unix paths through compile
// definitions; programs under wine open them through this.
inline std::wstring WindowsPathOf(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* p = unix_path; *p; ++p)
    path += (*p == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return path;
}

}  // namespace testing_support

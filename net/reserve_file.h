// ReserveFile: creates (or truncates) a file and gives it its full size on
// disk before any byte is downloaded, so that a full disk shows up now and
// parallel ranges can each write into their own region.
#pragma once

#include <windows.h>

#include <string>

namespace net {

// File thread (blocking). True when `path` exists with `size` bytes. When
// the size cannot be set the file is deleted again.
bool ReserveFile(const std::wstring& path, DWORD size);

}  // namespace net

#include "net/reserve_file.h"

namespace net {

bool ReserveFile(const std::wstring& path, DWORD size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // 64-bit distance: sizes of 2 GiB and more are positive offsets too.
  LARGE_INTEGER distance;
  distance.QuadPart = size;
  LARGE_INTEGER start;
  start.QuadPart = 0;
  const bool sized = SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) &&
                     SetEndOfFile(file) &&
                     SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  CloseHandle(file);
  if (!sized) DeleteFileW(path.c_str());
  return sized;
}

}  // namespace net

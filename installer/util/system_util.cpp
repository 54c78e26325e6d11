#include "installer/util/system_util.h"

#include <tlhelp32.h>

#include "installer/util/file_util.h"
#include "installer/util/scoped_handle.h"

DWORD FindProcessIdByName(const std::wstring& exe_name) {
  ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    std::wstring name = FileNameOf(entry.szExeFile);
    if (lstrcmpiW(name.c_str(), exe_name.c_str()) == 0) return entry.th32ProcessID;
  }
  return 0;
}

bool ReadPhysicalMemoryMb(unsigned long long* megabytes) {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return false;
  *megabytes = status.ullTotalPhys / 1000000ULL;
  return true;
}

void ReadProcessorInfo(unsigned* processor_type, unsigned* processor_count) {
  SYSTEM_INFO info = {};
  GetNativeSystemInfo(&info);
  if (processor_type != nullptr) *processor_type = info.dwProcessorType;
  if (processor_count != nullptr) *processor_count = info.dwNumberOfProcessors;
}

bool ReadFreeDiskMb(const std::wstring& path, unsigned* mebibytes) {
  ULARGE_INTEGER available = {}, total = {}, free_bytes = {};
  if (!GetDiskFreeSpaceExW(path.c_str(), &available, &total, &free_bytes)) return false;
  *mebibytes = static_cast<unsigned>(free_bytes.QuadPart >> 20);
  return true;
}

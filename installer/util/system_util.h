// Thin reads of the running system: processes, memory, processor and disk.
// Any thread; no state. The decisions built on these numbers (minimum
// requirements) belong to their callers.
#pragma once

#include <windows.h>

#include <string>

// Id of the first process in a ToolHelp snapshot whose executable name (the
// text after the last "\") equals `exe_name` without regard to case; 0 when
// none matches or the snapshot fails.
DWORD FindProcessIdByName(const std::wstring& exe_name);

// Total physical memory in decimal megabytes (bytes / 1 000 000), as
// GlobalMemoryStatusEx reports it; false when the call fails.
bool ReadPhysicalMemoryMb(unsigned long long* megabytes);

// GetNativeSystemInfo: processor type number (386, 486, 586, 8664 ...) and
// the number of logical processors.
void ReadProcessorInfo(unsigned* processor_type, unsigned* processor_count);

// Free bytes of the volume holding `path` (GetDiskFreeSpaceExW, total free
// bytes) in mebibytes, low 32 bits; false when the call fails.
bool ReadFreeDiskMb(const std::wstring& path, unsigned* mebibytes);

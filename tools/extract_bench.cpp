// Extraction benchmark: unpacks a 7z archive and prints the throughput, the
// extractor's own peak allocation and the process's peak working set and
// peak private bytes. tools/extract_bench.sh makes a pack with one solid
// block larger than 1 GiB and runs this on it; with --whole-blocks the same
// pack is unpacked the old way (the whole block in memory) for comparison.
//
//   extract_bench.exe <archive.7z> <empty destination folder> [--whole-blocks]

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "installer/extract_7z.h"

namespace {

double MiB(uint64_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

uint64_t UnpackedBytes(const std::wstring& folder) {
  uint64_t total = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return 0;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..")
      continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      total += UnpackedBytes(folder + L"\\" + name);
    else
      total += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return total;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: extract_bench <archive.7z> <destination> [--whole-blocks]\n");
    return 2;
  }
  Extract7zOptions options;
  options.whole_blocks = argc > 3 && std::wcscmp(argv[3], L"--whole-blocks") == 0;
  CreateDirectoryW(argv[2], nullptr);

  // The extractor's progress lines would swamp the figures.
  std::fflush(stdout);
  FILE* quiet = _wfreopen(L"NUL", L"w", stdout);
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  Extract7zStats stats;
  int code = Extract7z(argv[1], argv[2], options, &stats);
  QueryPerformanceCounter(&end);
  if (quiet)
    std::fclose(quiet);

  const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / freq.QuadPart;
  const uint64_t bytes = UnpackedBytes(argv[2]);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  std::fprintf(stderr,
               "mode=%s code=%d unpacked=%.1f MiB time=%.2f s speed=%.1f MB/s\n"
               "blocks streamed=%u whole=%u extractor_peak=%.2f MiB\n"
               "peak_working_set=%.1f MiB peak_private=%.1f MiB\n",
               options.whole_blocks ? "whole-blocks" : "streamed", code, MiB(bytes),
               seconds, seconds > 0 ? bytes / seconds / 1e6 : 0.0,
               stats.blocks_streamed, stats.blocks_whole, MiB(stats.peak_memory),
               MiB(counters.PeakWorkingSetSize), MiB(counters.PeakPagefileUsage));
  return code == 0 ? 0 : 1;
}

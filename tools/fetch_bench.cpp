// fetch_bench: downloads one URL the way the installer does and prints how
// fast it went.
//
//   fetch_bench.exe --parts 4|1 URL OUTFILE
//
// --parts 4: range probe, then the four-part download (file reserved first,
// broken parts resumed). --parts 1: one file GET, the whole file fetched
// again after each failure (2 s later), as the single-stream download does.
// The last line printed is
//   bytes=<n> seconds=<s> MBps=<MiB per second> retries=<r>
// preceded by a line with the process's CPU seconds. Exit code 0 only when
// the file is complete.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

#include "base/bind.h"
#include "net/fetch_file.h"
#include "net/multi_part_download.h"
#include "net/test_break_point.h"
#include "net/testing/test_loops.h"

namespace {

constexpr int64_t kSingleRetryDelayUs = 2000000;

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  auto seconds = [](const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return v.QuadPart / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

ULONGLONG FileSizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Plays the controller for one download. UI thread.
class Bench : public net::TestBreakPointDelegate,
              public net::FetchFileDelegate,
              public net::MultiPartDownload::Delegate {
 public:
  Bench(const std::string& url, const std::wstring& file)
      : url_(url), file_(file), probe_(url, this), multi_(this) {}

  void StartMulti() { probe_.fetcher->Start(); }

  void StartSingle() {
    single_.reset(new net::CFetchFile(url_, file_, this));
    single_->fetcher->Start();
  }

  // Single stream: a fresh whole-file download.
  void RetrySingle() {
    single_->ReplaceFetcher(net::FetchRequest(url_, file_));
    single_->fetcher->Start();
  }

  bool done() const { return done_; }
  bool ok() const { return ok_; }
  DWORD expected_size() const { return expected_size_; }
  DWORD retries() const {
    return multi_.total_failures() + (single_ ? single_->failure_count : 0);
  }

 private:
  void OnTestBreakPointComplete(bool ok, net::FetchResultInfo* info) override {
    if (!ok) {
      fprintf(stderr, "range probe failed (error %lu): no byte ranges\n",
              info->error_code);
      done_ = true;
      return;
    }
    expected_size_ = info->length_or_position;
    multi_.Begin(url_, file_, expected_size_);
  }

  void OnFetchFileComplete(bool ok, net::FetchResultInfo* info) override {
    if (ok) {
      ok_ = true;
      done_ = true;
      expected_size_ = single_->fetcher->position();
      return;
    }
    if (info->error_code == net::kErrorReserveFailed) {
      fprintf(stderr, "file size could not be reserved\n");
      done_ = true;
      return;
    }
    ++single_->failure_count;
    g_ui_loop->PostDelayedTask(
        fastdelegate::BindUnretained(this, &Bench::RetrySingle),
        kSingleRetryDelayUs);
  }
  void OnFetchFileProgress(float) override {}

  void OnMultiPartProgress(float, double, DWORD) override {}
  void OnMultiPartComplete() override {
    ok_ = true;
    done_ = true;
  }
  void OnMultiPartReserveFailed() override {
    fprintf(stderr, "file could not be reserved\n");
    done_ = true;
  }
  void OnMultiPartFirstFailure(DWORD, float, bool) override {}

  std::string url_;
  std::wstring file_;
  net::CTestBreakPoint probe_;
  net::MultiPartDownload multi_;
  std::unique_ptr<net::CFetchFile> single_;
  DWORD expected_size_ = 0;
  bool done_ = false;
  bool ok_ = false;
};

int Usage() {
  fprintf(stderr, "usage: fetch_bench.exe --parts 4|1 URL OUTFILE\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5 || wcscmp(argv[1], L"--parts") != 0) return Usage();
  const int parts = _wtoi(argv[2]);
  if (parts != 1 && parts != 4) return Usage();
  char url[4096];
  if (!WideCharToMultiByte(CP_ACP, 0, argv[3], -1, url, sizeof(url), nullptr,
                           nullptr))
    return Usage();
  const std::wstring file = argv[4];

  net::TestLoops loops;
  bool ok = false;
  DWORD expected = 0;
  DWORD retries = 0;
  const LARGE_INTEGER start = [] {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
  }();
  {
    Bench bench(url, file);
    if (parts == 4)
      bench.StartMulti();
    else
      bench.StartSingle();
    loops.RunUntil([&bench] { return bench.done(); }, INFINITE / 2);
    ok = bench.ok();
    expected = bench.expected_size();
    retries = bench.retries();
  }
  LARGE_INTEGER end, frequency;
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  const double seconds =
      static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;

  const ULONGLONG bytes = ok ? FileSizeOf(file) : 0;
  const bool complete = ok && bytes == expected;
  printf("cpu_seconds=%.3f\n", CpuSeconds());
  printf("bytes=%llu seconds=%.3f MBps=%.2f retries=%lu\n", bytes, seconds,
         seconds > 0 ? bytes / 1048576.0 / seconds : 0.0, retries);
  fflush(stdout);
  return complete ? 0 : 1;
}

// The decisions of the four-part download, kept apart from threads, files and
// sockets so that each is a plain function of its inputs: how a file is cut
// into parts, what share of the whole a range has written, which progress
// report changes the display, when a download counts as slow, and how long a
// broken range waits before it resumes.
//
// Threads: the functions are pure; the two small counters belong to the UI
// thread like their owner.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace net {

constexpr int kPartCount = 4;

// A resumed range waits this long: the resource pack and preload packages.
constexpr int64_t kSingleRangeRetryDelayUs = 1000000;
// A broken part of the install pack waits PartRetryDelayMs() milliseconds.
constexpr DWORD kPartRetryMinMs = 500;
constexpr DWORD kPartRetrySpanMs = 2000;

// Slow download: a part failure more than 25 whole minutes after the start
// with less than 35 % of the file written.
constexpr DWORD kSlowDownloadMinutes = 25;
constexpr float kSlowDownloadProgress = 0.35f;

struct ByteRange {
  DWORD begin;
  DWORD end;  // one past the last byte
};

// Parts 0..2 get a quarter (size / 4, rounded down) each; part 3 starts at
// three quarters and takes the remainder up to `size`.
std::array<ByteRange, kPartCount> SplitIntoParts(DWORD size);

// Fraction of the whole file that a range has written itself:
// (position - progress_base) / whole_size. The divisor is the whole file, so
// the shares of parallel parts add up. 0 when the divisor is 0.
double RangeShare(DWORD position, DWORD progress_base, uint64_t whole_size);

// Retry delay of a broken part from any 32-bit pseudo-random value:
// r mod 2000, raised by 500 when below 500; always 500..1999 ms.
DWORD PartRetryDelayMs(uint32_t random);

// Whether a download is slow: more than 25 whole minutes since the start
// ((elapsed_ms / 60000) > 25) and less than 35 % done.
bool IsSlowDownload(DWORD elapsed_ms, float overall_progress);

// Counts progress reports shared by all parts: only every fourth one (the
// 4th, 8th, ... since start) changes the display.
class ProgressReportCounter {
 public:
  // Takes the current count c, counts one more; true (and back to 1) when
  // c is a multiple of four.
  bool TakeReport();

 private:
  int counter_ = 1;
};

// The slow-download check runs at the first part failure only, whatever its
// outcome.
class SlowDownloadCheck {
 public:
  // True when this is the first failure and the download is slow.
  bool OnPartFailure(DWORD elapsed_ms, float overall_progress);
  bool armed() const { return armed_; }

 private:
  bool armed_ = true;
};

}  // namespace net

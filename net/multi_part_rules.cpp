#include "net/multi_part_rules.h"

namespace net {

std::array<ByteRange, kPartCount> SplitIntoParts(DWORD size) {
  const DWORD quarter = size >> 2;
  std::array<ByteRange, kPartCount> parts;
  for (int k = 0; k < kPartCount; ++k) {
    parts[k].begin = quarter * k;
    parts[k].end = quarter * (k + 1);
  }
  parts[kPartCount - 1].end = size;
  return parts;
}

double RangeShare(DWORD position, DWORD progress_base, uint64_t whole_size) {
  if (whole_size == 0 || position < progress_base) return 0.0;
  return static_cast<double>(position - progress_base) /
         static_cast<double>(whole_size);
}

DWORD PartRetryDelayMs(uint32_t random) {
  DWORD delay = random % kPartRetrySpanMs;
  if (delay < kPartRetryMinMs) delay += kPartRetryMinMs;
  return delay;
}

bool IsSlowDownload(DWORD elapsed_ms, float overall_progress) {
  return elapsed_ms / 60000 > kSlowDownloadMinutes &&
         overall_progress < kSlowDownloadProgress;
}

bool ProgressReportCounter::TakeReport() {
  const int current = counter_++;
  if (current % 4 != 0) return false;
  counter_ = 1;
  return true;
}

bool SlowDownloadCheck::OnPartFailure(DWORD elapsed_ms,
                                      float overall_progress) {
  if (!armed_) return false;
  armed_ = false;
  return IsSlowDownload(elapsed_ms, overall_progress);
}

}  // namespace net

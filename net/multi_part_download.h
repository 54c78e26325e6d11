// MultiPartDownload: the install pack fetched in four parallel byte ranges
// into one file reserved at full size beforehand.
//
// The controller owns one as a member and calls Begin() once the server is
// known to serve ranges. The file is reserved on "file_thread"; the result
// comes back to StartMultiDownload(), which cuts the file into four parts
// (part 3 takes the remainder) and starts them. Each part reports progress as
// its own share of the whole file, so the shares add up; every fourth report
// (shared by all parts) changes the display. A broken part waits 500 to
// 1999 ms and resumes at its first byte not yet written, with its progress
// base kept; there is no limit on retries. At the first part failure of the
// download the slow-download decision is taken once and reported.
//
// The owner decides what the user sees and which report to send; this
// component only reports through its Delegate.
//
// Threads: UI thread only (the reservation runs on "file_thread" and posts
// back). Tasks aimed at the component hold a weak pointer, so the owner may
// destroy it at any time; its parts then detach their fetchers and no
// callback reaches anyone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/weak_ptr.h"
#include "net/break_point_fetch.h"
#include "net/fetch_delegates.h"
#include "net/multi_part_rules.h"

namespace net {

class MultiPartDownload : public BreakPointFetchDelegate {
 public:
  class Delegate {
   public:
    // Every fourth progress report: the fraction of the whole file written
    // (sum of the parts' shares) and the bytes it stands for.
    virtual void OnMultiPartProgress(float fraction, double bytes_done,
                                     DWORD total_bytes) = 0;
    // All four parts are finished: the file is complete.
    virtual void OnMultiPartComplete() = 0;
    // The file could not be reserved (in practice: not enough disk space).
    virtual void OnMultiPartReserveFailed() = 0;
    // The first part failure of the download, with what the slow-download
    // decision used and its outcome (IsSlowDownload).
    virtual void OnMultiPartFirstFailure(DWORD elapsed_ms, float progress,
                                         bool slow) = 0;

   protected:
    virtual ~Delegate() = default;
  };

  typedef DWORD (*Clock)();

  // UI thread; the loops must exist. The parts are made now, idle.
  explicit MultiPartDownload(Delegate* delegate);
  MultiPartDownload(const MultiPartDownload&) = delete;
  MultiPartDownload& operator=(const MultiPartDownload&) = delete;
  ~MultiPartDownload() override;

  // UI thread. Reserves `file` at `size` bytes on "file_thread", then starts
  // the four parts from `url`. A size of all bits set counts as a failed
  // reservation. Call once.
  void Begin(const std::string& url, const std::wstring& file, DWORD size);

  // UI thread: the reservation's answer.
  void StartMultiDownload(bool reserved);

  // UI thread, delayed task after a part failed: resumes [begin, end) of
  // `part` with `progress_base`. Does nothing once cancelled.
  void RetryBreakPointFetch(CBreakPointFetch* part, DWORD begin, DWORD end,
                            DWORD progress_base);

  // UI thread: the user quit. Every part is cut off from its transfer and
  // every pending retry does nothing.
  void Cancel();

  // Sum of the four parts' progress shares.
  float overallProgress() const;
  bool complete() const { return complete_; }
  bool closing() const { return closing_; }
  DWORD total_size() const { return size_; }
  DWORD downloadStartTime() const { return downloadStartTime_; }
  // Failures of all parts together.
  DWORD total_failures() const { return total_failures_; }
  CBreakPointFetch* part(int index) const { return parts_[index].get(); }

  // Tests: the millisecond clock (timeGetTime by default).
  void set_clock_for_testing(Clock clock) { clock_ = clock; }

 private:
  // BreakPointFetchDelegate.
  void OnBreakPointFetchComplete(bool ok, FetchResultInfo* info,
                                 CBreakPointFetch* part) override;
  void OnBreakPointFetchProgress(float fraction) override;

  void OnPartFailed(FetchResultInfo* info, CBreakPointFetch* part);
  uint32_t NextRandom();

  Delegate* delegate_;
  std::string url_;
  std::wstring file_;
  DWORD size_ = 0;
  DWORD downloadStartTime_ = 0;
  float overallProgress_ = 0.0f;
  bool closing_ = false;
  bool complete_ = false;
  DWORD total_failures_ = 0;
  ProgressReportCounter report_counter_;
  SlowDownloadCheck slow_check_;
  uint32_t random_state_;
  Clock clock_;
  std::unique_ptr<CBreakPointFetch> parts_[kPartCount];
  base::WeakPtrFactory<MultiPartDownload> weak_factory_;
};

}  // namespace net

#include "net/multi_part_download.h"

#include <mmsystem.h>

#include "base/bind.h"
#include "base/message_loop.h"
#include "net/reserve_file.h"
#include "simlog/log.h"

namespace net {

namespace {

constexpr DWORD kNoSize = 0xFFFFFFFF;

DWORD SystemClock() { return timeGetTime(); }

// "file_thread": reserves the file and answers on the UI loop.
void ReserveOnFileThread(base::WeakPtr<MultiPartDownload> download,
                         const std::wstring& file, DWORD size) {
  char path[MAX_PATH * 2] = "";
  WideCharToMultiByte(CP_ACP, 0, file.c_str(), -1, path, sizeof(path), nullptr,
                      nullptr);
  QIV_DLOG("install pack save path:%s", path);
  const bool reserved = size != kNoSize && ReserveFile(file, size);
  if (g_ui_loop)
    g_ui_loop->PostTask(fastdelegate::Bind(
        download, &MultiPartDownload::StartMultiDownload, reserved));
}

}  // namespace

MultiPartDownload::MultiPartDownload(Delegate* delegate)
    : delegate_(delegate),
      random_state_(GetTickCount() ^
                    static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this))),
      clock_(&SystemClock),
      weak_factory_(this) {
  if (random_state_ == 0) random_state_ = 0x9E3779B9u;
  for (auto& part : parts_)
    part.reset(new CBreakPointFetch(std::string(), std::wstring(), 0, 0, this));
}

MultiPartDownload::~MultiPartDownload() = default;

void MultiPartDownload::Begin(const std::string& url, const std::wstring& file,
                              DWORD size) {
  url_ = url;
  file_ = file;
  size_ = size;
  QIV_LOG(true, "Start Multi thread Download");
  g_file_loop->PostTask(fastdelegate::Bind(
      &ReserveOnFileThread, weak_factory_.GetWeakPtr(), file, size));
}

void MultiPartDownload::StartMultiDownload(bool reserved) {
  if (closing_) return;
  if (!reserved) {
    delegate_->OnMultiPartReserveFailed();
    return;
  }
  const auto ranges = SplitIntoParts(size_);
  downloadStartTime_ = clock_();
  for (int k = 0; k < kPartCount; ++k) {
    parts_[k]->StartRange(url_, file_, ranges[k].begin, ranges[k].end,
                          ranges[k].begin);
  }
}

void MultiPartDownload::RetryBreakPointFetch(CBreakPointFetch* part,
                                             DWORD begin, DWORD end,
                                             DWORD progress_base) {
  if (closing_) return;
  part->Resume(url_, file_, begin, end, progress_base);
}

void MultiPartDownload::Cancel() {
  closing_ = true;
  for (auto& part : parts_) part->DetachFetcher();
}

float MultiPartDownload::overallProgress() const {
  float sum = 0.0f;
  for (const auto& part : parts_) sum += part->progress;
  return sum;
}

void MultiPartDownload::OnBreakPointFetchProgress(float /*fraction*/) {
  if (closing_) return;
  if (!report_counter_.TakeReport()) return;
  overallProgress_ = overallProgress();
  delegate_->OnMultiPartProgress(overallProgress_,
                                 static_cast<double>(size_) * overallProgress_,
                                 size_);
}

void MultiPartDownload::OnBreakPointFetchComplete(bool ok,
                                                  FetchResultInfo* info,
                                                  CBreakPointFetch* part) {
  if (closing_) return;
  if (!ok) {
    OnPartFailed(info, part);
    return;
  }
  part->finished = true;
  for (const auto& each : parts_) {
    if (!each->finished) {
      QIV_LOG(true, "There is no download end of the film");
      return;
    }
  }
  QIV_LOG(true, "File download successfully");
  complete_ = true;
  delegate_->OnMultiPartComplete();  // May destroy this component.
}

void MultiPartDownload::OnPartFailed(FetchResultInfo* info,
                                     CBreakPointFetch* part) {
  QIV_LOG(true, "HTTP download failed");
  ++part->failure_count;
  ++total_failures_;

  const DWORD delay_ms = PartRetryDelayMs(NextRandom());
  g_ui_loop->PostDelayedTask(
      fastdelegate::Bind(weak_factory_.GetWeakPtr(),
                         &MultiPartDownload::RetryBreakPointFetch, part,
                         info->length_or_position, info->range_end,
                         info->progress_base),
      static_cast<int64_t>(delay_ms) * 1000);

  if (slow_check_.armed()) {
    const DWORD elapsed = clock_() - downloadStartTime_;
    overallProgress_ = overallProgress();
    const bool slow = slow_check_.OnPartFailure(elapsed, overallProgress_);
    delegate_->OnMultiPartFirstFailure(elapsed, overallProgress_, slow);
  }
}

uint32_t MultiPartDownload::NextRandom() {
  // xorshift32: any cheap spread of values will do for a retry delay.
  uint32_t x = random_state_;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  random_state_ = x;
  return x;
}

}  // namespace net

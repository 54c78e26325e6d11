// CBreakPointFetch: one of the four parts of the install pack. Keeps what
// the multi-part download needs per part: how often it failed, whether it is
// finished, and the last progress share it reported.
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "net/fetch_delegates.h"
#include "net/range_fetch_adapter.h"

namespace net {

class CBreakPointFetch : public RangeFetchAdapter {
 public:
  CBreakPointFetch(const std::string& url, const std::wstring& file,
                   DWORD begin, DWORD end, BreakPointFetchDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;
  // Stores the share, then reports it.
  void FetchProgress(URLFetcher* source, float fraction) override;

  DWORD failure_count = 0;
  bool finished = false;
  float progress = 0.0f;

 private:
  BreakPointFetchDelegate* delegate_;
};

}  // namespace net

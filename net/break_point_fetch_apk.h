// CBreakPointFetchApk: one preload package, fetched as one range [0, size).
// Keeps the last progress share it reported.
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "net/fetch_delegates.h"
#include "net/range_fetch_adapter.h"

namespace net {

class CBreakPointFetchApk : public RangeFetchAdapter {
 public:
  CBreakPointFetchApk(const std::string& url, const std::wstring& file,
                      DWORD begin, DWORD end, BreakFetchApkDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;
  void FetchProgress(URLFetcher* source, float fraction) override;

  float progress = 0.0f;

 private:
  BreakFetchApkDelegate* delegate_;
};

}  // namespace net

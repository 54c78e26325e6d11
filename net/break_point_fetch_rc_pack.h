// CBreakPointFetchRcPack: the resource pack, fetched as one range [0, size)
// beside the install pack. It has no progress display.
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "net/fetch_delegates.h"
#include "net/range_fetch_adapter.h"

namespace net {

class CBreakPointFetchRcPack : public RangeFetchAdapter {
 public:
  CBreakPointFetchRcPack(const std::string& url, const std::wstring& file,
                         DWORD begin, DWORD end,
                         BreakFetchRcPackDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;

 private:
  BreakFetchRcPackDelegate* delegate_;
};

}  // namespace net

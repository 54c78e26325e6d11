// CTestBreakPoint: the range probe of the download server. The record
// carries the error code and the content length the server announced.
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_adapter.h"
#include "net/fetch_delegates.h"

namespace net {

class CTestBreakPoint : public FetchAdapter {
 public:
  CTestBreakPoint(const std::string& url, TestBreakPointDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;

 private:
  TestBreakPointDelegate* delegate_;
};

}  // namespace net

// CFetchFile: the single-stream download (a file GET that creates its file
// and reserves the full size itself). Forwards progress. `failure_count` is
// kept by the controller, which counts each failed download here.
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "net/fetch_adapter.h"
#include "net/fetch_delegates.h"

namespace net {

class CFetchFile : public FetchAdapter {
 public:
  CFetchFile(const std::string& url, const std::wstring& file,
             FetchFileDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;
  void FetchProgress(URLFetcher* source, float fraction) override;

  DWORD failure_count = 0;

 private:
  FetchFileDelegate* delegate_;
};

}  // namespace net

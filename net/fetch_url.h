// CFetchUrl: a string GET (the package query, the game-center query). The
// delegate receives the response text, or an empty string on failure.
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_adapter.h"
#include "net/fetch_delegates.h"

namespace net {

class CFetchUrl : public FetchAdapter {
 public:
  CFetchUrl(const std::string& url, FetchURLDelegate* delegate);

  void FetchComplete(URLFetcher* source) override;

 private:
  FetchURLDelegate* delegate_;
};

}  // namespace net

// CUpLoadErrorByGet: an error report sent as a ping GET (the answer is not
// read).
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_delegates.h"
#include "net/upload_adapter.h"

namespace net {

class CUpLoadErrorByGet
    : public UploadAdapter<UpLoadErrorByGetDelegate,
                           &UpLoadErrorByGetDelegate::OnUpLoadErrorByGetComplete> {
 public:
  CUpLoadErrorByGet(const std::string& url, UpLoadErrorByGetDelegate* delegate)
      : UploadAdapter(url, kPingGet, delegate) {}
};

}  // namespace net

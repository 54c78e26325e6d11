// CUpLoadByGet: a statistics report sent as a ping GET (the answer is not
// read).
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_delegates.h"
#include "net/upload_adapter.h"

namespace net {

class CUpLoadByGet
    : public UploadAdapter<UpLoadByGetDelegate,
                           &UpLoadByGetDelegate::OnUpLoadByGetComplete> {
 public:
  CUpLoadByGet(const std::string& url, UpLoadByGetDelegate* delegate)
      : UploadAdapter(url, kPingGet, delegate) {}
};

}  // namespace net

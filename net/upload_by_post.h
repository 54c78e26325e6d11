// CUpLoadByPost: the slow-download log sent as a form POST (server, path
// and body are set on the fetcher before each start).
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_delegates.h"
#include "net/upload_adapter.h"

namespace net {

class CUpLoadByPost
    : public UploadAdapter<PostDataServerDelegate,
                           &PostDataServerDelegate::OnPostDataServerComplete> {
 public:
  CUpLoadByPost(const std::string& url, PostDataServerDelegate* delegate)
      : UploadAdapter(url, kFormPost, delegate) {}
};

}  // namespace net

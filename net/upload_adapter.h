// UploadAdapter: the one implementation shared by the three report senders
// (two ping GETs and the form POST). Each only learns whether its request
// went through and passes that to the single operation of its interface.
// Threads: UI thread only.
#pragma once

#include <string>

#include "net/fetch_adapter.h"

namespace net {

template <class Interface, void (Interface::*Operation)(bool)>
class UploadAdapter : public FetchAdapter {
 public:
  void FetchComplete(URLFetcher* source) override {
    if (delegate_) (delegate_->*Operation)(source->succeeded());
  }

 protected:
  UploadAdapter(const std::string& url, int type, Interface* delegate)
      : FetchAdapter(FetchRequest(url, type)), delegate_(delegate) {}

 private:
  Interface* delegate_;
};

}  // namespace net

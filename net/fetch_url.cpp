#include "net/fetch_url.h"

namespace net {

CFetchUrl::CFetchUrl(const std::string& url, FetchURLDelegate* delegate)
    : FetchAdapter(FetchRequest(url)), delegate_(delegate) {}

void CFetchUrl::FetchComplete(URLFetcher* source) {
  std::string text;
  if (source->succeeded()) text = source->response_body();
  if (delegate_) delegate_->OnFetchUrlComplete(text);
}

}  // namespace net

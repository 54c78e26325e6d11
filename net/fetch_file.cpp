#include "net/fetch_file.h"

namespace net {

CFetchFile::CFetchFile(const std::string& url, const std::wstring& file,
                       FetchFileDelegate* delegate)
    : FetchAdapter(FetchRequest(url, file)), delegate_(delegate) {}

void CFetchFile::FetchComplete(URLFetcher* source) {
  if (!delegate_) return;
  FetchResultInfo info;
  info.error_code = source->error_code();
  delegate_->OnFetchFileComplete(source->succeeded(), &info);
}

void CFetchFile::FetchProgress(URLFetcher* /*source*/, float fraction) {
  if (delegate_) delegate_->OnFetchFileProgress(fraction);
}

}  // namespace net

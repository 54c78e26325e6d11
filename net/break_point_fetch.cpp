#include "net/break_point_fetch.h"

namespace net {

CBreakPointFetch::CBreakPointFetch(const std::string& url,
                                   const std::wstring& file, DWORD begin,
                                   DWORD end,
                                   BreakPointFetchDelegate* delegate)
    : RangeFetchAdapter(url, file, begin, end), delegate_(delegate) {}

void CBreakPointFetch::FetchComplete(URLFetcher* source) {
  FetchResultInfo info = ResultOf(source);
  if (delegate_)
    delegate_->OnBreakPointFetchComplete(source->succeeded(), &info, this);
}

void CBreakPointFetch::FetchProgress(URLFetcher* /*source*/, float fraction) {
  progress = fraction;
  if (delegate_) delegate_->OnBreakPointFetchProgress(fraction);
}

}  // namespace net

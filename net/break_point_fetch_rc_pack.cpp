#include "net/break_point_fetch_rc_pack.h"

namespace net {

CBreakPointFetchRcPack::CBreakPointFetchRcPack(
    const std::string& url, const std::wstring& file, DWORD begin, DWORD end,
    BreakFetchRcPackDelegate* delegate)
    : RangeFetchAdapter(url, file, begin, end), delegate_(delegate) {}

void CBreakPointFetchRcPack::FetchComplete(URLFetcher* source) {
  FetchResultInfo info = ResultOf(source);
  if (delegate_)
    delegate_->OnRcPackFetchComplete(source->succeeded(), &info, this);
}

}  // namespace net

#include "net/break_point_fetch_apk.h"

namespace net {

CBreakPointFetchApk::CBreakPointFetchApk(const std::string& url,
                                         const std::wstring& file, DWORD begin,
                                         DWORD end,
                                         BreakFetchApkDelegate* delegate)
    : RangeFetchAdapter(url, file, begin, end), delegate_(delegate) {}

void CBreakPointFetchApk::FetchComplete(URLFetcher* source) {
  FetchResultInfo info = ResultOf(source);
  if (delegate_) delegate_->OnApkFetchComplete(source->succeeded(), &info, this);
}

void CBreakPointFetchApk::FetchProgress(URLFetcher* /*source*/,
                                        float fraction) {
  progress = fraction;
  if (delegate_) delegate_->OnApkFetchProgress(fraction);
}

}  // namespace net

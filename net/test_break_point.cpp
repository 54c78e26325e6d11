#include "net/test_break_point.h"

namespace net {

CTestBreakPoint::CTestBreakPoint(const std::string& url,
                                 TestBreakPointDelegate* delegate)
    : FetchAdapter(FetchRequest(url, kRangeProbe)), delegate_(delegate) {}

void CTestBreakPoint::FetchComplete(URLFetcher* source) {
  if (!delegate_) return;
  FetchResultInfo info;
  info.error_code = source->error_code();
  info.length_or_position = source->content_length();
  delegate_->OnTestBreakPointComplete(source->succeeded(), &info);
}

}  // namespace net

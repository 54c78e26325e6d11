#include "net/range_fetch_adapter.h"

namespace net {

RangeFetchAdapter::RangeFetchAdapter(const std::string& url,
                                     const std::wstring& file, DWORD begin,
                                     DWORD end)
    : FetchAdapter(FetchRequest(url, file, begin, end)) {}

void RangeFetchAdapter::StartRange(const std::string& url,
                                   const std::wstring& file, DWORD begin,
                                   DWORD end, DWORD progress_base) {
  fetcher->set_url(url);
  fetcher->set_target_file(file);
  fetcher->set_range(begin, end);
  fetcher->set_progress_base(progress_base);
  fetcher->Start();
}

void RangeFetchAdapter::Resume(const std::string& url,
                               const std::wstring& file, DWORD begin,
                               DWORD end, DWORD progress_base) {
  ReplaceFetcher(FetchRequest(url, file, begin, end));
  fetcher->set_progress_base(progress_base);
  fetcher->Start();
}

FetchResultInfo RangeFetchAdapter::ResultOf(const URLFetcher* source) {
  FetchResultInfo info;
  info.error_code = source->error_code();
  info.length_or_position = source->position();
  info.range_end = source->range_end();
  info.progress_base = source->progress_base();
  return info;
}

}  // namespace net

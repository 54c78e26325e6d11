// RangeFetchAdapter: the common part of the three ranged adapters (parts of
// the install pack, the resource pack, preload packages). Each owns one
// range-GET fetcher and reports, with every completion, where its range
// stands: error code, position reached, range end and progress base.
//
// Resume() continues a broken range: a new fetcher (ranges allowed again)
// asks from the position reached to the same end, with the progress base
// kept, so the range's progress continues where it stopped.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "net/fetch_adapter.h"
#include "net/fetch_delegates.h"

namespace net {

class RangeFetchAdapter : public FetchAdapter {
 public:
  // Sets the range and progress base of the existing fetcher and starts it:
  // the first transfer of a range.
  void StartRange(const std::string& url, const std::wstring& file,
                  DWORD begin, DWORD end, DWORD progress_base);

  // Detaches the old fetcher and starts a new one for [begin, end) with
  // `progress_base`.
  void Resume(const std::string& url, const std::wstring& file, DWORD begin,
              DWORD end, DWORD progress_base);

 protected:
  RangeFetchAdapter(const std::string& url, const std::wstring& file,
                    DWORD begin, DWORD end);

  static FetchResultInfo ResultOf(const URLFetcher* source);
};

}  // namespace net

// FetchRequest: what one URLFetcher is made from (URL, target file, request
// type and byte range), plus the request types and error codes of a fetch.
#pragma once

#include <windows.h>

#include <string>

namespace net {

// The six kinds of transfer a URLFetcher performs.
enum RequestType {
  kStringGet = 0,   // body kept in memory (text up to a zero byte per chunk)
  kFileGet = 1,     // body written to a new file reserved at full size
  kRangeGet = 2,    // "Range:bytes=<begin>-" into [begin, end) of a file
  kPingGet = 3,     // succeeds as soon as the URL opens; nothing is read
  kRangeProbe = 4,  // range request at offset 0: does the server serve ranges
  kFormPost = 5,    // form POST to a server and path
};

// Error codes of a run; 0 for every failure not listed (failed open, bad
// status on types 0 and 1, failed read, cancellation).
enum FetchError {
  kErrorNone = 0,
  kErrorReserveFailed = 1,   // the file's full size could not be reserved
  kErrorFileNotOpened = 2,   // the target of a range GET could not be opened
  kErrorRangeRefused = 3,    // the server does not serve byte ranges
  kErrorLengthMissing = 4,   // no numeric Content-Length
};

struct FetchRequest {
  // String GET.
  explicit FetchRequest(const std::string& url)
      : url(url), type(kStringGet), range_begin(0), range_end(0) {}
  // File GET.
  FetchRequest(const std::string& url, const std::wstring& file)
      : url(url), file(file), type(kFileGet), range_begin(0), range_end(0) {}
  // Range GET of [begin, end) into an existing file.
  FetchRequest(const std::string& url, const std::wstring& file, DWORD begin,
               DWORD end)
      : url(url), file(file), type(kRangeGet), range_begin(begin),
        range_end(end) {}
  // Any type without file or range (ping GET, range probe, form POST).
  FetchRequest(const std::string& url, int type)
      : url(url), type(type), range_begin(0), range_end(0) {}

  std::string url;
  std::wstring file;
  int type;
  DWORD range_begin;
  DWORD range_end;
};

}  // namespace net

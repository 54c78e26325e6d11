// HttpTransfer: one blocking WinINet request of any of the six request types,
// run on the calling thread (a pool thread of URLFetcher).
//
// It reads the request fields from, and writes the results into, the fetcher's
// FetchState; progress goes to a Listener. The state is not cleared between
// runs (a string GET appends to the body; ranges stay refused once refused),
// which is how the fetcher that owns it behaves.
//
// Threads: Run() on one thread at a time; the handles object may be cancelled
// from any thread meanwhile.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "net/fetch_request.h"

namespace net {

class InternetHandles;

// Fields of one fetcher that a run reads (request) and writes (results).
struct FetchState {
  // Request.
  int type = kStringGet;
  std::string url;
  std::wstring file;
  DWORD range_begin = 0;
  DWORD range_end = 0;
  DWORD progress_base = 0;
  std::wstring post_server;
  std::wstring post_object;
  std::string post_body;
  INTERNET_PORT post_port = 80;

  // Results.
  bool succeeded = false;
  bool ranges_allowed = true;
  DWORD error_code = kErrorNone;
  DWORD position = 0;
  DWORD content_length = 0;
  std::string response_body;
  // For the log and for tests: the HTTP status of the last answer (0 when
  // none) and the Win32 error of the call that ended the run (0 when none).
  DWORD http_status = 0;
  DWORD win32_error = 0;
};

class HttpTransfer {
 public:
  struct Timeouts {
    DWORD send_ms;
    DWORD receive_ms;
    DWORD connect_ms;
    DWORD connect_retries;
  };
  // The installer's values: 40 s send and receive, 20 s connect, 2 retries.
  static const Timeouts kDefaultTimeouts;

  // Tests: time-outs for every later run (null restores the defaults).
  static void SetTimeoutsForTesting(const Timeouts* timeouts);
  static Timeouts CurrentTimeouts();

  // Sets the current time-outs on an InternetOpen handle, in the order
  // send, receive, connect, retries; stops at the first failure (logged) and
  // returns false then. The request goes on with WinINet's own values.
  static bool ApplyTimeouts(HINTERNET root);

  // Receives progress on the transfer's thread.
  class Listener {
   public:
    virtual void OnTransferProgress(double fraction) = 0;

   protected:
    virtual ~Listener() = default;
  };

  // Neither pointer is owned; all must outlive Run().
  HttpTransfer(FetchState* state, InternetHandles* handles, Listener* listener);
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Performs the request; sets and returns state->succeeded.
  bool Run();

  // Bytes of progress between two reports: file GET and range GET.
  static constexpr DWORD kFileReportBytes = 512000;
  static constexpr DWORD kRangeReportBytes = 276480;

 private:
  bool Perform();
  HINTERNET OpenUrl(HINTERNET root, const char* headers);
  bool StringGet(HINTERNET request);
  bool FileGet(HINTERNET request);
  bool RangeGet(HINTERNET request);
  bool RangeProbe(HINTERNET request);
  bool FormPost(HINTERNET root);
  // HTTP status as text compared with `expected`; records the number.
  bool StatusIs(HINTERNET request, const wchar_t* expected);
  // Whole file size of a 206 answer (Content-Range, else the rest of the
  // file from request_begin).
  uint64_t WholeSize(HINTERNET request, DWORD request_begin, DWORD length);
  // Numeric Content-Length, false when missing.
  bool ContentLength(HINTERNET request, DWORD* length);
  // One read; false on failure (error recorded). Stops on cancellation.
  bool Read(HINTERNET request, char* buffer, DWORD size, DWORD* got);

  FetchState* state_;
  InternetHandles* handles_;
  Listener* listener_;
};

}  // namespace net

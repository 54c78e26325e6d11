#include "net/http_transfer.h"

#include <wininet.h>

#include <cstring>

#include "net/http_range.h"
#include "net/internet_handles.h"
#include "net/multi_part_rules.h"
#include "simlog/log.h"

namespace net {

namespace {

const char kUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.0; Trident/4.0;)";

constexpr DWORD kStringChunk = 1024;
constexpr DWORD kFileChunk = 8192;
constexpr DWORD kRangeChunk = 16385;
constexpr DWORD kNoLength = 0xFFFFFFFF;

HttpTransfer::Timeouts g_timeouts = HttpTransfer::kDefaultTimeouts;

// Scoped owner of a file handle.
class ScopedFile {
 public:
  explicit ScopedFile(HANDLE handle) : handle_(handle) {}
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  ~ScopedFile() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Unsigned 32-bit offsets: SetFilePointer with a lone DWORD would read
// offsets of 2 GiB and more as negative.
bool SeekTo(HANDLE file, DWORD offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

const HttpTransfer::Timeouts HttpTransfer::kDefaultTimeouts = {40000, 40000,
                                                               20000, 2};

void HttpTransfer::SetTimeoutsForTesting(const Timeouts* timeouts) {
  g_timeouts = timeouts ? *timeouts : kDefaultTimeouts;
}

HttpTransfer::Timeouts HttpTransfer::CurrentTimeouts() { return g_timeouts; }

HttpTransfer::HttpTransfer(FetchState* state, InternetHandles* handles,
                           Listener* listener)
    : state_(state), handles_(handles), listener_(listener) {}

bool HttpTransfer::Run() {
  state_->http_status = 0;
  state_->win32_error = 0;
  state_->succeeded = Perform();
  handles_->CloseAll();
  return state_->succeeded;
}

bool HttpTransfer::Perform() {
  FetchState& s = *state_;
  // Range requests that need no traffic are decided before anything opens.
  if (s.type == kRangeGet || s.type == kRangeProbe) {
    if (!s.ranges_allowed) {
      s.error_code = kErrorRangeRefused;
      return false;
    }
  }
  if (s.type == kRangeGet) {
    s.position = s.range_begin;
    if (s.range_begin >= s.range_end) return true;
  }
  if (handles_->cancelled()) return false;

  HINTERNET root = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG,
                                 nullptr, nullptr, 0);
  if (!root) {
    s.win32_error = GetLastError();
    QIV_DLOG("InternetOpenA failed, error_code=%lu", s.win32_error);
    return false;
  }
  if (!handles_->Adopt(root)) return false;
  ApplyTimeouts(root);

  if (s.type == kFormPost) return FormPost(root);

  // The probe asks for the first byte only; its answer names the size.
  std::string range_header;
  if (s.type == kRangeGet) range_header = RangeHeader(s.range_begin, s.range_end);
  if (s.type == kRangeProbe) range_header = RangeHeader(0, 1);
  HINTERNET request =
      OpenUrl(root, range_header.empty() ? nullptr : range_header.c_str());
  if (!request) return false;

  switch (s.type) {
    case kStringGet:
      return StringGet(request);
    case kFileGet:
      return FileGet(request);
    case kRangeGet:
      return RangeGet(request);
    case kPingGet:
      return true;  // Opening the URL is the whole request.
    case kRangeProbe:
      return RangeProbe(request);
    default:
      return false;
  }
}

bool HttpTransfer::ApplyTimeouts(HINTERNET root) {
  const Timeouts t = g_timeouts;
  const struct {
    DWORD option;
    DWORD value;
  } options[] = {
      {INTERNET_OPTION_SEND_TIMEOUT, t.send_ms},
      {INTERNET_OPTION_RECEIVE_TIMEOUT, t.receive_ms},
      {INTERNET_OPTION_CONNECT_TIMEOUT, t.connect_ms},
      {INTERNET_OPTION_CONNECT_RETRIES, t.connect_retries},
  };
  for (const auto& o : options) {
    DWORD value = o.value;
    if (!InternetSetOptionA(root, o.option, &value, sizeof(value))) {
      QIV_LOG(true, "***设定超时时间失败***");
      return false;
    }
  }
  return true;
}

HINTERNET HttpTransfer::OpenUrl(HINTERNET root, const char* headers) {
  FetchState& s = *state_;
  // String GETs must not be answered from the cache. Downloads neither read
  // nor fill it: a pack must come from the server, and writing hundreds of
  // megabytes into the cache as well would cost disk space and time.
  DWORD flags = INTERNET_FLAG_RELOAD;
  if (s.type != kStringGet) flags |= INTERNET_FLAG_NO_CACHE_WRITE;
  if (handles_->cancelled()) return nullptr;
  HINTERNET request = InternetOpenUrlA(root, s.url.c_str(), headers,
                                       headers ? static_cast<DWORD>(-1) : 0,
                                       flags, 0);
  if (!request) {
    s.win32_error = GetLastError();
    QIV_DLOG("InternetOpenUrlA failed, error_code=%lu url=%s",
            s.win32_error, s.url.c_str());
    return nullptr;
  }
  return handles_->Adopt(request) ? request : nullptr;
}

bool HttpTransfer::StatusIs(HINTERNET request, const wchar_t* expected) {
  wchar_t status[128] = L"";  // 256 bytes
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, status, &size,
                      nullptr)) {
    state_->win32_error = GetLastError();
    return false;
  }
  state_->http_status = wcstoul(status, nullptr, 10);
  return wcscmp(status, expected) == 0;
}

bool HttpTransfer::ContentLength(HINTERNET request, DWORD* length) {
  DWORD value = kNoLength;
  DWORD size = sizeof(value);
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                      &value, &size, nullptr) ||
      value == kNoLength) {
    return false;
  }
  *length = value;
  return true;
}

uint64_t HttpTransfer::WholeSize(HINTERNET request, DWORD request_begin,
                                DWORD length) {
  wchar_t range[128] = L"";  // "bytes <first>-<last>/<total>"
  DWORD size = sizeof(range);
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_RANGE, range, &size,
                      nullptr)) {
    range[0] = L'\0';
  }
  return WholeSizeOfRangeAnswer(range, request_begin, length);
}

bool HttpTransfer::Read(HINTERNET request, char* buffer, DWORD size,
                        DWORD* got) {
  *got = 0;
  if (handles_->cancelled()) return false;
  if (!InternetReadFile(request, buffer, size, got)) {
    state_->win32_error = GetLastError();
    return false;
  }
  // A read that returned just as the handles were closed is not trusted.
  return !handles_->cancelled();
}

bool HttpTransfer::StringGet(HINTERNET request) {
  FetchState& s = *state_;
  if (!StatusIs(request, L"200")) return false;
  char buffer[kStringChunk];
  for (;;) {
    DWORD got = 0;
    if (!Read(request, buffer, sizeof(buffer), &got)) return false;
    if (got == 0) return true;
    // Text: each chunk counts up to its first zero byte.
    s.response_body.append(buffer, strnlen(buffer, got));
  }
}

bool HttpTransfer::FileGet(HINTERNET request) {
  FetchState& s = *state_;
  if (!StatusIs(request, L"200")) return false;
  DWORD length = 0;
  if (!ContentLength(request, &length)) {
    s.error_code = kErrorLengthMissing;
    return false;
  }
  ScopedFile file(CreateFileW(s.file.c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    s.win32_error = GetLastError();
    QIV_DLOG("CreateFileW failed, error_code=%lu", s.win32_error);
    return false;
  }
  if (!SeekTo(file.get(), length) || !SetEndOfFile(file.get()) ||
      !SeekTo(file.get(), 0)) {
    s.win32_error = GetLastError();
    s.error_code = kErrorReserveFailed;
    return false;
  }

  char buffer[kFileChunk];
  DWORD received = 0;  // this run's bytes (position is not reset per run)
  DWORD since_report = 0;
  for (;;) {
    DWORD got = 0;
    if (!Read(request, buffer, sizeof(buffer), &got)) {
      QIV_LOG(true, "单线程下载InternetReadFile 失败");
      return false;
    }
    if (got == 0) break;
    if (!WriteAll(file.get(), buffer, got)) {
      s.win32_error = GetLastError();
      QIV_DLOG("WriteFile failed, error_code=%lu", s.win32_error);
      return false;
    }
    received += got;
    s.position += got;
    since_report += got;
    if (since_report > kFileReportBytes) {
      since_report = 0;
      listener_->OnTransferProgress(static_cast<double>(received) / length);
    }
  }
  // The stream ended. Only the announced length is a whole file: a
  // connection closed early must not leave a truncated pack "complete".
  if (received != length) {
    QIV_DLOG("file stream ended at %lu of %lu bytes", received, length);
    return false;
  }
  listener_->OnTransferProgress(1.0);
  return true;
}

bool HttpTransfer::RangeGet(HINTERNET request) {
  FetchState& s = *state_;
  if (!StatusIs(request, L"206")) {
    s.error_code = kErrorRangeRefused;
    s.ranges_allowed = false;
    return false;
  }
  DWORD length = 0;
  if (!ContentLength(request, &length)) {
    s.error_code = kErrorLengthMissing;
    return false;
  }
  ScopedFile file(CreateFileW(s.file.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file.valid() || !SeekTo(file.get(), s.range_begin)) {
    s.win32_error = GetLastError();
    s.error_code = kErrorFileNotOpened;
    return false;
  }

  char buffer[kRangeChunk];
  DWORD since_report = 0;
  const uint64_t whole = WholeSize(request, s.range_begin, length);
  while (s.position < s.range_end) {
    const DWORD want = s.range_end - s.position < kRangeChunk
                           ? s.range_end - s.position
                           : kRangeChunk;
    DWORD got = 0;
    if (!Read(request, buffer, want, &got)) {
      QIV_LOG(true, "InternetReadFile失败, error_code=%lu", s.win32_error);
      return false;
    }
    if (got == 0) {
      QIV_DLOG("****数据没下载完，InternetReadFile却返回成功****");
      return false;
    }
    if (got > want) got = want;  // Never past this range's end.
    if (!WriteAll(file.get(), buffer, got)) {
      s.win32_error = GetLastError();
      QIV_DLOG("WriteFile failed, error_code=%lu", s.win32_error);
      return false;
    }
    s.position += got;
    since_report += got;
    if (since_report > kRangeReportBytes) {
      since_report = 0;
      listener_->OnTransferProgress(
          RangeShare(s.position, s.progress_base, whole));
    }
  }
  return true;
}

bool HttpTransfer::RangeProbe(HINTERNET request) {
  FetchState& s = *state_;
  if (!StatusIs(request, L"206")) return false;
  DWORD length = 0;
  if (!ContentLength(request, &length)) {
    s.error_code = kErrorLengthMissing;
    return false;
  }
  const uint64_t whole = WholeSize(request, 0, length);
  s.content_length = static_cast<DWORD>(whole);
  return true;
}

bool HttpTransfer::FormPost(HINTERNET root) {
  FetchState& s = *state_;
  if (handles_->cancelled()) return false;
  HINTERNET connection = InternetConnectW(
      root, s.post_server.c_str(), s.post_port, L"", L"anonymous",
      INTERNET_SERVICE_HTTP, 0, 0);
  if (!connection) {
    s.win32_error = GetLastError();
    return false;
  }
  if (!handles_->Adopt(connection)) return false;
  HINTERNET request = HttpOpenRequestW(
      connection, L"POST", s.post_object.c_str(), L"HTTP/1.0", nullptr,
      nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (!request) {
    s.win32_error = GetLastError();
    return false;
  }
  if (!handles_->Adopt(request) || handles_->cancelled()) return false;
  const BOOL sent = HttpSendRequestA(
      request, nullptr, 0, const_cast<char*>(s.post_body.data()),
      static_cast<DWORD>(s.post_body.size()));
  if (!sent) s.win32_error = GetLastError();
  return sent != 0;
}

}  // namespace net

// The result record and the nine delegate interfaces through which the
// transfer adapters report to the installer controller, which implements all
// of them. Every callback runs on the UI thread.
#pragma once

#include <windows.h>

#include <string>

namespace net {

class CBreakPointFetch;
class CBreakPointFetchApk;
class CBreakPointFetchRcPack;

// Passed by pointer with most completions; valid only during the call.
struct FetchResultInfo {
  DWORD error_code = 0;  // the fetcher's error code (FetchError)
  // Range probe: the content length. Range GET: the position reached.
  DWORD length_or_position = 0;
  DWORD range_end = 0;      // range GET only
  DWORD progress_base = 0;  // range GET only
};

class FetchURLDelegate {
 public:
  // The response text; empty when the fetch failed.
  virtual void OnFetchUrlComplete(std::string response) = 0;

 protected:
  virtual ~FetchURLDelegate() = default;
};

class FetchFileDelegate {
 public:
  virtual void OnFetchFileComplete(bool ok, FetchResultInfo* info) = 0;
  virtual void OnFetchFileProgress(float fraction) = 0;

 protected:
  virtual ~FetchFileDelegate() = default;
};

class BreakPointFetchDelegate {
 public:
  virtual void OnBreakPointFetchComplete(bool ok, FetchResultInfo* info,
                                         CBreakPointFetch* part) = 0;
  virtual void OnBreakPointFetchProgress(float fraction) = 0;

 protected:
  virtual ~BreakPointFetchDelegate() = default;
};

class UpLoadByGetDelegate {
 public:
  virtual void OnUpLoadByGetComplete(bool ok) = 0;

 protected:
  virtual ~UpLoadByGetDelegate() = default;
};

class UpLoadErrorByGetDelegate {
 public:
  virtual void OnUpLoadErrorByGetComplete(bool ok) = 0;

 protected:
  virtual ~UpLoadErrorByGetDelegate() = default;
};

class BreakFetchApkDelegate {
 public:
  virtual void OnApkFetchComplete(bool ok, FetchResultInfo* info,
                                  CBreakPointFetchApk* fetch) = 0;
  virtual void OnApkFetchProgress(float fraction) = 0;

 protected:
  virtual ~BreakFetchApkDelegate() = default;
};

class TestBreakPointDelegate {
 public:
  virtual void OnTestBreakPointComplete(bool ok, FetchResultInfo* info) = 0;

 protected:
  virtual ~TestBreakPointDelegate() = default;
};

class PostDataServerDelegate {
 public:
  virtual void OnPostDataServerComplete(bool ok) = 0;

 protected:
  virtual ~PostDataServerDelegate() = default;
};

class BreakFetchRcPackDelegate {
 public:
  virtual void OnRcPackFetchComplete(bool ok, FetchResultInfo* info,
                                     CBreakPointFetchRcPack* fetch) = 0;

 protected:
  virtual ~BreakFetchRcPackDelegate() = default;
};

}  // namespace net

// URLFetcher: one HTTP transfer over WinINet, run blocking on a Windows
// thread-pool thread and reported on the UI thread.
//
// Road of a run: Start() (owner, UI thread) posts to "io_thread", which takes
// two references (one for the worker, one for the completion), registers the
// fetcher as a destruction observer of the IO loop and queues the worker with
// QueueUserWorkItem. The worker performs the request (HttpTransfer), posts a
// completion packet to the IO pump's completion port, signals the done event
// and drops its reference. On "io_thread" OnCompletion unregisters, posts the
// completion dispatch to the UI loop and drops the other reference. The
// dispatch calls the delegate's FetchComplete, if a delegate is still set.
// Progress reports travel from the worker to the UI loop as tasks.
//
// Detaching: an owner that gives a fetcher up calls Detach() (delegate
// cleared, cancelled) and drops its reference. A detached fetcher never calls
// back: the delegate is checked on the UI thread right before each call, and
// only the UI thread clears it. Cancelling also closes the run's internet
// handles from the cancelling thread, so that a worker blocked in a read or a
// connect returns at once instead of after the 40 s time-out.
//
// If the IO loop is destroyed while a run is registered with it, the fetcher
// cancels the run, waits for the worker to end and posts the completion
// dispatch itself.
//
// Threads: construct, set fields, Start, Detach and read results on the UI
// thread. Fields are written only while the fetcher is idle and read only in
// the completion callback; owners never start a running fetcher again.
#pragma once

#include <windows.h>

#include <string>

#include "base/message_loop.h"
#include "base/message_pump_win.h"
#include "base/ref_counted.h"
#include "net/fetch_request.h"
#include "net/http_transfer.h"
#include "net/internet_handles.h"

namespace net {

class URLFetcher : public base::MessagePumpForIO::IOHandler,
                   public base::MessageLoop::DestructionObserver,
                   public base::RefCountedThreadSafe<URLFetcher>,
                   private HttpTransfer::Listener {
 public:
  // Receiver of a fetcher's callbacks, always on the UI thread.
  class URLFetcherDelegate {
   public:
    virtual void FetchComplete(URLFetcher* source) = 0;
    virtual void FetchProgress(URLFetcher* source, float fraction) {
      (void)source;
      (void)fraction;
    }
    virtual ~URLFetcherDelegate() = default;
  };

  // UI thread; g_io_loop must exist (its pump's completion port is taken
  // now). `delegate` is not owned and may be null.
  URLFetcher(const FetchRequest& request, URLFetcherDelegate* delegate);
  URLFetcher(const URLFetcher&) = delete;
  URLFetcher& operator=(const URLFetcher&) = delete;

  // UI thread. Runs the request as it is now described by the fields below.
  void Start();

  // UI thread. No callback reaches the delegate afterwards, and a running
  // transfer is cut off (its handles are closed). Permanent.
  void Detach();
  // UI thread. No callback reaches the delegate afterwards, but a running
  // transfer goes on to its end: a report already on its way still reaches
  // the server when its adapter moves on to the next one. Permanent.
  void Orphan();
  // Any thread. Cancels the running transfer (and every later start)
  // without clearing the delegate; Detach() is the usual call.
  void Cancel();

  // Request fields: set while idle.
  void set_url(const std::string& url) { state_.url = url; }
  void set_target_file(const std::wstring& file) { state_.file = file; }
  void set_range(DWORD begin, DWORD end) {
    state_.range_begin = begin;
    state_.range_end = end;
  }
  void set_progress_base(DWORD base) { state_.progress_base = base; }
  void set_post(const std::wstring& server, const std::wstring& object,
                const std::string& body) {
    state_.post_server = server;
    state_.post_object = object;
    state_.post_body = body;
  }
  // The form POST goes to port 80; tests point it at their loopback server.
  void set_post_port(INTERNET_PORT port) { state_.post_port = port; }
  void set_delegate(URLFetcherDelegate* delegate) { delegate_ = delegate; }

  // Results: read in the completion callback.
  bool succeeded() const { return state_.succeeded; }
  DWORD error_code() const { return state_.error_code; }
  DWORD position() const { return state_.position; }
  DWORD range_begin() const { return state_.range_begin; }
  DWORD range_end() const { return state_.range_end; }
  DWORD progress_base() const { return state_.progress_base; }
  DWORD content_length() const { return state_.content_length; }
  bool ranges_allowed() const { return state_.ranges_allowed; }
  const std::string& response_body() const { return state_.response_body; }
  DWORD http_status() const { return state_.http_status; }
  DWORD win32_error() const { return state_.win32_error; }
  float progress() const { return progress_; }
  int request_type() const { return state_.type; }
  const std::string& url() const { return state_.url; }
  const std::wstring& target_file() const { return state_.file; }
  URLFetcherDelegate* delegate() const { return delegate_; }
  bool cancelled() const { return handles_.cancelled(); }

  // Tests: the worker's done event (signalled when a run's worker has ended,
  // reset by the next start).
  HANDLE done_event_for_testing() const { return done_event_; }

 protected:
  // The last reference deletes the fetcher (any thread).
  ~URLFetcher() override;

 private:
  struct IOContext {
    OVERLAPPED overlapped;
    URLFetcher* fetcher;
  };

  // "io_thread".
  void StartOnIOThread();
  void OnCompletion(void* context, DWORD bytes_transferred,
                    DWORD error) override;
  void WillDestroyCurrentMessageLoop() override;

  // Pool thread.
  static DWORD WINAPI WorkerMain(void* param);
  void DoWork();
  void OnTransferProgress(double fraction) override;

  // UI thread.
  void DispatchComplete();
  void DeliverProgress(float fraction);

  FetchState state_;
  IOContext io_context_;
  URLFetcherDelegate* volatile delegate_;
  InternetHandles handles_;
  HANDLE done_event_;
  float progress_ = 0.0f;
  HANDLE completion_port_ = nullptr;
  // "io_thread" only: registered as a destruction observer of the IO loop.
  bool observing_io_loop_ = false;
};

// The name owners use for the delegate interface.
typedef URLFetcher::URLFetcherDelegate URLFetcherDelegate;

}  // namespace net

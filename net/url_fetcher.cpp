#include "net/url_fetcher.h"

#include "base/bind.h"
#include "simlog/log.h"

namespace net {

URLFetcher::URLFetcher(const FetchRequest& request,
                       URLFetcherDelegate* delegate)
    : delegate_(delegate),
      done_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  state_.type = request.type;
  state_.url = request.url;
  state_.file = request.file;
  state_.range_begin = request.range_begin;
  state_.range_end = request.range_end;
  ZeroMemory(&io_context_, sizeof(io_context_));
  io_context_.fetcher = this;
  if (g_io_loop && g_io_loop->pump()) {
    completion_port_ =
        static_cast<base::MessagePumpWin*>(g_io_loop->pump())->GetCompletionPort();
  }
}

URLFetcher::~URLFetcher() {
  delegate_ = nullptr;
  handles_.Cancel();
  if (done_event_) CloseHandle(done_event_);
}

void URLFetcher::Start() {
  if (!g_io_loop) {
    // No "io_thread" (shutdown): the run fails like a refused work item.
    state_.succeeded = false;
    if (g_ui_loop)
      g_ui_loop->PostTask(fastdelegate::Bind(this, &URLFetcher::DispatchComplete));
    return;
  }
  g_io_loop->PostTask(fastdelegate::Bind(this, &URLFetcher::StartOnIOThread));
}

void URLFetcher::Detach() {
  delegate_ = nullptr;
  Cancel();
}

void URLFetcher::Orphan() { delegate_ = nullptr; }

void URLFetcher::Cancel() { handles_.Cancel(); }

void URLFetcher::StartOnIOThread() {
  AddRef();  // the worker's
  AddRef();  // the completion's
  base::MessageLoop::current()->AddDestructionObserver(this);
  observing_io_loop_ = true;
  ResetEvent(done_event_);
  if (completion_port_ && QueueUserWorkItem(&URLFetcher::WorkerMain, this, 0))
    return;

  QIV_DLOG("QueueUserWorkItem failed, error_code=%lu", GetLastError());
  base::MessageLoop::current()->RemoveDestructionObserver(this);
  observing_io_loop_ = false;
  state_.succeeded = false;
  SetEvent(done_event_);
  g_ui_loop->PostTask(fastdelegate::Bind(this, &URLFetcher::DispatchComplete));
  Release();
  Release();
}

DWORD WINAPI URLFetcher::WorkerMain(void* param) {
  static_cast<URLFetcher*>(param)->DoWork();
  return 0;
}

void URLFetcher::DoWork() {
  HttpTransfer transfer(&state_, &handles_, this);
  transfer.Run();
  const DWORD bytes = state_.type == kStringGet
                          ? static_cast<DWORD>(state_.response_body.size())
                          : 0;
  base::MessagePumpForIO::IOHandler* handler = this;
  PostQueuedCompletionStatus(completion_port_, bytes,
                             reinterpret_cast<ULONG_PTR>(handler),
                             &io_context_.overlapped);
  SetEvent(done_event_);
  Release();
}

void URLFetcher::OnTransferProgress(double fraction) {
  // Bound with a double: the closure stores it as such and narrows at the
  // call.
  if (g_ui_loop)
    g_ui_loop->PostTask(
        fastdelegate::Bind(this, &URLFetcher::DeliverProgress, fraction));
}

void URLFetcher::OnCompletion(void* /*context*/, DWORD /*bytes_transferred*/,
                              DWORD /*error*/) {
  if (observing_io_loop_) {
    base::MessageLoop::current()->RemoveDestructionObserver(this);
    observing_io_loop_ = false;
  }
  if (delegate_ && g_ui_loop)
    g_ui_loop->PostTask(fastdelegate::Bind(this, &URLFetcher::DispatchComplete));
  Release();
}

void URLFetcher::WillDestroyCurrentMessageLoop() {
  // "io_thread" is going away with our completion still owed: end the run
  // now (closing its handles unblocks the worker), wait for the worker and
  // deliver the result without the IO thread.
  observing_io_loop_ = false;
  handles_.Cancel();
  WaitForSingleObject(done_event_, INFINITE);
  if (delegate_ && g_ui_loop)
    g_ui_loop->PostTask(fastdelegate::Bind(this, &URLFetcher::DispatchComplete));
  Release();
}

void URLFetcher::DispatchComplete() {
  if (base::MessageLoop::current() != g_ui_loop)
    QIV_DLOG("错误，FetchComplete 没在UI线程运行");
  if (delegate_) delegate_->FetchComplete(this);
}

void URLFetcher::DeliverProgress(float fraction) {
  progress_ = fraction;
  if (delegate_) delegate_->FetchProgress(this, fraction);
}

}  // namespace net

// InternetHandles: the WinINet handles of one running transfer, closable from
// another thread.
//
// Why: a transfer blocks a pool thread in InternetOpenUrl or InternetReadFile
// for up to the receive time-out (40 s). When the owner gives the transfer up
// (detach, user quit, the IO loop going away), waiting that long would stall
// shutdown. WinINet's own way to end a blocking call is to close its handle
// from another thread: the call then returns at once with an error. So the
// worker hands every handle it opens to this object, and Cancel() closes them
// all under the lock; the worker closes whatever is left when it ends. Each
// handle is therefore closed exactly once, by whichever side comes first.
//
// After Cancel() the worker must not touch a handle again: it checks
// cancelled() before each WinINet call and gives up when it is set; a call
// already running when Cancel() closes its handle fails. What this cannot
// close is the instant between that check and the call itself: were the
// worker preempted exactly there while another transfer opened a handle that
// got the freed value, the call would go to that handle. The window is a few
// instructions wide; WinINet offers no way to pin a handle against a close.
//
// Under wine, closing a handle does not end a read that is already blocked
// (the read ends when data or the end of the stream arrives), and the
// receive time-out set on the internet handle is not applied either.
//
// Threads: Adopt/CloseAll on the worker (pool thread); Cancel and cancelled()
// on any thread.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace net {

class InternetHandles {
 public:
  InternetHandles();
  InternetHandles(const InternetHandles&) = delete;
  InternetHandles& operator=(const InternetHandles&) = delete;
  // Closes what is still held.
  ~InternetHandles();

  // Worker. Keeps `handle` (not null) until CloseAll() or Cancel(). When the
  // transfer was cancelled already, closes `handle` at once and returns false.
  bool Adopt(HINTERNET handle);

  // Worker, at the end of a run: closes the held handles, newest first.
  void CloseAll();

  // Any thread. Marks the transfer cancelled for good and closes the held
  // handles, so that a blocked WinINet call returns.
  void Cancel();

  // Any thread.
  bool cancelled() const { return cancelled_ != 0; }

  // Worker, tests: how many handles are held right now.
  int held_count() const;

 private:
  static constexpr int kMaxHandles = 4;  // root, connection, request + spare

  void CloseLocked();

  mutable CRITICAL_SECTION lock_;
  HINTERNET handles_[kMaxHandles] = {};
  int count_ = 0;
  volatile LONG cancelled_ = 0;
};

}  // namespace net

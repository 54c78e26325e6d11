// FetchAdapter: the common part of every transfer adapter. An adapter owns
// one URLFetcher (public `fetcher`: the controller sets its URL, range and
// POST fields and reads its results through it), receives the fetcher's
// callbacks and forwards a reduced, typed result to a purpose-specific
// delegate interface (fetch_delegates.h).
//
// A fetcher is replaced, never restarted while it runs: ReplaceFetcher()
// orphans the old one (its late callbacks are dropped; a run still in
// progress ends on its own) before the new one exists. DetachFetcher() and
// the destructor also cut a running transfer off, so no callback ever
// reaches a destroyed adapter and quitting never waits for the network.
//
// Threads: UI thread only.
#pragma once

#include "base/ref_counted.h"
#include "net/fetch_request.h"
#include "net/url_fetcher.h"

namespace net {

class FetchAdapter : public URLFetcher::URLFetcherDelegate {
 public:
  FetchAdapter(const FetchAdapter&) = delete;
  FetchAdapter& operator=(const FetchAdapter&) = delete;
  ~FetchAdapter() override;

  // Cuts the current fetcher off from this adapter and makes a new one for
  // `request`, with this adapter as its delegate. Does not start it. A run
  // of the old fetcher still in progress is not cancelled: it ends on its
  // own and reports to nobody (a report replaced by the next one is still
  // delivered).
  void ReplaceFetcher(const FetchRequest& request);

  // Detaches the current fetcher and keeps it: nothing more is reported
  // (the user quit; the controller stops every transfer).
  void DetachFetcher();

  base::scoped_refptr<URLFetcher> fetcher;

 protected:
  explicit FetchAdapter(const FetchRequest& request);
};

}  // namespace net

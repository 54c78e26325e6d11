// FetchAdapter: the common part of every transfer adapter. An adapter owns
// one URLFetcher (public `fetcher`: the controller sets its URL, range and
// POST fields and reads its results through it), receives the fetcher's
// callbacks and forwards a reduced, typed result to a purpose-specific
// delegate interface (fetch_delegates.h).
//
// A fetcher is replaced, never restarted while it runs: ReplaceFetcher()
// detaches the old one (its late callbacks are dropped, its transfer is cut
// off) before the new one exists. The destructor detaches as well, so no
// callback ever reaches a destroyed adapter.
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

  // Detaches the current fetcher and makes a new one for `request`, with
  // this adapter as its delegate. Does not start it.
  void ReplaceFetcher(const FetchRequest& request);

  // Detaches the current fetcher and keeps it: nothing more is reported
  // (the user quit; the controller stops every transfer).
  void DetachFetcher();

  base::scoped_refptr<URLFetcher> fetcher;

 protected:
  explicit FetchAdapter(const FetchRequest& request);
};

}  // namespace net

#include "net/fetch_adapter.h"

namespace net {

FetchAdapter::FetchAdapter(const FetchRequest& request)
    : fetcher(new URLFetcher(request, this)) {}

FetchAdapter::~FetchAdapter() { DetachFetcher(); }

void FetchAdapter::ReplaceFetcher(const FetchRequest& request) {
  if (fetcher) fetcher->Orphan();
  fetcher = new URLFetcher(request, this);
}

void FetchAdapter::DetachFetcher() {
  if (fetcher) fetcher->Detach();
}

}  // namespace net

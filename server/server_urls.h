#pragma once

// The endpoint state of the process: the URL table, the credential pair and
// the MAC text fixed at start-up, and the signed parameter string built
// fresh for every request. CGlobal holds one instance (its InitServerUrls,
// GetSignedParams and GetInforUrl forward here).
//
// Threads: the seams and Init run on the main thread before any request is
// built; afterwards the state is read-only, so the UI thread and the file
// thread may build requests at the same time.
//
// Seams: tests replace the deployment settings (to reach loopback servers on
// free ports), the MAC reader and the clock, all in-process, so that test
// programs can run in parallel and get repeatable signatures.

#include <cstdint>
#include <string>

#include "server/endpoint_settings.h"
#include "server/server_endpoints.h"

class CServerUrls {
 public:
  // Seconds since 1970-01-01 UTC.
  typedef int64_t (*Clock)();
  // The MAC text; empty when no adapter qualifies.
  typedef std::string (*MacReader)();

  CServerUrls();
  CServerUrls(const CServerUrls&) = delete;
  CServerUrls& operator=(const CServerUrls&) = delete;

  // Seams, main thread, before Init. Null restores the real source.
  void SetEndpointSettings(const server::EndpointSettings& settings);
  void SetMacReader(MacReader reader);
  void SetClock(Clock clock);

  // Fills the table from the flag and the index; reads the MAC once (the
  // fallback "11:11:11:11:11:11" when no adapter qualifies). Main thread.
  void Init(bool external_servers, int language_index);

  // A fresh signed parameter string: reads the clock on every call. Any
  // thread after Init.
  std::string GetSignedParams() const;
  // infor URL immediately followed by a fresh signed parameter string.
  std::string GetInforUrl() const;

  const server::ServerEndpoints& endpoints() const { return endpoints_; }

  // The package-query URL last built. UI thread.
  std::string query_url;

 private:
  server::EndpointSettings settings_;
  MacReader mac_reader_ = nullptr;
  Clock clock_ = nullptr;
  server::ServerEndpoints endpoints_;
};

#pragma once

// Test support for programs that run beside testing/product_server.py (its
// --run mode starts them with the server's port and record file in the
// environment). Plain WinINet, so that the checks do not depend on the
// transfer code under test.

#include <string>
#include <vector>

#include <json/value.h>

namespace server_testing {

// QIV_PRODUCT_PORT, or 0 when the program was not started by the server.
int ProductServerPort();
// "127.0.0.1:<port>".
std::string ProductServerHost();

struct HttpAnswer {
  bool ok = false;  // the request reached the server and was answered
  int status = 0;
  std::string body;
};

// A blocking GET without caching.
HttpAnswer HttpGet(const std::string& url);

// Switches the server's package-answer scenario; true on success.
bool SetScenario(const std::string& name);

// Every request the server recorded so far, oldest first.
std::vector<Json::Value> RecordedRequests();

// The recorded requests whose target path starts with |prefix|.
std::vector<Json::Value> RecordedRequestsTo(const std::string& prefix);

}  // namespace server_testing

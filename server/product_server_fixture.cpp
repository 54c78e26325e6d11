#include "server/product_server_fixture.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <fstream>

#include <json/reader.h>

namespace server_testing {

namespace {

class ScopedInternet {
 public:
  explicit ScopedInternet(HINTERNET handle) : handle_(handle) {}
  ~ScopedInternet() {
    if (handle_) InternetCloseHandle(handle_);
  }
  ScopedInternet(const ScopedInternet&) = delete;
  ScopedInternet& operator=(const ScopedInternet&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

}  // namespace

int ProductServerPort() {
  const char* port = std::getenv("QIV_PRODUCT_PORT");
  return port ? std::atoi(port) : 0;
}

std::string ProductServerHost() {
  return "127.0.0.1:" + std::to_string(ProductServerPort());
}

HttpAnswer HttpGet(const std::string& url) {
  HttpAnswer answer;
  ScopedInternet session(
      InternetOpenA("QivServerTest", INTERNET_OPEN_TYPE_DIRECT, nullptr,
                    nullptr, 0));
  if (!session.get()) return answer;
  ScopedInternet request(InternetOpenUrlA(
      session.get(), url.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request.get()) return answer;
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoA(request.get(),
                      HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &size, nullptr))
    return answer;
  answer.status = static_cast<int>(status);
  char buffer[4096];
  DWORD read = 0;
  while (InternetReadFile(request.get(), buffer, sizeof(buffer), &read) &&
         read > 0)
    answer.body.append(buffer, read);
  answer.ok = true;
  return answer;
}

bool SetScenario(const std::string& name) {
  const HttpAnswer answer = HttpGet("http://" + ProductServerHost() +
                                    "/control/scenario?name=" + name);
  return answer.ok && answer.status == 200;
}

std::vector<Json::Value> RecordedRequests() {
  std::vector<Json::Value> entries;
  const char* path = std::getenv("QIV_PRODUCT_RECORD");
  if (!path) return entries;
  std::ifstream file(path);
  std::string line;
  Json::Reader reader;
  while (std::getline(file, line)) {
    Json::Value entry;
    if (reader.parse(line, entry) && entry.isObject())
      entries.push_back(entry);
  }
  return entries;
}

std::vector<Json::Value> RecordedRequestsTo(const std::string& prefix) {
  std::vector<Json::Value> matching;
  for (const Json::Value& entry : RecordedRequests()) {
    if (entry["target"].asString().compare(0, prefix.size(), prefix) == 0)
      matching.push_back(entry);
  }
  return matching;
}

}  // namespace server_testing

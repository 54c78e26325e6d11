// The loopback test server (testing/http_test_server.py) as a test program
// under wine sees it: testing/with_http_server.sh starts it on a free port
// of 127.0.0.1 and passes its port, its file folder and its request record
// in the environment. Also a few file helpers the transfer tests share.
//
// Threads: any; nothing here is shared state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace net {

class TestServer {
 public:
  // Reads the environment; available() is false outside the wrapper.
  TestServer();

  bool available() const { return port_ != 0; }
  int port() const { return port_; }

  // "http://127.0.0.1:<port>" + `path_and_query`.
  std::string Url(const std::string& path_and_query) const;
  // URL of a file of the served folder, with an optional query.
  std::string FileUrl(const std::string& name,
                      const std::string& query = std::string()) const;

  // Writes `bytes` as file `name` of the served folder.
  bool PutFile(const std::string& name, const std::string& bytes) const;

  // The request record so far, one line per request:
  //   <METHOD> <path?query> range=<Range or -> status=<n> body=<pct body>
  std::vector<std::string> Requests() const;
  // Record lines that contain `text`.
  int CountRequests(const std::string& text) const;

  // Ends every stall the server is in (a plain WinINet GET of its control
  // URL, independent of the code under test).
  bool ReleaseStalls() const;

 private:
  int port_ = 0;
  std::wstring root_;
  std::wstring record_;
};

// Deterministic pseudo-random bytes.
std::string MakeBytes(size_t size, unsigned seed);
// Whole file as bytes; empty when unreadable.
std::string ReadFileBytes(const std::wstring& path);
// SHA-256 of bytes as lower-case hex (BCrypt); empty on failure.
std::string Sha256Hex(const std::string& bytes);
// A fresh path in the temporary folder: <temp>\qiv-net-<pid>-<name>.
std::wstring TempPath(const std::wstring& name);

}  // namespace net

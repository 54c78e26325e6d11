#include "net/testing/test_server.h"

#include <bcrypt.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>

#include "installer/util/test_folder.h"

namespace net {

namespace {

std::wstring WideEnv(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(value, n) : std::wstring();
}

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  return WriteTestFile(path, bytes);
}

}  // namespace

TestServer::TestServer() {
  const std::wstring port = WideEnv(L"QIV_TEST_HTTP_PORT");
  port_ = port.empty() ? 0 : _wtoi(port.c_str());
  root_ = WideEnv(L"QIV_TEST_HTTP_ROOT");
  record_ = WideEnv(L"QIV_TEST_HTTP_RECORD");
}

std::string TestServer::Url(const std::string& path_and_query) const {
  char prefix[64];
  snprintf(prefix, sizeof(prefix), "http://127.0.0.1:%d", port_);
  return prefix + path_and_query;
}

std::string TestServer::FileUrl(const std::string& name,
                                const std::string& query) const {
  return Url("/files/" + name + (query.empty() ? "" : "?" + query));
}

bool TestServer::PutFile(const std::string& name,
                         const std::string& bytes) const {
  return WriteFileBytes(root_ + L"\\" + Widen(name), bytes);
}

std::vector<std::string> TestServer::Requests() const {
  std::vector<std::string> lines;
  const std::string text = ReadFileBytes(record_);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

int TestServer::CountRequests(const std::string& text) const {
  int count = 0;
  for (const std::string& line : Requests())
    if (line.find(text) != std::string::npos) ++count;
  return count;
}

bool TestServer::ReleaseStalls() const {
  HINTERNET root = InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr,
                                 nullptr, 0);
  if (!root) return false;
  HINTERNET request =
      InternetOpenUrlA(root, Url("/_control/release").c_str(), nullptr, 0,
                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  bool ok = false;
  if (request) {
    char buffer[64];
    DWORD got = 0;
    ok = InternetReadFile(request, buffer, sizeof(buffer), &got) && got > 0;
    InternetCloseHandle(request);
  }
  InternetCloseHandle(root);
  return ok;
}

std::string MakeBytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    bytes[i] = static_cast<char>(x >> 24);
  }
  return bytes;
}

std::string ReadFileBytes(const std::wstring& path) { return ReadTestFile(path); }

std::string Sha256Hex(const std::string& bytes) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                  0) != 0) {
    return std::string();
  }
  unsigned char digest[32];
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
  ok = ok && BCryptHashData(hash,
                            reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                            static_cast<ULONG>(bytes.size()), 0) == 0;
  ok = ok && BCryptFinishHash(hash, digest, sizeof(digest), 0) == 0;
  if (hash) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!ok) return std::string();
  std::string hex;
  char two[3];
  for (unsigned char byte : digest) {
    snprintf(two, sizeof(two), "%02x", byte);
    hex += two;
  }
  return hex;
}

std::wstring TempPath(const std::wstring& name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  wchar_t path[MAX_PATH * 2];
  _snwprintf(path, MAX_PATH * 2, L"%lsqiv-net-%lu-%ls", folder,
             GetCurrentProcessId(), name.c_str());
  path[MAX_PATH * 2 - 1] = L'\0';
  return path;
}

}  // namespace net

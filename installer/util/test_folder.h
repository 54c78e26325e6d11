// Test support: a fresh folder under the temporary folder, removed with
// everything in it when the object goes out of scope.
#pragma once

#include <windows.h>

#include <string>

#include "installer/util/file_util.h"

class TestFolder {
 public:
  TestFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {0};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"qiv_test_" + std::to_wstring(GetCurrentProcessId()) +
            L"_" + std::to_wstring(++counter);
    DeleteFolderTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TestFolder() { DeleteFolderTree(path_); }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring Child(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Test support: file contents in one call.
inline bool WriteTestFile(const std::wstring& path, const std::string& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                      nullptr) && written == content.size();
  CloseHandle(file);
  return ok;
}

inline std::string ReadTestFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

inline bool TestPathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

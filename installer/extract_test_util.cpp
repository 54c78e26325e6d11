#include "installer/extract_test_util.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "installer/util/test_folder.h"

namespace {

void Walk(const std::wstring& root, const std::wstring& relative,
          std::vector<std::wstring>* out) {
  WIN32_FIND_DATAW data;
  std::wstring pattern = root + (relative.empty() ? L"" : L"\\" + relative) + L"\\*";
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..")
      continue;
    std::wstring path = relative.empty() ? name : relative + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out->push_back(path + L"\\");
      Walk(root, path, out);
    } else {
      out->push_back(path);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

std::wstring FixtureFolder() {
  wchar_t buffer[1024];
  DWORD n = GetEnvironmentVariableW(L"QIV_ARCHIVE_FIXTURES", buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

std::wstring Fixture(const std::wstring& name) {
  return FixtureFolder() + L"\\" + name;
}

std::wstring NewWorkFolder() {
  static std::atomic<int> counter{0};
  std::wstring path = Fixture(L"work\\w") + std::to_wstring(GetCurrentProcessId()) +
                      L"_" + std::to_wstring(++counter);
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolderPath(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::wstring& path) { return ReadTestFile(path); }

bool WriteWholeFile(const std::wstring& path, const std::string& content) {
  return WriteTestFile(path, content);
}

bool SameFileContent(const std::wstring& a, const std::wstring& b) {
  HANDLE ha = CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  HANDLE hb = CreateFileW(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  bool same = ha != INVALID_HANDLE_VALUE && hb != INVALID_HANDLE_VALUE;
  std::vector<char> ba(1 << 20), bb(1 << 20);
  while (same) {
    DWORD ga = 0, gb = 0;
    if (!ReadFile(ha, ba.data(), static_cast<DWORD>(ba.size()), &ga, nullptr) ||
        !ReadFile(hb, bb.data(), static_cast<DWORD>(bb.size()), &gb, nullptr) ||
        ga != gb || !std::equal(ba.begin(), ba.begin() + ga, bb.begin())) {
      same = false;
      break;
    }
    if (ga == 0)
      break;
  }
  if (ha != INVALID_HANDLE_VALUE)
    CloseHandle(ha);
  if (hb != INVALID_HANDLE_VALUE)
    CloseHandle(hb);
  return same;
}

std::wstring ListTree(const std::wstring& root) {
  std::vector<std::wstring> paths;
  Walk(root, L"", &paths);
  std::sort(paths.begin(), paths.end());
  std::wstring text;
  for (const std::wstring& p : paths)
    text += p + L"\n";
  return text;
}

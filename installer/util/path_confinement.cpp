#include "installer/util/path_confinement.h"

#include <windows.h>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring FullPathOf(const std::wstring& path) {
  DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (need == 0)
    return std::wstring();
  std::wstring full(need, L'\0');
  DWORD got = GetFullPathNameW(path.c_str(), need, &full[0], nullptr);
  if (got == 0 || got >= need)
    return std::wstring();
  full.resize(got);
  return full;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (path.size() > 1 && IsSeparator(path.back()))
    path.pop_back();
  return path;
}

bool IsPathWithin(const std::wstring& full, const std::wstring& root) {
  if (root.empty() || full.size() < root.size())
    return false;
  if (full.size() > root.size() && full[root.size()] != L'\\')
    return false;
  return CompareStringOrdinal(full.c_str(), static_cast<int>(root.size()), root.c_str(),
                              static_cast<int>(root.size()), TRUE) == CSTR_EQUAL;
}

bool IsExistingFolder(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFoldersBelow(const std::wstring& root, const std::wstring& folder) {
  for (size_t i = root.size() + 1; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == L'\\')
      CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
  }
}

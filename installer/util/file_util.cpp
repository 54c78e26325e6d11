#include "installer/util/file_util.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "installer/util/scoped_handle.h"
#include "installer/util/string_conv.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file that cannot be deleted in place (an image mapped by a running
// program or a loaded library refuses deletion but allows renaming) is moved
// aside to "<path>.tmp", which is then deleted or, if it is still in use,
// left to the next reboot. When even the rename is refused (another process
// holds the file without delete sharing) the original itself is scheduled,
// so that the file goes away at the next reboot in either case.
void MoveAsideAndSchedule(const std::wstring& path) {
  std::wstring aside = path + L".tmp";
  if (!MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return;
  }
  if (!DeleteFileW(aside.c_str()))
    MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

bool CreateDirectoryIfMissing(const wchar_t* path) {
  if (path == nullptr || path[0] == 0) return false;
  if (CreateDirectoryW(path, nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

bool CreateParentFolders(const wchar_t* path) {
  if (path == nullptr || path[0] == 0) return false;
  std::wstring text(path);
  if (text.size() > MAX_PATH) return false;
  if (PathIsRootW(path)) return true;
  bool result = false;
  for (size_t i = 2; i < text.size(); ++i) {
    if (IsSeparator(text[i])) result = CreateDirectoryIfMissing(text.substr(0, i).c_str());
  }
  return result;
}

std::wstring GetSpecialFolderPath(int csidl, bool create) {
  wchar_t buffer[MAX_PATH] = {0};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, create ? TRUE : FALSE))
    return std::wstring();
  return buffer;
}

std::wstring FileNameOf(const std::wstring& path) {
  size_t pos = path.find_last_of(L"\\/");
  return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

std::wstring DirectoryOf(const std::wstring& path) {
  size_t pos = path.find_last_of(L"\\/");
  return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos + 1);
}

bool AddTrailingBackslash(std::wstring* path) {
  if (path == nullptr || path->empty() || path->size() >= MAX_PATH - 1) return true;
  if (path->back() != L'\\') path->push_back(L'\\');
  return true;
}

bool DeleteFileForce(const std::wstring& path) {
  if (path.empty() || !PathExists(path) || IsFolder(path)) return true;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(path.c_str())) return true;
  MoveAsideAndSchedule(path);
  return false;
}

bool DeleteFolderTree(const std::wstring& folder) {
  if (folder.empty()) return true;
  DeleteFileW(folder.c_str());
  // SHFileOperationW wants a list of names ended by an empty name.
  std::wstring from = folder + L"\\*.*";
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  SHFileOperationW(&operation);
  RemoveDirectoryW(folder.c_str());
  return true;
}

bool ReplaceFileForce(const std::wstring& source, const std::wstring& target) {
  if (!PathExists(source) || EqualsIgnoreCase(source, target)) return false;
  if (PathExists(target)) {
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  } else {
    CreateParentFolders(DirectoryOf(target).c_str());
  }
  if (!DeleteFileW(target.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    MoveAsideAndSchedule(target);
  // The copy's result is the answer: a target that stayed locked (could not
  // even be moved aside) must not be reported as replaced.
  return CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool CopyFolderTree(const std::wstring& source, const std::wstring& target,
                    bool overwrite) {
  if (!IsFolder(target)) {
    // With the trailing separator the target folder itself is created too.
    std::wstring folder = target;
    AddTrailingBackslash(&folder);
    CreateParentFolders(folder.c_str());
  }
  if (!PathExists(source)) return false;
  WIN32_FIND_DATAW data;
  ScopedFindHandle find(FindFirstFileW((source + L"\\*.*").c_str(), &data));
  if (!find.valid()) return false;
  bool result = true;
  do {
    std::wstring name = data.cFileName;
    std::wstring from = source + L"\\" + name;
    std::wstring to = target + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name[0] == L'.') continue;  // ".", ".." and hidden tool folders
      if (!CopyFolderTree(from, to, overwrite)) result = false;
    } else if (overwrite) {
      if (!ReplaceFileForce(from, to)) result = false;
    } else if (!PathExists(to)) {
      if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) result = false;
    }
  } while (FindNextFileW(find.get(), &data));
  return result;
}

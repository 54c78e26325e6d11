#include "installer/util/file_util.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "installer/util/glut_library.h"
#include "installer/util/scoped_handle.h"
#include "installer/util/test_folder.h"

namespace {

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileUtilTest, PathPieces) {
  const struct { const wchar_t* path; const wchar_t* name; const wchar_t* dir; } kCases[] = {
      {L"C:\\a\\b.txt", L"b.txt", L"C:\\a\\"},
      {L"C:/a/b.txt", L"b.txt", L"C:/a/"},
      {L"C:\\a/b", L"b", L"C:\\a/"},
      {L"b.txt", L"b.txt", L""},
      {L"C:\\a\\", L"", L"C:\\a\\"},
      {L"", L"", L""},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.name, FileNameOf(c.path)) << c.path;
    EXPECT_EQ(c.dir, DirectoryOf(c.path)) << c.path;
  }
  std::wstring path = L"C:\\a";
  EXPECT_TRUE(AddTrailingBackslash(&path));
  EXPECT_EQ(L"C:\\a\\", path);
  EXPECT_TRUE(AddTrailingBackslash(&path));
  EXPECT_EQ(L"C:\\a\\", path);
  path.clear();
  EXPECT_TRUE(AddTrailingBackslash(&path));
  EXPECT_EQ(L"", path);
}

TEST(FileUtilTest, CreateDirectoryIfMissing) {
  TestFolder folder;
  EXPECT_FALSE(CreateDirectoryIfMissing(nullptr));
  EXPECT_FALSE(CreateDirectoryIfMissing(L""));
  EXPECT_TRUE(CreateDirectoryIfMissing(folder.Child(L"x").c_str()));
  EXPECT_TRUE(CreateDirectoryIfMissing(folder.Child(L"x").c_str()));
  EXPECT_FALSE(CreateDirectoryIfMissing(folder.Child(L"missing\\x").c_str()));
}

TEST(FileUtilTest, CreateParentFoldersOneVersusTwoLevels) {
  TestFolder folder;
  // Without a trailing separator the last level is a name, not a folder.
  EXPECT_TRUE(CreateParentFolders(folder.Child(L"one\\two").c_str()));
  EXPECT_TRUE(IsFolder(folder.Child(L"one")));
  EXPECT_FALSE(TestPathExists(folder.Child(L"one\\two")));
  // With it, both levels exist.
  EXPECT_TRUE(CreateParentFolders(folder.Child(L"three\\four\\").c_str()));
  EXPECT_TRUE(IsFolder(folder.Child(L"three\\four")));
  // Forward slashes separate too.
  EXPECT_TRUE(CreateParentFolders((folder.path() + L"/five/six/").c_str()));
  EXPECT_TRUE(IsFolder(folder.Child(L"five\\six")));
  // A file path creates the file's folder.
  EXPECT_TRUE(CreateParentFolders(folder.Child(L"seven\\file.txt").c_str()));
  EXPECT_TRUE(IsFolder(folder.Child(L"seven")));
}

TEST(FileUtilTest, CreateParentFoldersEdges) {
  EXPECT_FALSE(CreateParentFolders(nullptr));
  EXPECT_FALSE(CreateParentFolders(L""));
  EXPECT_FALSE(CreateParentFolders(L"no_separator"));
  EXPECT_TRUE(CreateParentFolders(L"C:\\"));
  std::wstring too_long = L"C:\\" + std::wstring(258, L'a');
  EXPECT_FALSE(CreateParentFolders(too_long.c_str()));
}

TEST(FileUtilTest, DeleteFileForceSimpleCases) {
  TestFolder folder;
  EXPECT_TRUE(DeleteFileForce(folder.Child(L"missing.txt")));
  EXPECT_TRUE(DeleteFileForce(folder.path()));  // a folder: nothing to do
  EXPECT_TRUE(IsFolder(folder.path()));
  std::wstring file = folder.Child(L"read_only.txt");
  ASSERT_TRUE(WriteTestFile(file, "data"));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFileForce(file));
  EXPECT_FALSE(TestPathExists(file));
}

// The boot-time rename list that MoveFileExW(..., DELAY_UNTIL_REBOOT) fills.
const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

std::vector<wchar_t> ReadPendingRenames() {
  std::vector<wchar_t> data;
  ScopedRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, key.receive()) !=
      ERROR_SUCCESS)
    return data;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return data;
  data.resize(size / sizeof(wchar_t) + 1);
  RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr,
                   reinterpret_cast<BYTE*>(data.data()), &size);
  data.resize(size / sizeof(wchar_t));
  return data;
}

void RestorePendingRenames(const std::vector<wchar_t>& saved) {
  ScopedRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, key.receive()) !=
      ERROR_SUCCESS)
    return;
  if (saved.empty()) {
    RegDeleteValueW(key.get(), kPendingRenames);
  } else {
    RegSetValueExW(key.get(), kPendingRenames, 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(saved.data()),
                   static_cast<DWORD>(saved.size() * sizeof(wchar_t)));
  }
}

bool PendingRenamesMention(const std::vector<wchar_t>& data, const std::wstring& path) {
  std::wstring text(data.begin(), data.end());
  return text.find(path) != std::wstring::npos;
}

// A loaded library (like a running program's image) refuses deletion but
// may be renamed, on Windows and under Wine alike. A data file mapping does
// not reproduce this under Wine, so the test loads a real library: the GLUT
// library this program carries.
TEST(FileUtilTest, DeleteFileForceMovesALoadedLibraryAsideAndSchedulesIt) {
  TestFolder folder;
  std::wstring file = folder.Child(L"in_use.dll");
  ASSERT_TRUE(WriteGlutLibrary(file));
  HMODULE library = LoadLibraryW(file.c_str());
  ASSERT_NE(nullptr, library);
  // The state under test: delete refused.
  ASSERT_FALSE(DeleteFileW(file.c_str()));

  const std::vector<wchar_t> saved = ReadPendingRenames();
  bool deleted = DeleteFileForce(file);
  const std::vector<wchar_t> after = ReadPendingRenames();
  RestorePendingRenames(saved);

  EXPECT_FALSE(deleted);
  EXPECT_FALSE(TestPathExists(file));
  EXPECT_TRUE(TestPathExists(file + L".tmp"));
  EXPECT_TRUE(PendingRenamesMention(after, FileNameOf(file) + L".tmp"));
  EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(library, "glutInit")));

  FreeLibrary(library);
  // Once released, the moved copy can go (the folder's clean-up needs that).
  EXPECT_TRUE(DeleteFileForce(file + L".tmp"));
}

TEST(FileUtilTest, ReplaceFileForce) {
  TestFolder folder;
  std::wstring source = folder.Child(L"source.txt");
  ASSERT_TRUE(WriteTestFile(source, "new"));
  // Missing source, or the same path in other letter case: nothing happens.
  EXPECT_FALSE(ReplaceFileForce(folder.Child(L"missing.txt"), folder.Child(L"t.txt")));
  EXPECT_FALSE(ReplaceFileForce(source, folder.Child(L"SOURCE.TXT")));
  EXPECT_EQ("new", ReadTestFile(source));
  // Target in folders that do not exist yet.
  std::wstring deep = folder.Child(L"a\\b\\target.txt");
  EXPECT_TRUE(ReplaceFileForce(source, deep));
  EXPECT_EQ("new", ReadTestFile(deep));
  // A read-only target is replaced.
  std::wstring old_target = folder.Child(L"old.txt");
  ASSERT_TRUE(WriteTestFile(old_target, "old"));
  SetFileAttributesW(old_target.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(ReplaceFileForce(source, old_target));
  EXPECT_EQ("new", ReadTestFile(old_target));
}

TEST(FileUtilTest, ReplaceFileForceReportsATargetItCannotMove) {
  TestFolder folder;
  std::wstring source = folder.Child(L"source.txt");
  std::wstring target = folder.Child(L"locked.txt");
  ASSERT_TRUE(WriteTestFile(source, "new"));
  ASSERT_TRUE(WriteTestFile(target, "old"));
  // Held open without delete sharing: neither deletable nor renamable.
  ScopedFileHandle lock(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock.valid());
  const std::vector<wchar_t> saved = ReadPendingRenames();
  bool replaced = ReplaceFileForce(source, target);
  RestorePendingRenames(saved);
  EXPECT_FALSE(replaced);
  lock.Close();
  EXPECT_EQ("old", ReadTestFile(target));
}

TEST(FileUtilTest, CopyFolderTree) {
  TestFolder folder;
  std::wstring source = folder.Child(L"src");
  ASSERT_TRUE(CreateParentFolders((source + L"\\sub\\deeper\\").c_str()));
  ASSERT_TRUE(CreateParentFolders((source + L"\\.git\\").c_str()));
  ASSERT_TRUE(WriteTestFile(source + L"\\top.txt", "top"));
  ASSERT_TRUE(WriteTestFile(source + L"\\sub\\mid.txt", "mid"));
  ASSERT_TRUE(WriteTestFile(source + L"\\sub\\deeper\\low.txt", "low"));
  ASSERT_TRUE(WriteTestFile(source + L"\\.git\\skip.txt", "skip"));

  // The target folder does not exist and is two levels deep.
  std::wstring target = folder.Child(L"out\\dst");
  EXPECT_TRUE(CopyFolderTree(source, target, false));
  EXPECT_EQ("top", ReadTestFile(target + L"\\top.txt"));
  EXPECT_EQ("mid", ReadTestFile(target + L"\\sub\\mid.txt"));
  EXPECT_EQ("low", ReadTestFile(target + L"\\sub\\deeper\\low.txt"));
  EXPECT_FALSE(TestPathExists(target + L"\\.git"));

  // Without overwrite an existing file is kept; with it, replaced.
  ASSERT_TRUE(WriteTestFile(source + L"\\top.txt", "top2"));
  EXPECT_TRUE(CopyFolderTree(source, target, false));
  EXPECT_EQ("top", ReadTestFile(target + L"\\top.txt"));
  EXPECT_TRUE(CopyFolderTree(source, target, true));
  EXPECT_EQ("top2", ReadTestFile(target + L"\\top.txt"));

  EXPECT_FALSE(CopyFolderTree(folder.Child(L"missing"), folder.Child(L"x"), true));
}

TEST(FileUtilTest, DeleteFolderTree) {
  TestFolder folder;
  std::wstring tree = folder.Child(L"tree");
  ASSERT_TRUE(CreateParentFolders((tree + L"\\a\\b\\").c_str()));
  ASSERT_TRUE(WriteTestFile(tree + L"\\a\\b\\f.txt", "f"));
  ASSERT_TRUE(WriteTestFile(tree + L"\\g.txt", "g"));
  EXPECT_TRUE(DeleteFolderTree(tree));
  EXPECT_FALSE(TestPathExists(tree));
  // A file under the folder's name goes too.
  std::wstring file = folder.Child(L"plain");
  ASSERT_TRUE(WriteTestFile(file, "x"));
  EXPECT_TRUE(DeleteFolderTree(file));
  EXPECT_FALSE(TestPathExists(file));
  EXPECT_TRUE(DeleteFolderTree(L""));
}

}  // namespace

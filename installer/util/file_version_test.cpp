#include "installer/util/file_version.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// util_test carries version 3.5.1.7 (test_version.rc).
TEST(FileVersionTest, OwnVersion) {
  EXPECT_EQ(L"3.5.1.7", GetOwnFileVersion());
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  EXPECT_EQ(L"3.5.1.7", GetFileVersionString(path));
}

TEST(FileVersionTest, Failures) {
  wchar_t buffer[8] = {L'x'};
  EXPECT_FALSE(GetFileVersionText(L"", buffer, 8));
  EXPECT_EQ(L'\0', buffer[0]);
  EXPECT_FALSE(GetFileVersionText(nullptr, buffer, 8));
  EXPECT_EQ(L"", GetFileVersionString(L"Z:\\no\\such\\file.exe"));
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  // "3.5.1.7" needs 8 characters with its terminator.
  EXPECT_FALSE(GetFileVersionText(path, buffer, 7));
  EXPECT_EQ(L'\0', buffer[0]);
  EXPECT_TRUE(GetFileVersionText(path, buffer, 8));
  EXPECT_STREQ(L"3.5.1.7", buffer);
}

}  // namespace

#include "installer/util/registry_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A key of this test run alone, removed afterwards whatever happened.
class RegistryUtilTest : public ::testing::Test {
 protected:
  void SetUp() override {
    subkey_ = L"Software\\QivUtilTest\\run" + std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QivUtilTest");
  }
  std::wstring subkey_;
};

TEST_F(RegistryUtilTest, WriteThenRead) {
  const std::wstring value = L"C:\\Program Files\\\u6cf0\u7ef4";
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_ + L"\\SetupInfo", L"InstallPath", value));
  std::wstring read = L"untouched";
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_ + L"\\SetupInfo", L"InstallPath", &read));
  EXPECT_EQ(value, read);
  // Empty value name: the key's default value.
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"", L"default"));
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"", &read));
  EXPECT_EQ(L"default", read);
}

TEST_F(RegistryUtilTest, FailuresLeaveTheValueUntouched) {
  std::wstring read = L"untouched";
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_ + L"\\Missing", L"x", &read));
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"present", L"1"));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"absent", &read));
  // Longer than 1023 characters does not fit the read buffer.
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"long", std::wstring(1100, L'x')));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"long", &read));
  EXPECT_EQ(L"untouched", read);
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"fits", std::wstring(1023, L'y')));
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"fits", &read));
  EXPECT_EQ(1023u, read.size());
}

TEST(RegistryViewTest, PrefixForBothAnswers) {
  EXPECT_EQ(L"SOFTWARE\\Wow6432Node\\", RegistryViewPrefix(true));
  EXPECT_EQ(L"SOFTWARE\\", RegistryViewPrefix(false));
}

TEST(RegistryViewTest, Wow64QueryAnswers) {
  bool wow64 = true;
  ASSERT_TRUE(QueryWow64Process(&wow64));
  // A 64-bit program is never a WoW64 process. A 32-bit one is exactly when
  // it runs on a 64-bit Windows: the 32-bit smoke suite names the prefix it
  // runs in ("win32" or "wow64").
  if (sizeof(void*) == 8) {
    EXPECT_FALSE(wow64);
    return;
  }
  char prefix[16] = {};
  if (GetEnvironmentVariableA("QIV_VM32_PREFIX", prefix, sizeof(prefix)) > 0) {
    EXPECT_EQ(wow64, std::string(prefix) == "wow64") << prefix;
    EXPECT_EQ(RegistryViewPrefix(wow64),
              std::string(prefix) == "wow64" ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\");
  }
}

}  // namespace

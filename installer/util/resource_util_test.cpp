#include "installer/util/resource_util.h"

#include <gtest/gtest.h>

namespace {

// Strings 101 and 102 come from test_version.rc.
TEST(ResourceUtilTest, LoadsStringsOfAnyLength) {
  EXPECT_EQ(GetModuleHandleW(nullptr), ResourceModule());
  std::wstring text = L"stale";
  EXPECT_TRUE(LoadResourceString(101, &text));
  EXPECT_EQ(L"short string", text);
  EXPECT_TRUE(LoadResourceString(102, &text));
  EXPECT_EQ(std::wstring(300, L'x'), text);
  EXPECT_FALSE(LoadResourceString(999, &text));
  EXPECT_EQ(L"", text);
}

}  // namespace

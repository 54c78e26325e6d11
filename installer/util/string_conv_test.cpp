#include "installer/util/string_conv.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(StringConvTest, RoundTrips) {
  const std::wstring chinese = L"\u6cf0\u7ef4\u6a21\u62df\u5668";
  EXPECT_EQ(chinese, Utf8ToWide(WideToUtf8(chinese)));
  EXPECT_EQ("\xe6\xb3\xb0", WideToUtf8(L"\u6cf0"));
  EXPECT_EQ(L"plain ascii", AnsiToWide(WideToAnsi(L"plain ascii")));
  EXPECT_EQ("abc", Utf8ToAnsi("abc"));
  EXPECT_EQ(L"", Utf8ToWide(static_cast<const char*>(nullptr)));
  EXPECT_EQ("", WideToAnsi(L""));
}

TEST(StringConvTest, Buffers) {
  wchar_t wide[4];
  EXPECT_EQ(wide, MultiByteToWideBuffer(wide, "abc", 4, CP_UTF8));
  EXPECT_STREQ(L"abc", wide);
  EXPECT_EQ(nullptr, MultiByteToWideBuffer(wide, "abcd", 4, CP_UTF8));
  EXPECT_EQ(L'\0', wide[0]);
  EXPECT_EQ(nullptr, MultiByteToWideBuffer(wide, nullptr, 4, CP_UTF8));
  char narrow[4];
  EXPECT_EQ(narrow, WideToMultiByteBuffer(narrow, L"xyz", 4, CP_ACP));
  EXPECT_STREQ("xyz", narrow);
  EXPECT_EQ(nullptr, WideToMultiByteBuffer(narrow, L"wxyz", 4, CP_ACP));
  EXPECT_EQ('\0', narrow[0]);
}

TEST(StringConvTest, CaseAndNumbers) {
  EXPECT_EQ(L"C:\\PROGRAM FILES", ToUpper(L"c:\\Program Files"));
  EXPECT_TRUE(EqualsIgnoreCase(L"C:\\Qiv\\a.EXE", L"c:\\qiv\\A.exe"));
  EXPECT_FALSE(EqualsIgnoreCase(L"a.exe", L"a.ex"));
  EXPECT_EQ(L"4294967295", UintToWide(4294967295u));
  EXPECT_EQ(L"-12", IntToWide(-12));
  EXPECT_EQ(L"-7", LongToWide(-7L));
  EXPECT_EQ("1700000000", LongToAnsi(1700000000L));
  EXPECT_EQ("3", DoubleToAnsi(2.5001));
  EXPECT_EQ("-42", IntToAnsi(-42));
  EXPECT_EQ(123456789ul, AnsiToUlong("123456789"));
  EXPECT_EQ(12ul, AnsiToUlong("12abc"));
  EXPECT_EQ(0ul, AnsiToUlong("abc"));
}

}  // namespace

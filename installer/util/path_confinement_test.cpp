#include "installer/util/path_confinement.h"

#include "gtest/gtest.h"

TEST(PathConfinementTest, WithinIsJudgedOnResolvedPaths) {
  const std::wstring root = L"C:\\Qiv\\bin";
  const struct {
    const wchar_t* path;
    bool within;
  } cases[] = {
      {L"C:\\Qiv\\bin", true},
      {L"C:\\QIV\\BIN\\a.dll", true},
      {L"C:\\Qiv\\bin\\sub\\..\\a.dll", true},
      {L"C:\\Qiv\\bin\\..\\a.dll", false},
      {L"C:\\Qiv\\binary\\a.dll", false},
      {L"C:\\Qiv\\bin\\..\\..\\Windows\\a.dll", false},
      {L"D:\\Qiv\\bin\\a.dll", false},
  };
  for (const auto& c : cases) {
    const std::wstring full = FullPathOf(c.path);
    EXPECT_EQ(IsPathWithin(full, root), c.within) << std::string(full.begin(), full.end());
  }
  EXPECT_FALSE(IsPathWithin(L"C:\\Qiv", L""));
}

TEST(PathConfinementTest, TrailingSeparatorsGoButALoneOneStays) {
  EXPECT_EQ(WithoutTrailingSeparators(L"C:\\a\\\\/"), L"C:\\a");
  EXPECT_EQ(WithoutTrailingSeparators(L"\\"), L"\\");
  EXPECT_EQ(WithoutTrailingSeparators(L""), L"");
}

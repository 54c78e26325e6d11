#include "installer/util/windows_version.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
  const char* label;
  bool query_ok;
  bool nt;
  unsigned major, minor;
  const wchar_t* service_pack;
  unsigned kernel_major;
  int code;
  const char* name;
};

const VersionCase kCases[] = {
    {"query failed", false, true, 6, 1, L"", 6, -1000, "unknown"},
    {"Windows 98 (not NT)", true, false, 4, 10, L"", 0, -1000, "unknown"},
    {"NT 4.0", true, true, 4, 0, L"Service Pack 6", 0, -999, "unknown"},
    {"Windows 2000", true, true, 5, 0, L"Service Pack 4", 5, -999, "unknown"},
    {"XP without SP", true, true, 5, 1, L"", 5, -999, "unknown"},
    {"XP SP1", true, true, 5, 1, L"Service Pack 1", 5, -999, "unknown"},
    {"XP SP2", true, true, 5, 1, L"Service Pack 2", 5, -999, "unknown"},
    {"XP SP3", true, true, 5, 1, L"Service Pack 3", 5, 5, "WindowsXP"},
    {"XP SP3 other case", true, true, 5, 1, L"service pack 3", 5, 5, "WindowsXP"},
    {"5.2 Server 2003", true, true, 5, 2, L"Service Pack 2", 5, 6, "WindowsServer2003"},
    {"5.3 unknown minor", true, true, 5, 3, L"", 5, -1000, "unknown"},
    {"Vista SP0", true, true, 6, 0, L"", 6, 7, "WindowsVista"},
    {"Vista SP1", true, true, 6, 0, L"Service Pack 1", 6, 8, "WindowsVista"},
    {"Vista SP2", true, true, 6, 0, L"Service Pack 2", 6, 8, "WindowsVista"},
    {"Windows 7", true, true, 6, 1, L"", 6, 9, "Windows7"},
    {"Windows 7 SP1", true, true, 6, 1, L"Service Pack 1", 6, 9, "Windows7"},
    {"6.2 Windows 8", true, true, 6, 2, L"", 6, 10, "Windows8"},
    {"6.2 with kernel major 10", true, true, 6, 2, L"", 10, 12, "Windows10"},
    {"6.2 kernel numbers missing", true, true, 6, 2, L"", 0, 10, "Windows8"},
    {"6.3 Windows 8.1", true, true, 6, 3, L"", 6, 11, "Windows8.1"},
    {"6.4 unknown minor", true, true, 6, 4, L"", 10, -1000, "unknown"},
    {"10.0 reported (manifested)", true, true, 10, 0, L"", 10, -1000, "unknown"},
};

TEST(WindowsVersionTest, CodeAndNameForEveryRow) {
  for (const VersionCase& c : kCases) {
    WindowsVersionFacts facts;
    facts.query_succeeded = c.query_ok;
    facts.nt_platform = c.nt;
    facts.major = c.major;
    facts.minor = c.minor;
    facts.service_pack = c.service_pack;
    facts.kernel_major = c.kernel_major;
    int code = WindowsVersionCodeFor(facts);
    EXPECT_EQ(c.code, code) << c.label;
    EXPECT_STREQ(c.name, WindowsVersionNameFor(code)) << c.label;
  }
}

TEST(WindowsVersionTest, NameTableCoversEveryCode) {
  const struct { int code; const char* name; } kNames[] = {
      {1, "Windows2000"}, {2, "WindowsXP"}, {3, "WindowsXP"}, {4, "WindowsXP"},
      {5, "WindowsXP"}, {6, "WindowsServer2003"}, {7, "WindowsVista"},
      {8, "WindowsVista"}, {9, "Windows7"}, {10, "Windows8"}, {11, "Windows8.1"},
      {12, "Windows10"}, {13, "unknown"}, {0, "unknown"}, {-999, "unknown"},
      {-1000, "unknown"}};
  for (const auto& n : kNames) EXPECT_STREQ(n.name, WindowsVersionNameFor(n.code)) << n.code;
}

// Wine answers as Windows 7 SP1 unless its configuration says otherwise.
TEST(WindowsVersionTest, RunningSystemAgreesWithItsFacts) {
  int code = GetWindowsVersionCode();
  EXPECT_EQ(WindowsVersionCodeFor(ReadWindowsVersionFacts()), code);
  EXPECT_EQ(code, GetWindowsVersionCode());
  EXPECT_EQ(WindowsVersionNameFor(code), GetWindowsVersionName());
  EXPECT_EQ(code == 9, IsWindows7());
  EXPECT_NE(-999, code);
}

}  // namespace

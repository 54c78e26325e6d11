#include <windows.h>

#include "gtest/gtest.h"

// The harness runs test programs under wine with a prepared prefix: the
// system answers like Windows and the fonts that GDI text needs exist.
TEST(HarnessTest, RunsAsWindowsProgramWithFonts) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(&info));
#pragma GCC diagnostic pop
  EXPECT_GE(info.dwMajorVersion, 6u);

  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  std::wstring tahoma = std::wstring(windows) + L"\\Fonts\\tahoma.ttf";
  EXPECT_NE(GetFileAttributesW(tahoma.c_str()), INVALID_FILE_ATTRIBUTES);
}

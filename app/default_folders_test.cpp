#include "app/default_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/global.h"
#include "installer/util/file_util.h"
#include "installer/util/string_conv.h"

namespace app {
namespace {

TEST(DefaultFoldersTest, RootByVersionCode) {
  const std::wstring roaming = L"C:\\users\\u\\AppData\\Roaming";
  const struct { int code; bool roaming; } kCases[] = {
      {-1000, false}, {-999, false}, {5, false}, {6, false}, {7, true},
      {8, true},      {9, true},     {10, true}, {11, true}, {12, true}};
  for (const auto& c : kCases)
    EXPECT_EQ(c.roaming ? roaming : L"C:\\Program Files", DefaultRootFolderFor(c.code, roaming))
        << c.code;
}

TEST(DefaultFoldersTest, PackFolder) {
  EXPECT_EQ("C:\\users\\u\\AppData\\Local\\Qiv\\KalmorInstallPack",
            PackFolderFor("C:\\users\\u\\AppData\\Local"));
  // An unreadable special folder leaves the bare folder under the drive root.
  EXPECT_EQ("\\Qiv\\KalmorInstallPack", PackFolderFor(""));
}

// Under Wine (Windows 7): the roaming folder, and the pack folder's parent
// exists afterwards while the pack folder itself is left to the logger.
TEST(DefaultFoldersTest, InitCreatesOnlyTheParents) {
  const StartupSettings saved = CGlobal::startup();
  InitDefaultFolders();
  const StartupSettings& s = CGlobal::startup();
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, false), s.default_root);
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_LOCAL_APPDATA, false), s.local_appdata);
  EXPECT_EQ(WideToAnsi(s.local_appdata) + "\\Qiv\\KalmorInstallPack", s.pack_folder);
  DWORD parent = GetFileAttributesW((s.local_appdata + L"\\Qiv").c_str());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, parent);
  EXPECT_TRUE(parent & FILE_ATTRIBUTE_DIRECTORY);
  CGlobal::mutable_startup() = saved;
}

}  // namespace
}  // namespace app

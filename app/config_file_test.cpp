#include "app/config_file.h"

#include <gtest/gtest.h>

#include "installer/util/test_folder.h"

namespace {

TEST(ConfigFileTest, ReadsValuesBySectionAndKey) {
  TestFolder folder;
  std::wstring path = folder.Child(L"conf.ini");
  std::string long_value(300, 'v');
  ASSERT_TRUE(WriteTestFile(path, "[setting]\r\napkcount=2\r\nshortcutname=Game\r\n"
                                  "[apk1]\r\nurl=http://127.0.0.1/a.apk\r\nlong=" +
                                      long_value + "\r\n"));
  CConfigFile* config = CConfigFile::Instance();
  EXPECT_EQ(config, CConfigFile::Instance());
  ASSERT_TRUE(config->SetPath(path));
  EXPECT_EQ("2", config->Read("setting", "apkcount"));
  EXPECT_EQ("Game", config->Read("setting", "shortcutname"));
  EXPECT_EQ("http://127.0.0.1/a.apk", config->Read("apk1", "url"));
  EXPECT_EQ(long_value.substr(0, 260), config->Read("apk1", "long"));
  EXPECT_EQ("", config->Read("setting", "missing"));
  EXPECT_EQ("", config->Read("apk2", "url"));
  ASSERT_TRUE(config->SetPath(folder.Child(L"missing.ini")));
  EXPECT_EQ("", config->Read("setting", "apkcount"));
}

TEST(ConfigFileTest, PathLimit) {
  CConfigFile* config = CConfigFile::Instance();
  ASSERT_TRUE(config->SetPath(L""));
  EXPECT_EQ("", config->Read("setting", "apkcount"));  // before any path
  std::wstring fits = L"C:\\" + std::wstring(256, L'a');   // 259 characters
  EXPECT_TRUE(config->SetPath(fits));
  EXPECT_EQ(fits, config->path());
  EXPECT_FALSE(config->SetPath(fits + L"b"));              // 260: refused
  EXPECT_FALSE(config->SetPath(std::wstring(1000, L'x')));
  EXPECT_EQ(fits, config->path());
}

}  // namespace

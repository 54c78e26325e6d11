#include "installer/util/zip_extractor.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "installer/extract_test_util.h"

namespace {

// The resource pack's layout: extracted into <install>\bin, confined to
// <install>.
class ZipExtractorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FixtureFolder().empty())
        << "run through testing/archive_fixtures.py (QIV_ARCHIVE_FIXTURES)";
    work_ = NewWorkFolder();
    install_ = work_ + L"\\install";
    bin_ = install_ + L"\\bin";
    ASSERT_TRUE(CreateDirectoryW(install_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(bin_.c_str(), nullptr));
  }

  std::wstring work_, install_, bin_;
};

uint64_t WriteTimeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return 0;
  return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

uint64_t FileTimeOfUnix(uint32_t seconds) {
  return (seconds + 11644473600ull) * 10000000ull;
}

TEST_F(ZipExtractorTest, ExtractsItemsWithFoldersAttributesAndTimes) {
  // A read-only file of an earlier install is overwritten.
  ASSERT_TRUE(WriteWholeFile(bin_ + L"\\ro.txt", "old"));
  SetFileAttributesW((bin_ + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

  ASSERT_TRUE(ExtractZipToFolder(Fixture(L"pack.zip"), bin_, install_));
  EXPECT_EQ(kZipOk, GetLastZipError());

  EXPECT_EQ(L"bin\\\nbin\\dos.txt\nbin\\ro.txt\nbin\\sub\\\nbin\\sub\\deep\\\n"
            L"bin\\sub\\deep\\file.txt\nbin\\unix\\\nbin\\unix\\x.txt\n"
            L"bin\\ut.txt\nbin\\\u540d\u5b57.txt\nup.txt\n",
            ListTree(install_));
  EXPECT_EQ("read-only item\n", ReadWholeFile(bin_ + L"\\ro.txt"));
  EXPECT_EQ("one level up\n", ReadWholeFile(install_ + L"\\up.txt"));
  EXPECT_EQ("\xe4\xb8\xad\xe6\x96\x87\n", ReadWholeFile(bin_ + L"\\\u540d\u5b57.txt"));
  std::string deep;
  for (int i = 0; i < 100; ++i)
    deep += "deep file\n";
  EXPECT_EQ(deep, ReadWholeFile(bin_ + L"\\sub\\deep\\file.txt"));

  // Every extracted file ends up with normal attributes.
  for (const wchar_t* name : {L"\\ro.txt", L"\\unix\\x.txt", L"\\dos.txt"}) {
    DWORD attrs = GetFileAttributesW((bin_ + name).c_str());
    EXPECT_EQ(0u, attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) << name;
  }

  // The UT field's modification time; else the DOS time, a local time.
  EXPECT_EQ(FileTimeOfUnix(1000000000), WriteTimeOf(bin_ + L"\\ut.txt"));
  SYSTEMTIME dos = {2010, 6, 0, 15, 12, 30, 0, 0};
  FILETIME local, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&dos, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  EXPECT_EQ((static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime,
            WriteTimeOf(bin_ + L"\\dos.txt"));
}

// Without a wider confinement folder, "..\up.txt" is outside: refused, and
// the extraction stops there.
TEST_F(ZipExtractorTest, ParentItemRefusedWithoutWiderConfinement) {
  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"pack.zip"), bin_));
  EXPECT_EQ(kZipBadArgument, GetLastZipError());
  EXPECT_FALSE(PathExists(install_ + L"\\up.txt"));
  EXPECT_FALSE(PathExists(bin_ + L"\\unix"));
}

class ZipHostileTest : public ZipExtractorTest,
                       public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(ZipHostileTest, RefusedAndStopped) {
  EXPECT_FALSE(ExtractZipToFolder(Fixture(GetParam()), bin_, install_));
  EXPECT_EQ(kZipBadArgument, GetLastZipError());
  EXPECT_EQ(L"bin\\\nbin\\first.txt\n", ListTree(install_));
  EXPECT_EQ(L"install\\\ninstall\\bin\\\ninstall\\bin\\first.txt\n", ListTree(work_));
  EXPECT_FALSE(PathExists(L"C:\\evil.txt"));
  EXPECT_FALSE(PathExists(L"Z:\\evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(Names, ZipHostileTest,
                         ::testing::Values(L"zip_escape.zip", L"zip_escape_slash.zip",
                                           L"zip_root.zip", L"zip_drive.zip",
                                           L"zip_drive_relative.zip"));

TEST_F(ZipExtractorTest, DamagedOrMissingArchives) {
  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"zip_crc.zip"), bin_, install_));
  EXPECT_EQ(kZipCorrupt, GetLastZipError());
  EXPECT_FALSE(PathExists(bin_ + L"\\good.txt"));

  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"zip_truncated.zip"), bin_, install_));
  EXPECT_EQ(kZipCorrupt, GetLastZipError());

  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"missing.zip"), bin_, install_));
  EXPECT_EQ(kZipCannotCreate, GetLastZipError());

  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"pack.zip"), bin_ + L"\\missing", install_));
  EXPECT_EQ(L"bin\\\n", ListTree(install_));
}

TEST(ZipItemRulesTest, Attributes) {
  struct {
    uint32_t external;
    uint32_t attributes;
  } cases[] = {
      {0x00, FILE_ATTRIBUTE_NORMAL},
      {0x20, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE},
      {0x01, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY},
      {0x27, FILE_ATTRIBUTE_NORMAL | 0x27},
      {0x10, 0x90},
      {0x40000000, 0x90},
      {0100644u << 16, FILE_ATTRIBUTE_NORMAL},
      {0100444u << 16, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY},
      {(0100600u << 16) | 0x02, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.attributes, ZipItemAttributes(c.external)) << std::hex << c.external;
}

TEST(ZipItemRulesTest, UnixTimes) {
  // Another field first, then UT with all three times (a local header).
  const unsigned char local[] = {0x0a, 0x00, 0x02, 0x00, 0xAA, 0xBB,
                                 0x55, 0x54, 0x0d, 0x00, 0x07,
                                 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                 0x03, 0x00, 0x00, 0x00};
  ZipUnixTimes t;
  ASSERT_TRUE(ParseZipUnixTimes(local, sizeof(local), &t));
  EXPECT_TRUE(t.has_modified && t.has_accessed && t.has_created);
  EXPECT_EQ(1u, t.modified);
  EXPECT_EQ(2u, t.accessed);
  EXPECT_EQ(3u, t.created);

  // Central-directory form: flags for three, only the modification time.
  const unsigned char central[] = {0x55, 0x54, 0x05, 0x00, 0x07, 0x10, 0x00, 0x00, 0x00};
  ASSERT_TRUE(ParseZipUnixTimes(central, sizeof(central), &t));
  EXPECT_TRUE(t.has_modified);
  EXPECT_FALSE(t.has_accessed || t.has_created);
  EXPECT_EQ(16u, t.modified);

  const unsigned char overrun[] = {0x55, 0x54, 0x09, 0x00, 0x01, 0x10};
  EXPECT_FALSE(ParseZipUnixTimes(overrun, sizeof(overrun), &t));
  EXPECT_FALSE(ParseZipUnixTimes(local, 6, &t));
}

TEST(ZipItemRulesTest, ResolveWithinConfinement) {
  const std::wstring install = L"C:\\Qiv";
  const std::wstring bin = L"C:\\Qiv\\bin";
  struct {
    const wchar_t* name;
    const wchar_t* full;  // null: refused
  } cases[] = {
      {L"a.txt", L"C:\\Qiv\\bin\\a.txt"},
      {L"sub/b.txt", L"C:\\Qiv\\bin\\sub\\b.txt"},
      {L"sub/", L"C:\\Qiv\\bin\\sub\\"},
      {L"..\\up.txt", L"C:\\Qiv\\up.txt"},
      {L"./x/../y.txt", L"C:\\Qiv\\bin\\y.txt"},
      {L"..\\..\\out.txt", nullptr},
      {L"../../Qiv2/x.txt", nullptr},
      {L"..\\..\\qiv\\in.txt", L"C:\\qiv\\in.txt"},
      {L"\\root.txt", nullptr},
      {L"/root.txt", nullptr},
      {L"C:\\Qiv\\x.txt", nullptr},
      {L"C:x.txt", nullptr},
      {L"a.txt:stream", nullptr},
      {L"", nullptr},
  };
  for (const auto& c : cases) {
    std::wstring full;
    uint32_t res = ResolveZipItemPath(bin, install, c.name, &full);
    if (c.full) {
      EXPECT_EQ(kZipOk, res) << c.name;
      EXPECT_EQ(c.full, full) << c.name;
    } else {
      EXPECT_EQ(kZipBadArgument, res) << c.name;
    }
  }
}

}  // namespace

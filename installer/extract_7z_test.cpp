#include "installer/extract_7z.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "installer/extract_test_util.h"
#include "installer/util/zip_extractor.h"

namespace {

class Extract7zTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FixtureFolder().empty())
        << "run through testing/archive_fixtures.py (QIV_ARCHIVE_FIXTURES)";
    dest_ = NewWorkFolder();
  }

  std::wstring dest_;
};

// Every file and folder of the source tree is extracted with the same bytes.
void ExpectSameTree(const std::wstring& tree, const std::wstring& dest) {
  ASSERT_EQ(ListTree(tree), ListTree(dest));
  for (const wchar_t* file : {L"app.exe", L"lib\\data.bin", L"lib\\readme.txt",
                              L"docs\\empty.txt", L"ro.txt",
                              L"\u8d44\u6e90\\\u540d\u5b57.txt"}) {
    EXPECT_TRUE(SameFileContent(tree + L"\\" + file, dest + L"\\" + file)) << file;
  }
}

struct ChainCase {
  const wchar_t* archive;
  bool streamed;  // every block of it decoded as a stream
  const char* label;
};

std::string ChainLabel(const ::testing::TestParamInfo<ChainCase>& info) {
  return info.param.label;
}

class Extract7zChainTest : public Extract7zTest,
                           public ::testing::WithParamInterface<ChainCase> {};

// 7-Zip's chains for mixed content with an executable: each block is
// streamed (or, for PPMd, unpacked whole), the tree comes out intact, and
// whole-block unpacking of the same archive gives the same tree.
TEST_P(Extract7zChainTest, ExtractsTheTree) {
  const ChainCase& c = GetParam();
  const std::wstring tree = Fixture(L"tree");
  ASSERT_TRUE(PathExists(tree + L"\\app.exe")) << "needs executable content";

  Extract7zStats stats;
  ASSERT_EQ(0, Extract7z(Fixture(c.archive), dest_, Extract7zOptions(), &stats));
  ExpectSameTree(tree, dest_);
  if (c.streamed) {
    EXPECT_GE(stats.blocks_streamed, 1u);
    EXPECT_EQ(0u, stats.blocks_whole);
  } else {
    EXPECT_EQ(0u, stats.blocks_streamed);
    EXPECT_GE(stats.blocks_whole, 1u);
  }
  DWORD ro = GetFileAttributesW((dest_ + L"\\ro.txt").c_str());
  EXPECT_TRUE(ro != INVALID_FILE_ATTRIBUTES && (ro & FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsFolderPath(dest_ + L"\\emptydir"));

  const std::wstring whole = NewWorkFolder();
  Extract7zOptions options;
  options.whole_blocks = true;
  ASSERT_EQ(0, Extract7z(Fixture(c.archive), whole, options, &stats));
  EXPECT_EQ(0u, stats.blocks_streamed);
  ExpectSameTree(tree, whole);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, Extract7zChainTest,
    ::testing::Values(ChainCase{L"lzma.7z", true, "Lzma"},  // LZMA; BCJ + LZMA
                      ChainCase{L"lzma2.7z", true, "Lzma2"},  // LZMA2; BCJ + LZMA2
                      ChainCase{L"bcj2.7z", true, "Bcj2"},  // BCJ2 over LZMA2 + LZMA
                      ChainCase{L"bcj2_lzma.7z", true, "Bcj2Lzma"},  // BCJ2 over LZMA
                      ChainCase{L"copy.7z", true, "Copy"},
                      ChainCase{L"nonsolid.7z", true, "NonSolid"},
                      ChainCase{L"ppmd.7z", false, "Ppmd"}),
    ChainLabel);

// A 64 MiB solid block with a 1 MiB dictionary extracts within a 16 MiB
// budget; unpacking the block whole cannot (the failure a 32-bit installer
// would meet with a block beyond its address space).
TEST_F(Extract7zTest, LargeBlockStreamsWithinDictionaryBoundedMemory) {
  Extract7zOptions options;
  options.memory_limit = 16 << 20;
  Extract7zStats stats;
  ASSERT_EQ(0, Extract7z(Fixture(L"big.7z"), dest_, options, &stats));
  EXPECT_TRUE(SameFileContent(Fixture(L"big_src\\big.bin"), dest_ + L"\\big.bin"));
  EXPECT_EQ(1u, stats.blocks_streamed);
  EXPECT_LT(stats.peak_memory, 4u << 20) << "peak " << stats.peak_memory;
  RecordProperty("peak_memory", std::to_string(stats.peak_memory));

  options.whole_blocks = true;
  EXPECT_EQ(2, Extract7z(Fixture(L"big.7z"), NewWorkFolder(), options, &stats));
}

TEST_F(Extract7zTest, MissingDestinationOrArchiveGives2) {
  EXPECT_EQ(2, Extract7z(Fixture(L"lzma2.7z"), dest_ + L"\\missing"));
  EXPECT_FALSE(PathExists(dest_ + L"\\missing"));
  EXPECT_EQ(2, Extract7z(Fixture(L"missing.7z"), dest_));
  int code = -1;
  EXPECT_FALSE(Extract7zInFolder(Fixture(L"missing.7z"), dest_, &code));
  EXPECT_EQ(2, code);
}

TEST_F(Extract7zTest, DamagedArchivesGiveDecoderCodes) {
  EXPECT_EQ(17, Extract7z(Fixture(L"pack.zip"), dest_));  // not a 7z archive
  int truncated = Extract7z(Fixture(L"truncated.7z"), dest_);
  EXPECT_NE(0, truncated);
  EXPECT_NE(11, truncated);
  EXPECT_EQ(L"", ListTree(dest_));
}

// A file whose CRC fails never replaces the file of an earlier install, and
// leaves no part file behind.
TEST_F(Extract7zTest, CrcErrorKeepsThePreviousFile) {
  ASSERT_TRUE(WriteWholeFile(dest_ + L"\\good.txt", "previous install\n"));
  int code = -1;
  EXPECT_FALSE(Extract7zInFolder(Fixture(L"crc.7z"), dest_, &code));
  EXPECT_EQ(3, code);
  EXPECT_EQ("previous install\n", ReadWholeFile(dest_ + L"\\good.txt"));
  EXPECT_EQ(L"good.txt\n", ListTree(dest_));
}

// Extracting over an install replaces same-named files (read-only ones too,
// as the pack itself marks some read-only) and leaves other files alone.
TEST_F(Extract7zTest, ExtractsOverAnEarlierInstall) {
  ASSERT_EQ(0, Extract7z(Fixture(L"lzma2.7z"), dest_));
  ASSERT_TRUE(WriteWholeFile(dest_ + L"\\lib\\readme.txt", "changed"));
  ASSERT_TRUE(WriteWholeFile(dest_ + L"\\keep.txt", "mine"));
  ASSERT_EQ(0, Extract7z(Fixture(L"lzma2.7z"), dest_));
  EXPECT_TRUE(SameFileContent(Fixture(L"tree\\lib\\readme.txt"),
                              dest_ + L"\\lib\\readme.txt"));
  EXPECT_EQ("mine", ReadWholeFile(dest_ + L"\\keep.txt"));
}

// A file held open without sharing stops the extraction with 11 and keeps
// its content.
TEST_F(Extract7zTest, LockedFileGives11) {
  ASSERT_EQ(0, Extract7z(Fixture(L"lzma2.7z"), dest_));
  const std::wstring locked = dest_ + L"\\lib\\readme.txt";
  ASSERT_TRUE(WriteWholeFile(locked, "in use"));
  HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  int code = Extract7z(Fixture(L"lzma2.7z"), dest_);
  CloseHandle(h);
  EXPECT_EQ(11, code);
  EXPECT_EQ("in use", ReadWholeFile(locked));
  EXPECT_FALSE(PathExists(locked + L".qivpart"));
}

TEST_F(Extract7zTest, OutputPathOf500CharactersGives11) {
  EXPECT_EQ(11, Extract7z(Fixture(L"longname.7z"), dest_));
}

struct HostileCase {
  const wchar_t* archive;
  const char* label;
};

std::string HostileLabel(const ::testing::TestParamInfo<HostileCase>& info) {
  return info.param.label;
}

class Extract7zHostileTest : public Extract7zTest,
                             public ::testing::WithParamInterface<HostileCase> {};

// Entries that would land outside the destination are refused with 16 and
// nothing is written outside.
TEST_P(Extract7zHostileTest, RefusedWith16) {
  const std::wstring dest = dest_ + L"\\install";
  ASSERT_TRUE(CreateDirectoryW(dest.c_str(), nullptr));
  EXPECT_EQ(16, Extract7z(Fixture(GetParam().archive), dest));
  // Entries before the hostile one may have been extracted (folders come
  // first in the archive), but only inside.
  const std::wstring tree = ListTree(dest_);
  EXPECT_TRUE(tree == L"install\\\n" || tree == L"install\\\ninstall\\first.txt\n")
      << tree;
  EXPECT_FALSE(PathExists(L"C:\\evil.txt"));
  EXPECT_FALSE(PathExists(L"Z:\\evil.txt"));
  EXPECT_FALSE(PathExists(FixtureFolder() + L"\\work\\evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, Extract7zHostileTest,
    ::testing::Values(HostileCase{L"hostile_parent.7z", "ParentBackslash"},
                      HostileCase{L"hostile_parent_slash.7z", "ParentSlash"},
                      HostileCase{L"hostile_root.7z", "Rooted"},
                      HostileCase{L"hostile_drive.7z", "DriveLetter"},
                      HostileCase{L"hostile_deep.7z", "ClimbsFromSubfolder"},
                      HostileCase{L"hostile_folder.7z", "FolderEntry"}),
    HostileLabel);

TEST(Extract7zNameRuleTest, Table) {
  struct {
    const wchar_t* name;
    bool confined;
  } cases[] = {
      {L"a.txt", true},          {L"sub/deep/a.txt", true},
      {L"sub\\a.txt", true},     {L"..a/b..", true},
      {L"a/./b", true},          {L"", true},
      {L"..", false},            {L"../a", false},
      {L"a\\..\\..\\b", false},  {L"a/..", false},
      {L"/a", false},            {L"\\a", false},
      {L"\\\\server\\s\\a", false}, {L"C:\\a", false},
      {L"C:a", false},           {L"a:stream", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.confined, Is7zEntryNameConfined(c.name)) << c.name;
}

// The diagnostics on standard output.
TEST_F(Extract7zTest, PrintsProgressAndResult) {
  ::testing::internal::CaptureStdout();
  Extract7z(Fixture(L"crc.7z"), dest_);
  Extract7z(Fixture(L"hostile_parent.7z"), NewWorkFolder());
  Extract7z(Fixture(L"copy.7z"), NewWorkFolder());
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, out.find("Extracting good.txttotalsize:100,0\n"));
  EXPECT_NE(std::string::npos, out.find("\nERROR: CRC error\n"));
  EXPECT_NE(std::string::npos, out.find("\nERROR #16\n"));
  EXPECT_NE(std::string::npos, out.find("Extracting emptydir/Extracting"));
  EXPECT_NE(std::string::npos, out.find("\nEverything is Ok\n"));
}

// The 7z extraction on one thread and a ZIP extraction on another never
// disturb each other's output folders, and neither changes the current
// directory.
TEST_F(Extract7zTest, RunsAlongsideZipExtraction) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  const std::wstring zip_dest = NewWorkFolder();
  const std::wstring bin = zip_dest + L"\\bin";
  ASSERT_TRUE(CreateDirectoryW(bin.c_str(), nullptr));
  int code = 0;
  std::thread file_thread([&] {
    for (int i = 0; i < 3 && code == 0; ++i)
      code = Extract7z(Fixture(L"bcj2.7z"), dest_);
  });
  bool zip_ok = true;
  for (int i = 0; i < 20; ++i)
    zip_ok = zip_ok && ExtractZipToFolder(Fixture(L"pack.zip"), bin, zip_dest);
  file_thread.join();
  EXPECT_EQ(0, code);
  EXPECT_TRUE(zip_ok);
  ExpectSameTree(Fixture(L"tree"), dest_);
  EXPECT_TRUE(PathExists(zip_dest + L"\\up.txt"));
  EXPECT_TRUE(PathExists(bin + L"\\sub\\deep\\file.txt"));
  wchar_t after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(before, after);
}

}  // namespace

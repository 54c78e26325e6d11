#include "simlog/log_file.h"

#include <gtest/gtest.h>

#include "installer/util/string_conv.h"
#include "installer/util/test_folder.h"
#include "simlog/log.h"

namespace simlog {
namespace {

FILETIME Time(DWORD low) {
  FILETIME t;
  t.dwLowDateTime = low;
  t.dwHighDateTime = 0x01D00000;
  return t;
}

LogFileFacts Missing() { return LogFileFacts(); }
LogFileFacts File(uint64_t size, DWORD time) {
  LogFileFacts f;
  f.exists = true;
  f.size = size;
  f.last_write = Time(time);
  return f;
}

TEST(LogFileTest, ChoiceTable) {
  const struct {
    const char* label;
    LogFileFacts file0, file1;
    int index;
    bool delete_first;
  } kCases[] = {
      {"neither exists", Missing(), Missing(), 0, false},
      {"file 0 small", File(100, 1), Missing(), 0, false},
      {"file 0 just below the limit", File(0x1FFFF, 1), File(10, 2), 0, false},
      {"file 0 at the limit, no file 1", File(0x20000, 1), Missing(), 1, false},
      {"file 0 at 200 KiB, no file 1", File(200 * 1024, 1), Missing(), 1, false},
      {"file 0 full, file 1 small", File(0x30000, 1), File(5, 2), 1, false},
      {"both full, file 0 older", File(0x30000, 1), File(0x30000, 2), 0, true},
      {"both full, file 1 older", File(0x30000, 3), File(0x20000, 2), 1, true},
      {"both full, same time", File(0x20000, 5), File(0x20000, 5), 0, true},
  };
  for (const auto& c : kCases) {
    LogFileChoice choice = ChooseLogFileIndex(c.file0, c.file1);
    EXPECT_EQ(c.index, choice.index) << c.label;
    EXPECT_EQ(c.delete_first, choice.delete_first) << c.label;
  }
}

std::string Ansi(const std::wstring& path) { return WideToAnsi(path); }

void SetWriteTime(const std::wstring& path, DWORD low) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  FILETIME t = Time(low);
  SetFileTime(file, nullptr, nullptr, &t);
  CloseHandle(file);
}

TEST(LogFileTest, RealFilesFile0At200KibAndNoFile1) {
  TestFolder folder;
  ASSERT_TRUE(WriteTestFile(folder.Child(L"0.log"), std::string(200 * 1024, 'x')));
  EXPECT_EQ(Ansi(folder.Child(L"1.log")), ChooseLogFile(Ansi(folder.path())));
  EXPECT_EQ(200u * 1024, ReadTestFile(folder.Child(L"0.log")).size());
}

TEST(LogFileTest, RealFilesBothFullOlderIsDeletedAndReused) {
  for (int older = 0; older < 2; ++older) {
    TestFolder folder;
    ASSERT_TRUE(WriteTestFile(folder.Child(L"0.log"), std::string(130 * 1024, '0')));
    ASSERT_TRUE(WriteTestFile(folder.Child(L"1.log"), std::string(129 * 1024, '1')));
    SetWriteTime(folder.Child(L"0.log"), older == 0 ? 100 : 200);
    SetWriteTime(folder.Child(L"1.log"), older == 1 ? 100 : 200);
    std::wstring older_name = older == 0 ? L"0.log" : L"1.log";
    std::wstring newer_name = older == 0 ? L"1.log" : L"0.log";
    EXPECT_EQ(Ansi(folder.Child(older_name)), ChooseLogFile(Ansi(folder.path())));
    EXPECT_FALSE(TestPathExists(folder.Child(older_name))) << older;
    EXPECT_TRUE(TestPathExists(folder.Child(newer_name))) << older;
  }
}

TEST(LogFileTest, FolderIsMadeAndAFileInItsWayRemoved) {
  TestFolder folder;
  std::wstring log_folder = folder.Child(L"KalmorInstallPack");
  ASSERT_TRUE(WriteTestFile(log_folder, "not a folder"));
  SetFileAttributesW(log_folder.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Ansi(log_folder + L"\\0.log"), ChooseLogFile(Ansi(log_folder)));
  EXPECT_TRUE(GetFileAttributesW(log_folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  // Only one level is made: a folder whose parent is missing gives no file.
  EXPECT_EQ("", ChooseLogFile(Ansi(folder.Child(L"missing\\deeper"))));
}

SYSTEMTIME SampleTime() {
  SYSTEMTIME t = {};
  t.wYear = 2024;
  t.wMonth = 3;
  t.wDay = 7;
  t.wHour = 9;
  t.wMinute = 5;
  t.wSecond = 4;
  t.wMilliseconds = 42;
  return t;
}

TEST(LogFileTest, LineLayouts) {
  const SYSTEMTIME t = SampleTime();
  const char* source = "/work/main/app/DoApp.cpp";
  const struct {
    unsigned options;
    bool debug;
    const char* expected;
  } kCases[] = {
      {kDefaultOptions, false, "2024.3.7 09:05:04:042 hello\n"},
      {kDefaultOptions, true, "2024.3.7 09:05:04:042 hello\tDoApp.cpp(105)\n"},
      {kOptionTimeStamp | kOptionLevel, false, "2024.3.7 09:05:04:042 3 hello\n"},
      {kOptionAppendToFile, true, "hello\n"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.expected, FormatLogLine(t, 3, "hello", source, 105, c.options, c.debug))
        << c.options << " " << c.debug;
  EXPECT_EQ("m\tDoApp.cpp(1)\n",
            FormatLogLine(t, 3, "m", ".\\DoApp.cpp", 1, kOptionSourceSuffix, true));
  EXPECT_EQ("m\tNULL(1)\n", FormatLogLine(t, 3, "m", nullptr, 1, kOptionSourceSuffix, true));
}

TEST(LogFileTest, FormatCutsAt2046) {
  std::string long_text(3000, 'a');
  std::string formatted = LogFormat("%s", long_text.c_str());
  EXPECT_EQ(2046u, formatted.size());
  EXPECT_EQ("value 7 of seven", LogFormat("value %d of %s", 7, "seven"));
  // The whole message survives into the line, whatever its prefix and suffix.
  std::string line = FormatLogLine(SampleTime(), 3, formatted, "a.cpp", 9, kDefaultOptions, true);
  EXPECT_NE(std::string::npos, line.find(formatted + "\ta.cpp(9)\n"));
}

}  // namespace
}  // namespace simlog

#include "installer/util/system_util.h"

#include <gtest/gtest.h>

#include "installer/util/file_util.h"

namespace {

std::wstring OwnExeName() {
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FileNameOf(path);
}

TEST(SystemUtilTest, FindsOwnProcessWithoutRegardToCase) {
  std::wstring name = OwnExeName();
  EXPECT_EQ(GetCurrentProcessId(), FindProcessIdByName(name));
  std::wstring upper = name;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  EXPECT_NE(0u, FindProcessIdByName(upper));
  EXPECT_EQ(0u, FindProcessIdByName(L"no_such_program_qiv.exe"));
}

TEST(SystemUtilTest, MachineReads) {
  unsigned long long memory = 0;
  ASSERT_TRUE(ReadPhysicalMemoryMb(&memory));
  EXPECT_GT(memory, 0u);
  unsigned type = 0, count = 0;
  ReadProcessorInfo(&type, &count);
  EXPECT_GE(type, 386u);
  EXPECT_GE(count, 1u);
  wchar_t temp[MAX_PATH] = {0};
  GetTempPathW(MAX_PATH, temp);
  unsigned free_mb = 0;
  EXPECT_TRUE(ReadFreeDiskMb(temp, &free_mb));
  EXPECT_FALSE(ReadFreeDiskMb(L"Q:\\no\\such\\volume\\", &free_mb));
}

}  // namespace

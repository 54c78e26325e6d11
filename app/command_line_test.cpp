#include "app/command_line.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/global.h"

namespace app {
namespace {

TEST(CommandLineTest, SwitchTable) {
  const struct {
    const char* label;
    std::vector<std::wstring> args;
    bool debug, external, file_url;
  } kCases[] = {
      {"no arguments", {L"Qiv.exe"}, false, true, false},
      {"program name is not read", {L"-debug"}, false, true, false},
      {"debug", {L"Qiv.exe", L"-debug"}, true, true, false},
      {"debug inside other text", {L"Qiv.exe", L"xx-debugyy"}, true, true, false},
      {"file url with text", {L"Qiv.exe", L"-fileurl:http://a/b"}, false, true, true},
      {"file url without text", {L"Qiv.exe", L"-fileurl:"}, false, true, true},
      {"file url needs its colon", {L"Qiv.exe", L"-fileurl"}, false, true, false},
      {"test servers", {L"Qiv.exe", L"-unExternalQiv:"}, false, false, false},
      {"test servers, text ignored", {L"Qiv.exe", L"-unExternalQiv:anything"}, false, false, false},
      {"case matters", {L"Qiv.exe", L"-DEBUG", L"-unexternalqiv:"}, false, true, false},
      {"first match wins: file url over debug", {L"Qiv.exe", L"-fileurl:-debug"}, false, true, true},
      {"first match wins: debug over servers", {L"Qiv.exe", L"-debug-unExternalQiv:"}, true, true, false},
      {"separate arguments all count", {L"Qiv.exe", L"-fileurl:", L"-debug", L"-unExternalQiv:"},
       true, false, true},
      {"unknown arguments ignored", {L"Qiv.exe", L"/S", L"--help", L""}, false, true, false},
  };
  for (const auto& c : kCases) {
    CommandLineFlags flags;
    ApplyCommandLineArguments(c.args, &flags);
    EXPECT_EQ(c.debug, flags.debug) << c.label;
    EXPECT_EQ(c.external, flags.external_servers) << c.label;
    EXPECT_EQ(c.file_url, flags.file_url) << c.label;
  }
}

// CGlobal is process-wide: each case starts from the defaults and the
// environment variable is removed afterwards.
class ParseCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    CGlobal::mutable_startup() = StartupSettings();
    SetEnvironmentVariableA("KalmorDebug1549", nullptr);
  }
};

TEST_F(ParseCommandLineTest, EnvironmentVariable) {
  const struct { const char* value; bool debug; } kCases[] = {
      {nullptr, false}, {"", false}, {"1", true}, {"0", true}, {"yes please", true}};
  for (const auto& c : kCases) {
    Reset();
    SetEnvironmentVariableA("KalmorDebug1549", c.value);
    EXPECT_EQ(0, ParseCommandLine({L"Qiv.exe"}));
    EXPECT_EQ(c.debug, CGlobal::debug()) << (c.value ? c.value : "(unset)");
  }
  // A value longer than the 100-byte buffer is still a non-empty value.
  Reset();
  SetEnvironmentVariableA("KalmorDebug1549", std::string(150, 'x').c_str());
  ParseCommandLine({L"Qiv.exe"});
  EXPECT_TRUE(CGlobal::debug());
}

TEST_F(ParseCommandLineTest, SwitchesReachCGlobal) {
  EXPECT_EQ(0, ParseCommandLine({L"Qiv.exe", L"-unExternalQiv:", L"-fileurl:x"}));
  EXPECT_FALSE(CGlobal::external_servers());
  EXPECT_TRUE(CGlobal::file_url());
  EXPECT_FALSE(CGlobal::debug());
}

TEST(ProcessArgumentsTest, FirstIsTheProgram) {
  std::vector<std::wstring> args = ProcessArguments();
  ASSERT_FALSE(args.empty());
  EXPECT_NE(std::wstring::npos, args[0].find(L"app_settings_test"));
}

}  // namespace
}  // namespace app

#include "server/package_answer.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace server {
namespace {

const char kGood[] = R"("fileSize":"10000","downloadUrl":"http://h/p.7z")";

std::string Answer(const std::string& members) { return "{" + members + "}"; }

TEST(PackageAnswerTest, RuleTable) {
  const struct {
    std::string text;
    PackageRule rule;
    int message;
  } cases[] = {
      {Answer(R"("errNo":"0",)" + std::string(kGood)), PackageRule::kNone,
       kMsgServerError},
      // "2" without "retMsg" proceeds exactly like "0".
      {Answer(R"("errNo":"2",)" + std::string(kGood)), PackageRule::kNone,
       kMsgServerError},
      {Answer(R"("errNo":"2","retMsg":"old",)" + std::string(kGood)),
       PackageRule::kRetMsg, kMsgLatestInstaller},
      // "retMsg" only matters together with "2".
      {Answer(R"("errNo":"0","retMsg":"x",)" + std::string(kGood)),
       PackageRule::kNone, kMsgServerError},
      // Only string members count: a numeric errNo is absent.
      {Answer(R"("errNo":0,)" + std::string(kGood)), PackageRule::kErrNo,
       kMsgServerError},
      {Answer(kGood), PackageRule::kErrNo, kMsgServerError},
      {Answer(R"("errNo":"1",)" + std::string(kGood)), PackageRule::kErrNo,
       kMsgServerError},
      {Answer(R"("ErrNo":"0",)" + std::string(kGood)), PackageRule::kErrNo,
       kMsgServerError},
      // A numeric retMsg is absent as well.
      {Answer(R"("errNo":"2","retMsg":1,)" + std::string(kGood)),
       PackageRule::kNone, kMsgServerError},
      {Answer(R"("errNo":"0","fileSize":"9999","downloadUrl":"http://h/p")"),
       PackageRule::kFileSize, kMsgServerError},
      {Answer(R"("errNo":"0","fileSize":123456,"downloadUrl":"http://h/p")"),
       PackageRule::kFileSize, kMsgServerError},
      {Answer(R"("errNo":"0","downloadUrl":"http://h/p")"),
       PackageRule::kFileSize, kMsgServerError},
      {Answer(R"("errNo":"0","fileSize":"10000","downloadUrl":"ftp://h/p")"),
       PackageRule::kDownloadUrl, kMsgServerError},
      {Answer(R"("errNo":"0","fileSize":"10000","downloadUrl":"")"),
       PackageRule::kDownloadUrl, kMsgServerError},
      {Answer(R"("errNo":"0","fileSize":"10000")"), PackageRule::kDownloadUrl,
       kMsgServerError},
      // "http" anywhere passes, even when it is not the scheme.
      {Answer(R"("errNo":"0","fileSize":"10000","downloadUrl":"ftp://h/http")"),
       PackageRule::kNone, kMsgServerError},
      // Rule order: errNo is judged before fileSize and downloadUrl.
      {Answer(R"("errNo":"5","fileSize":"1","downloadUrl":"x")"),
       PackageRule::kErrNo, kMsgServerError},
      {"", PackageRule::kNotAnObject, kMsgServerError},
      {std::string("\0{}", 3), PackageRule::kNotAnObject, kMsgServerError},
      {"<html>busy</html>", PackageRule::kNotAnObject, kMsgServerError},
      {"[\"errNo\", \"0\"]", PackageRule::kNotAnObject, kMsgServerError},
      {"\"text\"", PackageRule::kNotAnObject, kMsgServerError},
  };
  for (const auto& c : cases) {
    PackageStrings strings;
    const PackageRule rule = JudgePackageAnswer(c.text, &strings);
    EXPECT_EQ(static_cast<int>(c.rule), static_cast<int>(rule)) << c.text;
    EXPECT_EQ(c.message, MessageForRule(rule)) << c.text;
    if (rule != PackageRule::kNone) {
      EXPECT_TRUE(strings.downloadUrl.empty()) << c.text;
      EXPECT_TRUE(strings.fileSize.empty()) << c.text;
    }
  }
}

TEST(PackageAnswerTest, AcceptedAnswerStoresEveryStringMember) {
  PackageStrings strings;
  ASSERT_EQ(PackageRule::kNone,
            JudgePackageAnswer(
                R"({"errNo":"0","fileSize":"123456",
                    "downloadUrl":"http://h/pack.7z",
                    "downloadUrl_Patch":"http://h/patch",
                    "fileVersion":"3.1.0","dirName":"QivPlayer",
                    "rcDownloadUrl":"http://h/rc.zip","rcFileSize":"2048",
                    "basePath":"http://h/apk/","extra":"ignored"})",
                &strings));
  EXPECT_EQ("http://h/pack.7z", strings.downloadUrl);
  EXPECT_EQ("123456", strings.fileSize);
  EXPECT_EQ("3.1.0", strings.fileVersion);
  EXPECT_EQ("QivPlayer", strings.dirName);
  EXPECT_EQ("http://h/rc.zip", strings.rcDownloadUrl);
  EXPECT_EQ("2048", strings.rcFileSize);
  EXPECT_EQ("http://h/apk/", strings.basePath);
}

TEST(PackageAnswerTest, AbsentOrNonStringOptionalMembersLeaveValuesEmpty) {
  PackageStrings strings;
  ASSERT_EQ(PackageRule::kNone,
            JudgePackageAnswer(R"({"errNo":"0","fileSize":"10000",
                                   "downloadUrl":"http://h/p",
                                   "rcFileSize":2048,"basePath":null})",
                               &strings));
  EXPECT_EQ("http://h/p", strings.downloadUrl);
  EXPECT_TRUE(strings.fileVersion.empty());
  EXPECT_TRUE(strings.dirName.empty());
  EXPECT_TRUE(strings.rcDownloadUrl.empty());
  EXPECT_TRUE(strings.rcFileSize.empty());
  EXPECT_TRUE(strings.basePath.empty());
}

TEST(PackageAnswerTest, MemberMapTakesListedStringsOnly) {
  JsonStrings members;
  ASSERT_TRUE(ParseQueryJson(
      R"({"errNo":"0","downloadUrl_Patch":"p","fileSize":5,"other":"o"})",
      &members));
  EXPECT_EQ((JsonStrings{{"errNo", "0"}, {"downloadUrl_Patch", "p"}}),
            members);
}

TEST(PackageAnswerTest, DirNameIsConvertedFromUtf8ToTheAnsiCodePage) {
  PackageStrings strings;
  // "Qiv é": é is two bytes in UTF-8 and one in the Western code pages.
  ASSERT_EQ(PackageRule::kNone,
            JudgePackageAnswer("{\"errNo\":\"0\",\"fileSize\":\"10000\","
                               "\"downloadUrl\":\"http://h/p\","
                               "\"dirName\":\"Qiv \xC3\xA9\"}",
                               &strings));
  std::string expected = "Qiv ";
  char ansi[8] = {};
  const wchar_t e_acute[] = {0x00E9, 0};
  ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, e_acute, -1, ansi, sizeof(ansi),
                                nullptr, nullptr),
            0);
  expected += ansi;
  EXPECT_EQ(expected, strings.dirName);
}

TEST(GameCenterAnswerTest, LaunchParamsTable) {
  const struct {
    const char* text;
    const wchar_t* before;
    const wchar_t* after;
  } cases[] = {
      {R"({"error_message":"","data":{"activityName":"a.Main",
           "installApkUrl":"http://h/x.apk","packageUrl":"http://h/p"}})",
       L"", L"-activityName:a.Main -installApkUrl:http://h/x.apk "
            L"-packageUrl:http://h/p"},
      {R"({"data":{"packageUrl":"http://h/p"}})", L"",
       L"-packageUrl:http://h/p"},
      // The activity name replaces earlier content; the others append.
      {R"({"data":{"activityName":"a.Main"}})", L"old ", L"-activityName:a.Main "},
      {R"({"data":{"installApkUrl":"u"}})", L"old ", L"old -installApkUrl:u "},
      // Members outside "data", or not strings, contribute nothing.
      {R"({"activityName":"a","data":{"packageUrl":5}})", L"", L""},
      {R"({"data":"text"})", L"", L""},
  };
  for (const auto& c : cases) {
    JsonStrings members;
    ASSERT_TRUE(ParseGameCenterJson(c.text, &members)) << c.text;
    std::wstring launch_params = c.before;
    GameCenterParams(members).ApplyTo(&launch_params);
    EXPECT_EQ(std::wstring(c.after), launch_params) << c.text;
  }
}

TEST(GameCenterAnswerTest, UnreadableAnswersFail) {
  for (const char* text : {"", "not json", "[1,2]", "42"}) {
    JsonStrings members;
    EXPECT_FALSE(ParseGameCenterJson(text, &members)) << text;
  }
}

}  // namespace
}  // namespace server

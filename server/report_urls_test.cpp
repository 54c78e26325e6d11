#include "server/report_urls.h"

#include <gtest/gtest.h>

namespace server {
namespace {

const char kS[] = "accessToken=t&macAddress=M&playerVersion=0.2&platform=P"
                  "&timestamp=1&reservedField=[]&sign=s";
const char kBase[] = "http://h/api/token/file/v1_0/";

std::string Url(const char* endpoint, const std::string& rest) {
  return std::string(kBase) + endpoint + kS + rest;
}

TEST(ReportUrlsTest, DownloadStartNamesThePackAndTheResourcePack) {
  const std::string start = std::string(kBase) + "loadstart?";
  EXPECT_EQ(Url("loadstart?", "&downurl=http://d/p.7z&version=3.5.1.0"),
            BuildDownloadStartUrl(start, kS, "http://d/p.7z", "", "", "3.5.1.0"));
  EXPECT_EQ(Url("loadstart?",
                "&downurl=http://d/p.7z,http://d/rc.zip&version=3.5.1.0"),
            BuildDownloadStartUrl(start, kS, "http://d/p.7z", "http://d/rc.zip",
                                  "2048", "3.5.1.0"));
  // Without a size the resource pack does not count.
  EXPECT_EQ(Url("loadstart?", "&downurl=http://d/p.7z&version=3.5.1.0"),
            BuildDownloadStartUrl(start, kS, "http://d/p.7z", "http://d/rc.zip",
                                  "", "3.5.1.0"));
}

TEST(ReportUrlsTest, DownloadTimingTable) {
  const struct {
    uint32_t now, start, bytes;
    uint32_t elapsed, divisor;
    uint64_t speed;
  } cases[] = {
      // 10 MiB in 5 s: 10485760 / 5 * 8.
      {105000, 100000, 10485760, 5000, 5, 16777216},
      // Shorter than a second divides by 1.
      {100999, 100000, 1000, 999, 1, 8000},
      {100000, 100000, 1000, 0, 1, 8000},
      // Whole seconds only: 5.999 s counts as 5.
      {105999, 100000, 10485760, 5999, 5, 16777216},
      // Single stream: the byte counter stays 0.
      {160000, 100000, 0, 60000, 60, 0},
      // The tick counter wraps after 49.7 days.
      {1000, 0xFFFFFC18u, 4000, 2000, 2, 16000},
      // 4 GiB - 1 in one second does not wrap the speed.
      {1000, 0, 0xFFFFFFFFu, 1000, 1, 0x7FFFFFFF8ull},
  };
  for (const auto& c : cases) {
    const DownloadTiming t = ComputeDownloadTiming(c.now, c.start, c.bytes);
    EXPECT_EQ(c.elapsed, t.elapsed_ms) << c.now;
    EXPECT_EQ(c.divisor, t.divisor_seconds) << c.now;
    EXPECT_EQ(c.speed, t.bits_per_second) << c.now;
  }
}

TEST(ReportUrlsTest, DownloadTimeLayout) {
  const DownloadTiming t = ComputeDownloadTiming(105000, 100000, 10485760);
  EXPECT_EQ(Url("loaded?",
                "&totalTime=5000&downloadSpeed=16777216&version=3.5.1.0"),
            BuildDownloadTimeUrl(std::string(kBase) + "loaded?", kS, t,
                                 "3.5.1.0"));
}

TEST(ReportUrlsTest, InstalledLayout) {
  EXPECT_EQ(Url("installed?", "&totalTime=42&version=3.5.1.0"),
            BuildInstalledUrl(std::string(kBase) + "installed?", kS, 42,
                              "3.5.1.0"));
}

TEST(ReportUrlsTest, CancelLayout) {
  // After a single stream the parts' progress sum is 0.
  EXPECT_EQ(Url("loadcancel?",
                "&infors=infors:DownloadTime:7300@DownloadSize:0"
                "@TotalSize:123456789&version=3.5.1.0"),
            BuildCancelUrl(std::string(kBase) + "loadcancel?", kS, 7300,
                           FormatDownloadedBytes(0.0f, "123456789"),
                           "123456789", "3.5.1.0"));
  EXPECT_EQ("50000", FormatDownloadedBytes(0.5f, "100000"));
  EXPECT_EQ("0", FormatDownloadedBytes(0.5f, ""));
}

TEST(ReportUrlsTest, ErrorLayout) {
  EXPECT_EQ(Url("diagnose?", "&failMsg=Physical memory&version=3.5.1.0"),
            BuildErrorUrl(std::string(kBase) + "diagnose?", kS,
                          "Physical memory", "3.5.1.0"));
}

TEST(ReportUrlsTest, SlowDownloadBody) {
  EXPECT_EQ("20", FormatSlowDownloadPercent(0.2f));
  EXPECT_EQ("0", FormatSlowDownloadPercent(0.0f));
  EXPECT_EQ("35", FormatSlowDownloadPercent(0.349f));
  EXPECT_EQ(std::string(kS) +
                "&clientType=1&logType=1&logBody=25minutes downed20percent.",
            BuildSlowDownloadBody(kS, FormatSlowDownloadPercent(0.2f)));
}

}  // namespace
}  // namespace server

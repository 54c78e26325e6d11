// Every report reaches the local product server with its exact layout and a
// signature the server accepts.

#include "server/report_sender.h"

#include <gtest/gtest.h>

#include "net/testing/test_loops.h"
#include "server/product_server_fixture.h"
#include "server/report_urls.h"
#include "server/server_urls.h"

namespace {

using server_testing::RecordedRequestsTo;

DWORD g_ticks = 0;
DWORD FixedTicks() { return g_ticks; }
int64_t FixedClock() { return 1700000000; }
std::string FixedMac() { return "00:1A:2B:3C:4D:5E"; }

const char kApi[] = "/api/token/file/v1_0/";

class ReportSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, server_testing::ProductServerPort())
        << "run beside testing/product_server.py --run";
    settings_ = server::DeployedEndpointSettings();
    settings_.test_api_host = server_testing::ProductServerHost();
    InitUrls(settings_);
  }

  void InitUrls(const server::EndpointSettings& settings) {
    urls_.SetEndpointSettings(settings);
    urls_.SetMacReader(&FixedMac);
    urls_.SetClock(&FixedClock);
    urls_.Init(false, 6);
    sender_.reset(new CReportSender(&urls_, "3.5.1.0"));
    sender_->SetTickSourceForTesting(&FixedTicks);
  }

  // Waits for the next request to |endpoint| and returns its record.
  Json::Value NextRequest(const std::string& endpoint) {
    const std::string prefix = kApi + endpoint;
    const size_t before = RecordedRequestsTo(prefix).size();
    EXPECT_TRUE(loops_.RunUntil(
        [&] { return RecordedRequestsTo(prefix).size() > before; }))
        << endpoint;
    const std::vector<Json::Value> all = RecordedRequestsTo(prefix);
    return all.empty() ? Json::Value() : all.back();
  }

  // Target the server saw for a report: path + signed string + fields.
  std::string Expected(const std::string& endpoint, const std::string& rest) {
    return kApi + endpoint + urls_.GetSignedParams() + rest;
  }

  net::TestLoops loops_;
  server::EndpointSettings settings_;
  CServerUrls urls_;
  std::unique_ptr<CReportSender> sender_;
};

TEST_F(ReportSenderTest, EveryGetReportArrivesWithItsLayout) {
  PackageStrings package;
  package.downloadUrl = "http://d/p.7z";
  package.rcDownloadUrl = "http://d/rc.zip";
  package.rcFileSize = "2048";
  sender_->SendDownloadStartReport(package);
  Json::Value seen = NextRequest("loadstart?");
  EXPECT_EQ(Expected("loadstart?",
                     "&downurl=http://d/p.7z,http://d/rc.zip&version=3.5.1.0"),
            seen["target"].asString());
  EXPECT_EQ("accepted", seen["verdict"].asString());

  // 10 MiB in 5 s.
  DWORD download_start = 100000;
  g_ticks = 105000;
  sender_->SendDownloadTimeReport(&download_start, 10485760);
  EXPECT_EQ(5u, download_start);
  seen = NextRequest("loaded?");
  EXPECT_EQ(Expected("loaded?",
                     "&totalTime=5000&downloadSpeed=16777216&version=3.5.1.0"),
            seen["target"].asString());
  EXPECT_EQ("accepted", seen["verdict"].asString());

  DWORD extract_start = 100000;
  g_ticks = 142500;
  sender_->SendInstalledReport(&extract_start);
  EXPECT_EQ(42u, extract_start);
  seen = NextRequest("installed?");
  EXPECT_EQ(Expected("installed?", "&totalTime=42&version=3.5.1.0"),
            seen["target"].asString());

  // Cancelled during a single stream: the parts' progress sum is 0.
  g_ticks = 107300;
  sender_->SendCancelReport(100000, 0.0f, "123456");
  seen = NextRequest("loadcancel?");
  EXPECT_EQ(Expected("loadcancel?",
                     "&infors=infors:DownloadTime:7300@DownloadSize:0"
                     "@TotalSize:123456&version=3.5.1.0"),
            seen["target"].asString());

  // The URL is built unencoded; on the wire WinINet writes the space of
  // the kind text as "%20" (a request line cannot hold a space).
  sender_->SendErrorReport("32True Color");
  seen = NextRequest("diagnose?");
  EXPECT_EQ(Expected("diagnose?", "&failMsg=32True%20Color&version=3.5.1.0"),
            seen["target"].asString());
  EXPECT_EQ("accepted", seen["verdict"].asString());
}

TEST_F(ReportSenderTest, SlowDownloadLogGoesToTheProductionHost) {
  // The test hosts lead nowhere; only the production API host is the
  // product server.
  settings_.api_host = server_testing::ProductServerHost();
  settings_.test_api_host = "127.0.0.1:9";
  InitUrls(settings_);
  ASSERT_EQ(0u, urls_.endpoints().infor_url.find("http://127.0.0.1:9/"));

  sender_->SendSlowDownloadLog(server::FormatSlowDownloadPercent(0.2f));
  const Json::Value seen = NextRequest("log");
  EXPECT_EQ("POST", seen["method"].asString());
  EXPECT_EQ("/api/token/file/v1_0/log", seen["target"].asString());
  EXPECT_EQ(urls_.GetSignedParams() +
                "&clientType=1&logType=1&logBody=25minutes downed20percent.",
            seen["body"].asString());
  EXPECT_EQ("accepted", seen["verdict"].asString());
}

}  // namespace

// The package query against the local product server, which plays each
// kind of answer (testing/product_server.py scenarios).

#include "server/package_query.h"

#include <windows.h>

#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "installer/util/string_conv.h"
#include "net/testing/test_loops.h"
#include "server/product_server_fixture.h"
#include "server/server_urls.h"

namespace {

using server_testing::RecordedRequestsTo;

const char kInfor[] = "/api/token/file/v1_0/infor?";

class RecordingDelegate : public CPackageQuery::Delegate {
 public:
  void OnPackageAnswerAccepted(const PackageStrings& strings) override {
    ++accepted;
    accepted_url = strings.downloadUrl;
  }
  void OnPackageAnswerFatal(int message_index) override {
    ++fatal;
    fatal_message = message_index;
  }
  void OnGameCenterParamsReady(
      const server::GameCenterParams& params) override {
    ++game_center;
    params.ApplyTo(&launch_params);
  }
  bool answered() const { return accepted + fatal > 0; }

  int accepted = 0;
  int fatal = 0;
  int game_center = 0;
  int fatal_message = -1;
  std::string accepted_url;
  std::wstring launch_params;
};

void WritePack(const std::string& name, size_t size) {
  const char* folder = std::getenv("QIV_PRODUCT_PACKS");
  ASSERT_NE(nullptr, folder);
  std::ofstream file(std::string(folder) + "\\" + name, std::ios::binary);
  file << std::string(size, 'p');
}

class PackageQueryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WritePack("install.7z", 123456);
    WritePack("rc1.zip", 2048);
  }

  void SetUp() override {
    ASSERT_NE(0, server_testing::ProductServerPort())
        << "run beside testing/product_server.py --run";
    server::EndpointSettings settings = server::DeployedEndpointSettings();
    settings.test_api_host = server_testing::ProductServerHost();
    settings.test_web_host = server_testing::ProductServerHost();
    urls_.SetEndpointSettings(settings);
    urls_.Init(false, 6);
    query_.reset(new CPackageQuery(&delegate_, &urls_, "3.5.1.0", &strings_));
  }

  // Runs the query under |scenario| until the delegate hears of it.
  void RunQuery(const std::string& scenario) {
    ASSERT_TRUE(server_testing::SetScenario(scenario)) << scenario;
    query_->StartQueryJson();
    ASSERT_TRUE(loops_.RunUntil([this] { return delegate_.answered(); }))
        << scenario;
  }

  net::TestLoops loops_;
  CServerUrls urls_;
  PackageStrings strings_;
  RecordingDelegate delegate_;
  std::unique_ptr<CPackageQuery> query_;
};

TEST_F(PackageQueryTest, GoodAnswerFillsThePackageStrings) {
  RunQuery("good");
  EXPECT_EQ(1, delegate_.accepted);
  EXPECT_EQ(0, delegate_.fatal);
  const std::string base = "http://" + server_testing::ProductServerHost();
  EXPECT_EQ(base + "/files/install.7z", strings_.downloadUrl);
  EXPECT_EQ(strings_.downloadUrl, delegate_.accepted_url);
  EXPECT_EQ("123456", strings_.fileSize);
  EXPECT_EQ("3.5.1.0", strings_.fileVersion);
  EXPECT_EQ("Qiv", strings_.dirName);
  EXPECT_EQ(base + "/files/rc1.zip", strings_.rcDownloadUrl);
  EXPECT_EQ("2048", strings_.rcFileSize);
  EXPECT_EQ(base + "/files/", strings_.basePath);

  // The signed query carries the installer's version and is kept.
  const std::vector<Json::Value> queries = RecordedRequestsTo(kInfor);
  ASSERT_FALSE(queries.empty());
  const std::string target = queries.back()["target"].asString();
  EXPECT_EQ("accepted", queries.back()["verdict"].asString());
  EXPECT_EQ(urls_.query_url, "http://" + server_testing::ProductServerHost() +
                                 target);
  EXPECT_EQ(target.size() - 16, target.rfind("&version=3.5.1.0"));
  // No game id: no game-center query.
  EXPECT_EQ(0, query_->query_mode());
}

TEST_F(PackageQueryTest, AnswersThatFailARuleAreFatal) {
  const struct {
    const char* scenario;
    int message;
  } cases[] = {
      {"errno-number", server::kMsgServerError},
      {"errno-other", server::kMsgServerError},
      {"errno-missing", server::kMsgServerError},
      {"retmsg", server::kMsgLatestInstaller},
      {"filesize-short", server::kMsgServerError},
      {"filesize-number", server::kMsgServerError},
      {"url-no-http", server::kMsgServerError},
      {"url-empty", server::kMsgServerError},
      {"not-json", server::kMsgServerError},
      {"not-object", server::kMsgServerError},
  };
  for (const auto& c : cases) {
    delegate_ = RecordingDelegate();
    query_.reset(new CPackageQuery(&delegate_, &urls_, "3.5.1.0", &strings_));
    RunQuery(c.scenario);
    EXPECT_EQ(1, delegate_.fatal) << c.scenario;
    EXPECT_EQ(0, delegate_.accepted) << c.scenario;
    EXPECT_EQ(c.message, delegate_.fatal_message) << c.scenario;
    EXPECT_TRUE(strings_.downloadUrl.empty()) << c.scenario;
  }
}

TEST_F(PackageQueryTest, ErrNo2WithoutRetMsgIsAccepted) {
  RunQuery("good-errno2");
  EXPECT_EQ(1, delegate_.accepted);
  EXPECT_EQ("123456", strings_.fileSize);
}

TEST_F(PackageQueryTest, EmptyAnswerIsRetriedWithAFreshSignature) {
  const size_t before = RecordedRequestsTo(kInfor).size();
  RunQuery("empty-first");
  EXPECT_EQ(1, delegate_.accepted);
  EXPECT_EQ(0, delegate_.fatal);
  const std::vector<Json::Value> queries = RecordedRequestsTo(kInfor);
  ASSERT_EQ(before + 2, queries.size());
  EXPECT_EQ("accepted", queries[before]["verdict"].asString());
  EXPECT_EQ("accepted", queries[before + 1]["verdict"].asString());
}

TEST_F(PackageQueryTest, GameCenterAnswerGivesLaunchParams) {
  query_->SetGameCenterQuery("1234", false);
  RunQuery("good");
  ASSERT_TRUE(loops_.RunUntil([this] { return delegate_.game_center > 0; }));
  EXPECT_EQ(1, query_->query_mode());
  const std::wstring base =
      AnsiToWide("http://" + server_testing::ProductServerHost());
  EXPECT_EQ(L"-activityName:com.qiv.game1234.MainActivity "
            L"-installApkUrl:" + base + L"/files/game1234.apk "
            L"-packageUrl:com.qiv.game1234",
            delegate_.launch_params);
  EXPECT_EQ(1u, RecordedRequestsTo("/games/simulator/1234").size());
}

TEST_F(PackageQueryTest, FileUrlSwitchSkipsTheGameCenter) {
  query_->SetGameCenterQuery("5678", true);
  RunQuery("good");
  EXPECT_EQ(1, delegate_.accepted);
  // The game-center query would have been started within the answer.
  EXPECT_EQ(0, query_->query_mode());
  EXPECT_TRUE(RecordedRequestsTo("/games/simulator/5678").empty());
}

}  // namespace

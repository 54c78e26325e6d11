#include "server/server_urls.h"

#include <gtest/gtest.h>

#include "app/global.h"
#include "installer/util/windows_version.h"

namespace {

int64_t g_now = 1700000000;
int64_t FixedClock() { return g_now; }
std::string FixedMac() { return "00:1A:2B:3C:4D:5E"; }
std::string NoAdapter() { return std::string(); }

class ServerUrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_now = 1700000000;
    urls_.SetMacReader(&FixedMac);
    urls_.SetClock(&FixedClock);
  }
  CServerUrls urls_;
};

// The default pair of the deployment data; the expected signs are MD5s of
// the signature input computed outside this code.
TEST_F(ServerUrlsTest, SignedParamsForFixedMacAndClock) {
  urls_.Init(true, 6);
  const std::string params = urls_.GetSignedParams();
  EXPECT_EQ("accessToken=5ff20233adc2fa4e9bc123fa37be3013"
            "&macAddress=00:1A:2B:3C:4D:5E&playerVersion=0.2&platform=" +
                GetWindowsVersionName() +
                "&timestamp=1700000000&reservedField=[]"
                "&sign=82924e4423b5ef51e8fb9915111cefb2",
            params);
  EXPECT_EQ(std::string::npos, params.find("accessSecret"));
  EXPECT_EQ(std::string::npos,
            params.find(urls_.endpoints().access_secret));
  // The same second gives the same string; one second later a new sign.
  EXPECT_EQ(params, urls_.GetSignedParams());
  g_now = 1700000001;
  const std::string later = urls_.GetSignedParams();
  EXPECT_NE(std::string::npos, later.find("&timestamp=1700000001&"));
  EXPECT_NE(std::string::npos,
            later.find("&sign=fc72cfbd32b1416f35e2525f2913be38"));
}

TEST_F(ServerUrlsTest, InforUrlIsFollowedByAFreshSignature) {
  urls_.Init(true, 6);
  EXPECT_EQ(urls_.endpoints().infor_url + urls_.GetSignedParams(),
            urls_.GetInforUrl());
  EXPECT_EQ(0u, urls_.GetInforUrl().find(
                    "http://api.qiv.invalid/api/token/file/v1_0/infor?"
                    "accessToken="));
}

TEST_F(ServerUrlsTest, TestSwitchMovesEveryUrlExceptTheLogPost) {
  urls_.Init(false, 0);
  const server::ServerEndpoints& e = urls_.endpoints();
  for (const std::string& url :
       {e.api_base_url, e.diagnose_url, e.infor_url, e.installed_url,
        e.loaded_url, e.loadstart_url, e.loadcancel_url, urls_.GetInforUrl()})
    EXPECT_EQ(0u, url.find("http://127.0.0.1:9090/api/token/file/v1_0/"))
        << url;
  EXPECT_EQ("http://127.0.0.1:8888/games/simulator/", e.game_center_url);
  EXPECT_EQ("api.qiv.invalid", e.log_post_host);
}

TEST_F(ServerUrlsTest, NoAdapterSignsWithTheFallbackMac) {
  urls_.SetMacReader(&NoAdapter);
  urls_.Init(true, 6);
  EXPECT_NE(std::string::npos,
            urls_.GetSignedParams().find("&macAddress=11:11:11:11:11:11&"));
}

TEST_F(ServerUrlsTest, SettingsSeamPointsAtAnotherServer) {
  server::EndpointSettings settings = server::DeployedEndpointSettings();
  settings.test_api_host = "127.0.0.1:40123";
  settings.api_host = "127.0.0.1:40124";
  urls_.SetEndpointSettings(settings);
  urls_.Init(false, 3);
  EXPECT_EQ(0u, urls_.GetInforUrl().find(
                    "http://127.0.0.1:40123/api/token/file/v1_0/infor?"
                    "accessToken=BFF782A79B0929A3C03AE1E7F88C4C57&"));
  EXPECT_EQ("127.0.0.1:40124", urls_.endpoints().log_post_host);
}

}  // namespace

namespace {

// CGlobal forwards to its one CServerUrls, fed by the start-up settings.
TEST(GlobalServerUrlsTest, StartupSettingsChooseHostsAndPair) {
  StartupSettings& startup = CGlobal::mutable_startup();
  startup.external_servers = false;  // "-unExternalQiv:"
  startup.language_index = 3;
  CGlobal::server_urls().SetMacReader(&FixedMac);
  CGlobal::server_urls().SetClock(&FixedClock);
  CGlobal::InitServerUrls();
  EXPECT_EQ(0u, CGlobal::GetInforUrl().find(
                    "http://127.0.0.1:9090/api/token/file/v1_0/infor?"
                    "accessToken=BFF782A79B0929A3C03AE1E7F88C4C57"
                    "&macAddress=00:1A:2B:3C:4D:5E&"));
  EXPECT_EQ(CGlobal::server_urls().GetSignedParams(),
            CGlobal::GetSignedParams());
  EXPECT_EQ("api.qiv.invalid",
            CGlobal::server_urls().endpoints().log_post_host);

  startup.external_servers = true;
  startup.language_index = 6;
  CGlobal::InitServerUrls();
  EXPECT_EQ(0u, CGlobal::GetInforUrl().find(
                    "http://api.qiv.invalid/api/token/file/v1_0/infor?"
                    "accessToken=5ff20233adc2fa4e9bc123fa37be3013&"));
}

}  // namespace

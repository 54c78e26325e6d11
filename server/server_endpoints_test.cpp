#include "server/server_endpoints.h"

#include <gtest/gtest.h>

namespace server {
namespace {

EndpointSettings TestSettings() {
  EndpointSettings settings;
  settings.api_host = "api.example.invalid";
  settings.web_host = "www.example.invalid";
  settings.test_api_host = "127.0.0.1:9090";
  settings.test_web_host = "127.0.0.1:8888";
  settings.default_credential = {"aaaa", "bbbb"};
  for (int i = 0; i < 5; ++i) {
    const std::string n = std::to_string(i + 1);
    settings.language_credentials[i] = {"T" + n, "S" + n};
  }
  return settings;
}

TEST(ServerEndpointsTest, ExternalServersUseProductionHosts) {
  const ServerEndpoints e =
      BuildServerEndpoints(TestSettings(), true, 6, "00:1A:2B:3C:4D:5E");
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/", e.api_base_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/diagnose?",
            e.diagnose_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/infor?",
            e.infor_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/installed?",
            e.installed_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/loaded?",
            e.loaded_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/loadstart?",
            e.loadstart_url);
  EXPECT_EQ("http://api.example.invalid/api/token/file/v1_0/loadcancel?",
            e.loadcancel_url);
  EXPECT_EQ("http://www.example.invalid/games/simulator/", e.game_center_url);
  EXPECT_EQ("api.example.invalid", e.log_post_host);
  EXPECT_EQ("00:1A:2B:3C:4D:5E", e.mac_address);
}

TEST(ServerEndpointsTest, TestSwitchMovesEveryUrlButTheLogPost) {
  const ServerEndpoints e =
      BuildServerEndpoints(TestSettings(), false, 0, "00:1A:2B:3C:4D:5E");
  const std::string api = "http://127.0.0.1:9090/api/token/file/v1_0/";
  for (const std::string* url :
       {&e.api_base_url, &e.diagnose_url, &e.infor_url, &e.installed_url,
        &e.loaded_url, &e.loadstart_url, &e.loadcancel_url}) {
    EXPECT_EQ(0u, url->find(api)) << *url;
  }
  EXPECT_EQ("http://127.0.0.1:8888/games/simulator/", e.game_center_url);
  // The slow-download log always goes to the production API host.
  EXPECT_EQ("api.example.invalid", e.log_post_host);
}

TEST(ServerEndpointsTest, LanguageIndexChoosesTheCredentialPair) {
  const struct {
    int language_index;
    const char* token;
    const char* secret;
  } cases[] = {
      {0, "aaaa", "bbbb"}, {1, "T1", "S1"}, {2, "T2", "S2"},
      {3, "T3", "S3"},     {4, "T4", "S4"}, {5, "T5", "S5"},
      {6, "aaaa", "bbbb"}, {-1, "aaaa", "bbbb"}, {7, "aaaa", "bbbb"},
  };
  for (const auto& c : cases) {
    const ServerEndpoints e =
        BuildServerEndpoints(TestSettings(), true, c.language_index, "M");
    EXPECT_EQ(c.token, e.access_token) << c.language_index;
    EXPECT_EQ(c.secret, e.access_secret) << c.language_index;
  }
}

TEST(ServerEndpointsTest, NoAdapterGivesTheFallbackMac) {
  EXPECT_EQ("11:11:11:11:11:11",
            BuildServerEndpoints(TestSettings(), true, 6, "").mac_address);
}

TEST(ServerEndpointsTest, DeployedDataHasTheExpectedForms) {
  const EndpointSettings& d = DeployedEndpointSettings();
  EXPECT_EQ("127.0.0.1:9090", d.test_api_host);
  EXPECT_EQ("127.0.0.1:8888", d.test_web_host);
  // Production names stay under the reserved domain unless configured.
  const std::string suffix = ".invalid";
  EXPECT_EQ(d.api_host.size() - suffix.size(), d.api_host.rfind(suffix));
  EXPECT_EQ(d.web_host.size() - suffix.size(), d.web_host.rfind(suffix));
  const auto is_hex = [](const std::string& text, bool upper) {
    if (text.size() != 32) return false;
    for (char c : text) {
      const bool digit = c >= '0' && c <= '9';
      const bool letter = upper ? (c >= 'A' && c <= 'F') : (c >= 'a' && c <= 'f');
      if (!digit && !letter) return false;
    }
    return true;
  };
  EXPECT_TRUE(is_hex(d.default_credential.token, false));
  EXPECT_TRUE(is_hex(d.default_credential.secret, false));
  for (const Credential& c : d.language_credentials) {
    EXPECT_TRUE(is_hex(c.token, true)) << c.token;
    EXPECT_TRUE(is_hex(c.secret, true)) << c.secret;
  }
}

TEST(ServerEndpointsTest, SplitHostPort) {
  const struct {
    const char* host;
    bool ok;
    const char* name;
    unsigned short port;
  } cases[] = {
      {"api.example.invalid", true, "api.example.invalid", 80},
      {"127.0.0.1:9090", true, "127.0.0.1", 9090},
      {"127.0.0.1:65535", true, "127.0.0.1", 65535},
      {"127.0.0.1:0", false, "", 0},
      {"127.0.0.1:65536", false, "", 0},
      {"127.0.0.1:", false, "", 0},
      {"127.0.0.1:9x", false, "", 0},
  };
  for (const auto& c : cases) {
    std::string name;
    unsigned short port = 0;
    EXPECT_EQ(c.ok, SplitHostPort(c.host, 80, &name, &port)) << c.host;
    EXPECT_EQ(c.name, name) << c.host;
    EXPECT_EQ(c.port, port) << c.host;
  }
}

}  // namespace
}  // namespace server

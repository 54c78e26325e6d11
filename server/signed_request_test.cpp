// A request signed by this code reaches the local product server, which
// checks the signature on its own (Python's MD5, the deployment data file)
// and records its verdict.

#include <gtest/gtest.h>

#include "server/product_server_fixture.h"
#include "server/server_urls.h"

namespace {

using server_testing::HttpGet;
using server_testing::RecordedRequestsTo;

std::string FixedMac() { return "00:1A:2B:3C:4D:5E"; }

class SignedRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, server_testing::ProductServerPort())
        << "run beside testing/product_server.py --run";
    server::EndpointSettings settings = server::DeployedEndpointSettings();
    settings.test_api_host = server_testing::ProductServerHost();
    urls_.SetEndpointSettings(settings);
    urls_.SetMacReader(&FixedMac);
  }
  CServerUrls urls_;
};

TEST_F(SignedRequestTest, ServerAcceptsOurSignatureAndRefusesTampering) {
  const std::string marker = "&version=signed-request-test";
  // Every credential pair, with the real clock.
  for (int language_index = 0; language_index <= 6; ++language_index) {
    urls_.Init(false, language_index);
    const server_testing::HttpAnswer answer =
        HttpGet(urls_.GetInforUrl() + marker);
    ASSERT_TRUE(answer.ok);
    EXPECT_EQ(200, answer.status) << language_index;
    EXPECT_NE(std::string::npos, answer.body.find("\"errNo\"")) << answer.body;
  }

  // The same request with one byte of the MAC changed after signing.
  urls_.Init(false, 6);
  std::string tampered = urls_.GetInforUrl() + marker;
  const std::string::size_type mac = tampered.find("00:1A:2B:3C:4D:5E");
  ASSERT_NE(std::string::npos, mac);
  tampered[mac + 16] = 'F';
  const server_testing::HttpAnswer refused = HttpGet(tampered);
  ASSERT_TRUE(refused.ok);
  EXPECT_EQ(403, refused.status);

  const std::vector<Json::Value> entries =
      RecordedRequestsTo("/api/token/file/v1_0/infor?");
  ASSERT_EQ(8u, entries.size());
  for (size_t i = 0; i < 7; ++i)
    EXPECT_EQ("accepted", entries[i]["verdict"].asString()) << i;
  EXPECT_EQ("refused", entries[7]["verdict"].asString());
  EXPECT_EQ("sign mismatch", entries[7]["reason"].asString());
}

}  // namespace

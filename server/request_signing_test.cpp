#include "server/request_signing.h"

#include <gtest/gtest.h>

namespace server {
namespace {

const char kToken[] = "5ff20233adc2fa4e9bc123fa37be3013";
const char kSecret[] = "0f4427b1d56bafa3b0e86f4bb833d564";
const char kMac[] = "00:1A:2B:3C:4D:5E";

TEST(RequestSigningTest, SignatureInputJoinsWithUnderscoresAndHoldsSecret) {
  EXPECT_EQ(
      "accessToken=5ff20233adc2fa4e9bc123fa37be3013"
      "_accessSecret=0f4427b1d56bafa3b0e86f4bb833d564"
      "_macAddress=00:1A:2B:3C:4D:5E_timestamp=1700000000",
      BuildSignatureInput(kToken, kSecret, kMac, FormatTimestamp(1700000000)));
}

TEST(RequestSigningTest, TransmittedStringHasSevenFieldsInOrderAndNoSecret) {
  const std::string params =
      BuildSignedParams(kToken, kMac, "Windows7", FormatTimestamp(1700000000),
                        "82924e4423b5ef51e8fb9915111cefb2");
  EXPECT_EQ(
      "accessToken=5ff20233adc2fa4e9bc123fa37be3013"
      "&macAddress=00:1A:2B:3C:4D:5E&playerVersion=0.2&platform=Windows7"
      "&timestamp=1700000000&reservedField=[]"
      "&sign=82924e4423b5ef51e8fb9915111cefb2",
      params);
  EXPECT_EQ(std::string::npos, params.find("accessSecret"));
  EXPECT_EQ(std::string::npos, params.find(kSecret));
}

TEST(RequestSigningTest, TimestampIsPlainDecimal) {
  EXPECT_EQ("0", FormatTimestamp(0));
  EXPECT_EQ("1700000001", FormatTimestamp(1700000001));
  // Beyond 2038 the text simply grows; it never wraps negative.
  EXPECT_EQ("4102444800", FormatTimestamp(4102444800LL));
}

}  // namespace
}  // namespace server

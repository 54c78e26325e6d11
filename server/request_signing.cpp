#include "server/request_signing.h"

namespace server {

std::string FormatTimestamp(int64_t seconds_since_1970) {
  return std::to_string(seconds_since_1970);
}

std::string BuildSignatureInput(const std::string& token,
                                const std::string& secret,
                                const std::string& mac,
                                const std::string& timestamp) {
  return "accessToken=" + token + "_accessSecret=" + secret +
         "_macAddress=" + mac + "_timestamp=" + timestamp;
}

std::string BuildSignedParams(const std::string& token,
                              const std::string& mac,
                              const std::string& platform,
                              const std::string& timestamp,
                              const std::string& sign) {
  return "accessToken=" + token + "&macAddress=" + mac +
         "&playerVersion=0.2&platform=" + platform +
         "&timestamp=" + timestamp + "&reservedField=[]&sign=" + sign;
}

}  // namespace server

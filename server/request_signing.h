#pragma once

// The signed parameter string that every request to the product server
// carries. Pure text building: the caller supplies the clock reading, the
// MAC text, the platform name and the hash, so that each piece can be fixed
// in tests. Values are joined as they are; nothing is URL-encoded (the MAC's
// colons and the brackets of "reservedField=[]" travel unchanged).

#include <cstdint>
#include <string>

namespace server {

// "%ld"-style decimal text of a calendar time in whole seconds.
std::string FormatTimestamp(int64_t seconds_since_1970);

// The text whose MD5 is the signature:
// "accessToken=T_accessSecret=S_macAddress=M_timestamp=N". The secret is
// part of it; the platform and the player version are not.
std::string BuildSignatureInput(const std::string& token,
                                const std::string& secret,
                                const std::string& mac,
                                const std::string& timestamp);

// The transmitted string, seven fields joined by "&" in this order:
// accessToken, macAddress, playerVersion (always "0.2"), platform,
// timestamp, reservedField ("[]"), sign. It carries no secret.
std::string BuildSignedParams(const std::string& token,
                              const std::string& mac,
                              const std::string& platform,
                              const std::string& timestamp,
                              const std::string& sign);

}  // namespace server

// MD5 (RFC 1321) through the Windows BCrypt provider, for request signing.
// Any thread.
#pragma once

#include <string>

// At most the first 259 bytes of `text` are hashed (longer text is cut
// first). Returns 32 lower-case hexadecimal digits, or an empty string if
// the provider cannot be used.
std::string Md5Hex(const std::string& text);

#include "installer/util/md5.h"

#include <gtest/gtest.h>

namespace {

TEST(Md5Test, Rfc1321Vectors) {
  const struct { const char* input; const char* digest; } kVectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"1234567890123456789012345678901234567890"
       "1234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& v : kVectors) EXPECT_EQ(v.digest, Md5Hex(v.input)) << v.input;
}

TEST(Md5Test, HashesOnlyTheFirst259Bytes) {
  std::string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char>('a' + i % 26));
  EXPECT_EQ(Md5Hex(text.substr(0, 259)), Md5Hex(text));
  EXPECT_NE(Md5Hex(text.substr(0, 258)), Md5Hex(text));
  // Embedded zero bytes are data, not an end.
  EXPECT_NE(Md5Hex(std::string("a\0b", 3)), Md5Hex("a"));
}

}  // namespace

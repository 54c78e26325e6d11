#include "net/http_range.h"

#include "gtest/gtest.h"

namespace net {
namespace {

TEST(HttpRangeTest, HeaderNamesTheFirstAndLastByte) {
  EXPECT_EQ(RangeHeader(0, 2500), "Range:bytes=0-2499\r\n");
  EXPECT_EQ(RangeHeader(7500, 10003), "Range:bytes=7500-10002\r\n");
  EXPECT_EQ(RangeHeader(0, 1), "Range:bytes=0-0\r\n");
  EXPECT_EQ(RangeHeader(0xFFFFFFFEu, 0xFFFFFFFFu),
            "Range:bytes=4294967294-4294967294\r\n");
}

TEST(HttpRangeTest, WholeSizeComesFromContentRangeOrTheRestOfTheFile) {
  const struct {
    const wchar_t* content_range;
    DWORD request_begin;
    DWORD content_length;
    uint64_t whole;
  } cases[] = {
      {L"bytes 0-0/10003", 0, 1, 10003},
      {L"bytes 7500-10002/10003", 7500, 2503, 10003},
      {L"bytes 2500-4999/4294967295", 2500, 2500, 4294967295ull},
      // No usable total: the answer is taken as the rest of the file.
      {L"", 2500, 7503, 10003},
      {L"bytes 2500-4999/*", 2500, 2500, 5000},
      {L"bytes 2500-4999/", 2500, 2500, 5000},
      {L"bytes 2500-4999/12x", 2500, 2500, 5000},
      {L"bytes 0-0/4294967296", 0, 1, 1},  // 4 GiB and more: not believed
      {L"", 0xFFFFFFF0u, 0x20, 0x100000010ull},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeSizeOfRangeAnswer(c.content_range, c.request_begin,
                                     c.content_length),
              c.whole)
        << static_cast<const void*>(c.content_range);
  }
}

}  // namespace
}  // namespace net

#include "net/multi_part_rules.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "net/http_range.h"

namespace net {
namespace {

TEST(MultiPartRulesTest, SplitGivesThePartsAndPartThreeTheRemainder) {
  struct Case {
    DWORD size;
    ByteRange parts[kPartCount];
  };
  const Case cases[] = {
      {10003, {{0, 2500}, {2500, 5000}, {5000, 7500}, {7500, 10003}}},
      {10000, {{0, 2500}, {2500, 5000}, {5000, 7500}, {7500, 10000}}},
      {3, {{0, 0}, {0, 0}, {0, 0}, {0, 3}}},
      {0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
      {0xFFFFFFFEu,
       {{0, 0x3FFFFFFFu},
        {0x3FFFFFFFu, 0x7FFFFFFEu},
        {0x7FFFFFFEu, 0xBFFFFFFDu},
        {0xBFFFFFFDu, 0xFFFFFFFEu}}},
  };
  for (const Case& c : cases) {
    const auto parts = SplitIntoParts(c.size);
    for (int k = 0; k < kPartCount; ++k) {
      EXPECT_EQ(parts[k].begin, c.parts[k].begin) << c.size << " part " << k;
      EXPECT_EQ(parts[k].end, c.parts[k].end) << c.size << " part " << k;
    }
  }
}

// Each part reports the share of the whole file it wrote itself, also after
// a resume (a later request begins further on but keeps its progress base);
// so the four shares add up to the fraction of the file written.
TEST(MultiPartRulesTest, ProgressSharesAddUpToTheWhole) {
  struct Case {
    DWORD size;
    double done[kPartCount];  // fraction of each part written
    DWORD resumed_at[kPartCount];  // bytes into the part of the last request
  };
  const Case cases[] = {
      {10003, {1, 1, 1, 1}, {0, 0, 0, 0}},
      {10003, {1, 1, 1, 1}, {100, 2000, 0, 2502}},
      {10003, {0.5, 0.25, 0, 1}, {1000, 0, 0, 7}},
      {1000003, {0.3, 0.9, 1, 0.6}, {12345, 60000, 0, 150001}},
      {0xFFFFFFFEu, {1, 1, 1, 1}, {0, 0x10000000u, 0, 1}},
  };
  for (const Case& c : cases) {
    const auto parts = SplitIntoParts(c.size);
    double sum = 0;
    double written = 0;
    for (int k = 0; k < kPartCount; ++k) {
      const DWORD length = parts[k].end - parts[k].begin;
      const DWORD position =
          parts[k].begin + static_cast<DWORD>(length * c.done[k]);
      const DWORD request_begin =
          std::min(parts[k].begin + c.resumed_at[k], position);
      // The part's last request asked from request_begin to the part's end;
      // the answer's Content-Range names the whole size.
      const std::wstring content_range =
          L"bytes " + std::to_wstring(request_begin) + L"-" +
          std::to_wstring(parts[k].end - 1) + L"/" + std::to_wstring(c.size);
      sum += RangeShare(position, parts[k].begin,
                        WholeSizeOfRangeAnswer(content_range, request_begin,
                                               parts[k].end - request_begin));
      written += position - parts[k].begin;
    }
    EXPECT_NEAR(sum, written / c.size, 1e-9) << c.size;
  }
  EXPECT_EQ(RangeShare(10, 0, 0), 0.0);
  EXPECT_EQ(RangeShare(5, 10, 100), 0.0);
}

TEST(MultiPartRulesTest, OnlyEveryFourthReportChangesTheDisplay) {
  ProgressReportCounter counter;
  std::vector<int> shown;
  for (int report = 1; report <= 13; ++report)
    if (counter.TakeReport()) shown.push_back(report);
  EXPECT_EQ(shown, (std::vector<int>{4, 8, 12}));
}

TEST(MultiPartRulesTest, SlowDownloadDecision) {
  struct Case {
    DWORD elapsed_ms;
    float progress;
    bool slow;
  };
  const DWORD minute = 60000;
  const Case cases[] = {
      {30 * minute, 0.20f, true},
      {10 * minute, 0.20f, false},
      {26 * minute, 0.34f, true},
      {26 * minute - 1, 0.10f, false},  // 25 whole minutes are not enough
      {30 * minute, 0.35f, false},
      {30 * minute, 0.0f, true},
      {0, 0.0f, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsSlowDownload(c.elapsed_ms, c.progress), c.slow)
        << c.elapsed_ms << " ms " << c.progress;
}

// The check runs at the first part failure only: a slow first failure sends
// once; a quick first failure means never.
TEST(MultiPartRulesTest, SlowDownloadCheckRunsAtTheFirstFailureOnly) {
  const DWORD minute = 60000;
  struct Case {
    std::vector<DWORD> failures_at;
    std::vector<bool> sends;
  };
  const Case cases[] = {
      {{30 * minute, 31 * minute, 40 * minute}, {true, false, false}},
      {{10 * minute, 30 * minute, 60 * minute}, {false, false, false}},
  };
  for (const Case& c : cases) {
    SlowDownloadCheck check;
    for (size_t i = 0; i < c.failures_at.size(); ++i)
      EXPECT_EQ(check.OnPartFailure(c.failures_at[i], 0.20f), c.sends[i]) << i;
    EXPECT_FALSE(check.armed());
  }
}

TEST(MultiPartRulesTest, PartRetryDelayStaysBetweenHalfAndTwoSeconds) {
  const struct {
    uint32_t random;
    DWORD delay_ms;
  } cases[] = {{0, 500},     {499, 999},  {500, 500},         {1999, 1999},
               {2000, 500},  {2600, 600}, {0xFFFFFFFFu, 1295}};
  for (const auto& c : cases) EXPECT_EQ(PartRetryDelayMs(c.random), c.delay_ms);
  uint32_t x = 12345;
  for (int i = 0; i < 100000; ++i) {
    x = x * 1664525u + 1013904223u;
    const DWORD d = PartRetryDelayMs(x);
    ASSERT_GE(d, 500u);
    ASSERT_LE(d, 1999u);
  }
}

}  // namespace
}  // namespace net

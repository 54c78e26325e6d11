#include "base/time.h"

#include <gtest/gtest.h>

namespace {

DWORD g_ticks = 0;
DWORD FakeTicks() { return g_ticks; }

class TimeTest : public ::testing::Test {
 protected:
  void SetUp() override { base::SetTickSourceForTesting(&FakeTicks); }
  void TearDown() override { base::SetTickSourceForTesting(nullptr); }
};

TEST_F(TimeTest, KeepsIncreasingAcrossTheTickCounterWrap) {
  const int64_t kWrap = int64_t{1} << 32;
  struct Step {
    DWORD ticks;
    int64_t expected_us;
  };
  const Step steps[] = {
      {0xFFFFFF00u, 0xFFFFFF00ll * 1000},
      {0xFFFFFFFFu, 0xFFFFFFFFll * 1000},
      {0x00000005u, (kWrap + 5) * 1000},             // Wrapped once.
      {0x00000005u, (kWrap + 5) * 1000},             // Same reading: no wrap.
      {0x7FFFFFFFu, (kWrap + 0x7FFFFFFFll) * 1000},
      {0x00000001u, (2 * kWrap + 1) * 1000},         // Wrapped twice.
  };
  int64_t previous = 0;
  for (const Step& step : steps) {
    g_ticks = step.ticks;
    const int64_t now = base::NowMicroseconds();
    EXPECT_EQ(step.expected_us, now) << std::hex << step.ticks;
    EXPECT_GE(now, previous);
    previous = now;
  }
}

TEST(RealTimeTest, FollowsTimeGetTime) {
  const int64_t first = base::NowMicroseconds();
  const int64_t second = base::NowMicroseconds();
  EXPECT_GT(first, 0);
  EXPECT_GE(second, first);
  EXPECT_EQ(0, first % 1000);  // Millisecond readings in microsecond units.
}

}  // namespace

#include "net/multi_part_download.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "net/testing/test_loops.h"
#include "net/testing/test_server.h"

namespace net {
namespace {

class Owner : public MultiPartDownload::Delegate {
 public:
  void OnMultiPartProgress(float fraction, double bytes_done,
                           DWORD total_bytes) override {
    fractions.push_back(fraction);
    last_bytes = bytes_done;
    total = total_bytes;
  }
  void OnMultiPartComplete() override { ++completes; }
  void OnMultiPartReserveFailed() override { ++reserve_failures; }
  void OnMultiPartFirstFailure(DWORD elapsed_ms, float progress,
                               bool slow) override {
    ++first_failures;
    first_failure_elapsed = elapsed_ms;
    first_failure_progress = progress;
    first_failure_slow = slow;
  }

  int events() const {
    return static_cast<int>(fractions.size()) + completes + reserve_failures +
           first_failures;
  }

  std::vector<float> fractions;
  double last_bytes = 0;
  DWORD total = 0;
  int completes = 0;
  int reserve_failures = 0;
  int first_failures = 0;
  DWORD first_failure_elapsed = 0;
  float first_failure_progress = 0;
  bool first_failure_slow = false;
};

class MultiPartDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.available())
        << "run under testing/with_http_server.sh";
  }

  TestLoops loops_;
  TestServer server_;
  Owner owner_;
};

// The download starts at 1000 ms; every later reading is 30 minutes on.
int g_clock_reads = 0;
DWORD ThirtyMinutesLater() {
  return g_clock_reads++ == 0 ? 1000 : 1000 + 30 * 60000;
}

// 4000003 bytes in four parts while the server cuts every answer after
// 300000 bytes: each part breaks three times, resumes where it stopped, and
// the file ends up byte for byte the served one.
TEST_F(MultiPartDownloadTest, CompletesIdenticalDespiteDroppedConnections) {
  const DWORD size = 4000003;
  const std::string bytes = MakeBytes(size, 11);
  ASSERT_TRUE(server_.PutFile("pack.bin", bytes));
  const std::wstring target = TempPath(L"pack.bin");

  MultiPartDownload download(&owner_);
  g_clock_reads = 0;
  download.set_clock_for_testing(&ThirtyMinutesLater);
  download.Begin(server_.FileUrl("pack.bin", "drop=300000"), target, size);
  ASSERT_TRUE(loops_.RunUntil([&] { return owner_.completes > 0; }, 120000));

  EXPECT_TRUE(download.complete());
  EXPECT_EQ(Sha256Hex(ReadFileBytes(target)), Sha256Hex(bytes));
  for (int k = 0; k < kPartCount; ++k) {
    EXPECT_TRUE(download.part(k)->finished) << k;
    EXPECT_EQ(download.part(k)->failure_count, 3u) << k;
  }
  EXPECT_EQ(owner_.reserve_failures, 0);
  // The slow-download decision was taken once, at the first failure.
  EXPECT_EQ(owner_.first_failures, 1);
  EXPECT_EQ(owner_.first_failure_elapsed, 30u * 60000u);
  EXPECT_TRUE(owner_.first_failure_slow);

  // Part 0 asked for its start, then each time for the first byte it lacked.
  for (DWORD from = 0; from < 1000000; from += 300000) {
    EXPECT_EQ(server_.CountRequests("range=bytes=" + std::to_string(from) +
                                    "-999999 status=206"),
              1)
        << from;
  }
  // Part 3 took the remainder: it started at 3 * 1000000 and ended last.
  EXPECT_EQ(server_.CountRequests("range=bytes=3000000-4000002 status=206"), 1);
  EXPECT_EQ(server_.CountRequests("range=bytes=3900000-4000002 status=206"), 1);

  // Combined progress: growing shares of the whole, bytes to match.
  ASSERT_FALSE(owner_.fractions.empty());
  for (size_t i = 1; i < owner_.fractions.size(); ++i)
    EXPECT_GE(owner_.fractions[i], owner_.fractions[i - 1]);
  EXPECT_LE(owner_.fractions.back(), 1.0f);
  EXPECT_EQ(owner_.total, size);
  EXPECT_NEAR(owner_.last_bytes, size * owner_.fractions.back(), 1.0);
  DeleteFileW(target.c_str());
}

TEST_F(MultiPartDownloadTest, ReservationFailureIsReportedAndNothingStarts) {
  const std::wstring target = TempPath(L"no-such-folder\\pack.bin");
  MultiPartDownload download(&owner_);
  download.Begin(server_.FileUrl("pack.bin", "tag=never"), target, 1000);
  ASSERT_TRUE(loops_.RunUntil([&] { return owner_.reserve_failures > 0; }));
  EXPECT_EQ(owner_.events(), 1);
  EXPECT_EQ(server_.CountRequests("tag=never"), 0);

  MultiPartDownload too_big(&owner_);
  too_big.Begin(server_.FileUrl("pack.bin", "tag=never"), TempPath(L"big.bin"),
                0xFFFFFFFFu);
  ASSERT_TRUE(loops_.RunUntil([&] { return owner_.reserve_failures > 1; }));
  EXPECT_EQ(server_.CountRequests("tag=never"), 0);
}

// The owner destroys the component while its parts are transferring: no
// callback reaches the owner afterwards, and no retry runs.
TEST_F(MultiPartDownloadTest, DestroyedMidTransferCallsNothing) {
  const DWORD size = 400000;
  ASSERT_TRUE(server_.PutFile("pack2.bin", MakeBytes(size, 12)));
  const std::wstring target = TempPath(L"pack2.bin");
  std::vector<base::scoped_refptr<URLFetcher>> fetchers;
  {
    MultiPartDownload download(&owner_);
    download.Begin(server_.FileUrl("pack2.bin", "stall=60&stall_after=1000&tag=gone"),
                   target, size);
    ASSERT_TRUE(loops_.RunUntil(
        [&] { return server_.CountRequests("tag=gone") == kPartCount; }));
    for (int k = 0; k < kPartCount; ++k)
      fetchers.push_back(download.part(k)->fetcher);
  }
  ASSERT_TRUE(server_.ReleaseStalls());
  for (auto& fetcher : fetchers) {
    ASSERT_EQ(WaitForSingleObject(fetcher->done_event_for_testing(), 60000),
              WAIT_OBJECT_0);
    ASSERT_TRUE(loops_.RunUntil([&] { return fetcher->HasOneRef(); }));
    EXPECT_TRUE(fetcher->cancelled());
    EXPECT_FALSE(fetcher->succeeded());
  }
  loops_.Flush();
  EXPECT_EQ(owner_.events(), 0);
  EXPECT_EQ(server_.CountRequests("tag=gone"), kPartCount);
  DeleteFileW(target.c_str());
}

}  // namespace
}  // namespace net

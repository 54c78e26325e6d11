#include "net/url_fetcher.h"

#include <string>
#include <vector>

#include <wininet.h>

#include "gtest/gtest.h"
#include "net/http_transfer.h"
#include "net/reserve_file.h"
#include "net/testing/test_loops.h"
#include "net/testing/test_server.h"

namespace net {
namespace {

class Recorder : public URLFetcher::URLFetcherDelegate {
 public:
  void FetchComplete(URLFetcher* source) override {
    ++completions;
    succeeded = source->succeeded();
  }
  void FetchProgress(URLFetcher* /*source*/, float fraction) override {
    progress.push_back(fraction);
  }

  int completions = 0;
  bool succeeded = false;
  std::vector<float> progress;
};

// Short time-outs for the tests that stall a transfer: a worker that the
// cancelling side could not cut off still ends within seconds.
const HttpTransfer::Timeouts kShortTimeouts = {3000, 3000, 3000, 1};

class URLFetcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.available())
        << "run under testing/with_http_server.sh";
    HttpTransfer::SetTimeoutsForTesting(&kShortTimeouts);
  }
  void TearDown() override { HttpTransfer::SetTimeoutsForTesting(nullptr); }

  // Starts `fetcher` and runs the UI loop until its next completion.
  bool RunFetch(URLFetcher* fetcher, Recorder* recorder) {
    const int before = recorder->completions;
    fetcher->Start();
    return loops_.RunUntil(
        [&] { return recorder->completions > before; });
  }

  // Waits until only the test holds `fetcher`: its worker and its
  // completion are done with it. Then lets every dispatch they posted run.
  void WaitUntilIdle(URLFetcher* fetcher) {
    ASSERT_EQ(WaitForSingleObject(fetcher->done_event_for_testing(), 60000),
              WAIT_OBJECT_0);
    ASSERT_TRUE(loops_.RunUntil([&] { return fetcher->HasOneRef(); }));
    loops_.Flush();
  }

  TestLoops loops_;
  TestServer server_;
};

// The installer's time-outs reach WinINet, and tests can shorten them. Only
// the connect time-out is checked: wine's WinINet accepts the send and
// receive time-outs and the retry count on this handle but does not keep
// them (querying them fails there).
TEST(HttpTransferTimeoutsTest, SeamSetsTheValuesOnTheInternetHandle) {
  const HttpTransfer::Timeouts custom = {1111, 2222, 3333, 4};
  const struct {
    const HttpTransfer::Timeouts* seam;
    DWORD connect_ms;
  } cases[] = {
      {nullptr, 20000},
      {&custom, 3333},
  };
  for (const auto& c : cases) {
    HttpTransfer::SetTimeoutsForTesting(c.seam);
    HINTERNET root = InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG,
                                   nullptr, nullptr, 0);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(HttpTransfer::ApplyTimeouts(root));
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_TRUE(InternetQueryOptionA(root, INTERNET_OPTION_CONNECT_TIMEOUT,
                                     &value, &size));
    EXPECT_EQ(value, c.connect_ms);
    InternetCloseHandle(root);
  }
  HttpTransfer::SetTimeoutsForTesting(nullptr);
}

TEST_F(URLFetcherTest, StringGetKeepsTheTextBeforeAZeroByte) {
  const struct {
    const char* path;
    bool succeeded;
    const char* body;
  } cases[] = {
      {"/text?body=hello", true, "hello"},
      {"/text?body=abc%00def", true, "abc"},
      {"/text?body=abc&status=404", false, ""},
  };
  for (const auto& c : cases) {
    Recorder recorder;
    base::scoped_refptr<URLFetcher> fetcher(
        new URLFetcher(FetchRequest(server_.Url(c.path)), &recorder));
    ASSERT_TRUE(RunFetch(fetcher.get(), &recorder)) << c.path;
    EXPECT_EQ(recorder.succeeded, c.succeeded) << c.path;
    EXPECT_EQ(fetcher->response_body(), c.body) << c.path;
    EXPECT_EQ(fetcher->error_code(), DWORD{kErrorNone}) << c.path;
  }
}

// A file GET succeeds only with the whole announced length on disk; a
// stream that ends early is a failure, not a short "complete" file.
TEST_F(URLFetcherTest, FileGetNeedsTheWholeAnnouncedLength) {
  const std::string bytes = MakeBytes(1300000, 1);
  ASSERT_TRUE(server_.PutFile("file_get.bin", bytes));
  const struct {
    const char* query;
    bool succeeded;
    DWORD error;
    DWORD position;
  } cases[] = {
      {"", true, kErrorNone, 1300000},
      {"drop=500000", false, kErrorNone, 500000},
      {"length=missing", false, kErrorLengthMissing, 0},
      {"status=404", false, kErrorNone, 0},
  };
  for (const auto& c : cases) {
    const std::wstring target = TempPath(L"file_get.bin");
    Recorder recorder;
    base::scoped_refptr<URLFetcher> fetcher(new URLFetcher(
        FetchRequest(server_.FileUrl("file_get.bin", c.query), target),
        &recorder));
    ASSERT_TRUE(RunFetch(fetcher.get(), &recorder)) << c.query;
    EXPECT_EQ(recorder.succeeded, c.succeeded) << c.query;
    EXPECT_EQ(fetcher->error_code(), c.error) << c.query;
    EXPECT_EQ(fetcher->position(), c.position) << c.query;
    if (c.succeeded) {
      EXPECT_EQ(Sha256Hex(ReadFileBytes(target)), Sha256Hex(bytes));
      // Throttled reports (one per 512000 bytes), then 1.0 at the end.
      ASSERT_EQ(recorder.progress.size(), 3u);
      EXPECT_GT(recorder.progress[0], 512000 / 1300000.0);
      EXPECT_LE(recorder.progress[0], (512000 + 8192) / 1300000.0);
      EXPECT_FLOAT_EQ(recorder.progress.back(), 1.0f);
      EXPECT_FLOAT_EQ(fetcher->progress(), 1.0f);
    }
    DeleteFileW(target.c_str());
  }
}

class RangeGetTest : public URLFetcherTest {
 protected:
  void SetUp() override {
    URLFetcherTest::SetUp();
    bytes_ = MakeBytes(10003, 2);
    ASSERT_TRUE(server_.PutFile("range.bin", bytes_));
    target_ = TempPath(L"range.bin");
    ASSERT_TRUE(ReserveFile(target_, 10003));
  }
  void TearDown() override { DeleteFileW(target_.c_str()); }

  base::scoped_refptr<URLFetcher> MakeFetcher(const std::string& query,
                                              DWORD begin, DWORD end) {
    return new URLFetcher(
        FetchRequest(server_.FileUrl("range.bin", query), target_, begin, end),
        &recorder_);
  }

  std::string bytes_;
  std::wstring target_;
  Recorder recorder_;
};

TEST_F(RangeGetTest, WritesItsRegionOnly) {
  auto fetcher = MakeFetcher("tag=region", 2500, 5000);
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder_));
  EXPECT_TRUE(recorder_.succeeded);
  EXPECT_EQ(fetcher->position(), 5000u);
  const std::string written = ReadFileBytes(target_);
  ASSERT_EQ(written.size(), 10003u);
  EXPECT_EQ(written.substr(2500, 2500), bytes_.substr(2500, 2500));
  EXPECT_EQ(written.substr(0, 2500), std::string(2500, '\0'));
  EXPECT_EQ(written.substr(5000), std::string(5003, '\0'));
  EXPECT_EQ(server_.CountRequests("tag=region range=bytes=2500-4999 status=206"),
            1);
}

TEST_F(RangeGetTest, EmptyRangeSucceedsWithoutARequest) {
  auto fetcher = MakeFetcher("tag=empty", 7000, 7000);
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder_));
  EXPECT_TRUE(recorder_.succeeded);
  EXPECT_EQ(fetcher->position(), 7000u);
  EXPECT_EQ(server_.CountRequests("tag=empty"), 0);
}

// A server that answers a range with 200 has refused ranges for good on
// this fetcher: later range requests fail at once, without traffic.
TEST_F(RangeGetTest, RefusedRangeFailsEveryLaterRangeAtOnce) {
  auto fetcher = MakeFetcher("ranges=ignore&tag=refused", 0, 5000);
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder_));
  EXPECT_FALSE(recorder_.succeeded);
  EXPECT_EQ(fetcher->error_code(), DWORD{kErrorRangeRefused});
  EXPECT_FALSE(fetcher->ranges_allowed());
  EXPECT_EQ(server_.CountRequests("tag=refused"), 1);

  fetcher->set_range(5000, 10003);
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder_));
  EXPECT_FALSE(recorder_.succeeded);
  EXPECT_EQ(fetcher->error_code(), DWORD{kErrorRangeRefused});
  EXPECT_EQ(server_.CountRequests("tag=refused"), 1);
}

TEST_F(RangeGetTest, BrokenOrUnmeasuredAnswersFail) {
  const struct {
    const char* query;
    DWORD error;
    DWORD position;
  } cases[] = {
      // Connection closed after 1000 bytes: no error code, position kept.
      {"drop=1000", kErrorNone, 1000},
      {"length=missing", kErrorLengthMissing, 0},
      {"status=404", kErrorRangeRefused, 0},
  };
  for (const auto& c : cases) {
    auto fetcher = MakeFetcher(c.query, 0, 5000);
    ASSERT_TRUE(RunFetch(fetcher.get(), &recorder_)) << c.query;
    EXPECT_FALSE(recorder_.succeeded) << c.query;
    EXPECT_EQ(fetcher->error_code(), c.error) << c.query;
    EXPECT_EQ(fetcher->position(), c.position) << c.query;
  }
}

TEST_F(URLFetcherTest, RangeProbeReadsTheLengthOfA206) {
  ASSERT_TRUE(server_.PutFile("probe.bin", MakeBytes(777777, 3)));
  const struct {
    const char* query;
    bool succeeded;
    DWORD length;
  } cases[] = {
      {"", true, 777777},
      {"ranges=ignore", false, 0},
  };
  for (const auto& c : cases) {
    Recorder recorder;
    base::scoped_refptr<URLFetcher> fetcher(new URLFetcher(
        FetchRequest(server_.FileUrl("probe.bin", c.query), kRangeProbe),
        &recorder));
    ASSERT_TRUE(RunFetch(fetcher.get(), &recorder));
    EXPECT_EQ(recorder.succeeded, c.succeeded) << c.query;
    EXPECT_EQ(fetcher->content_length(), c.length) << c.query;
    EXPECT_EQ(fetcher->error_code(), DWORD{kErrorNone}) << c.query;
  }
  EXPECT_EQ(server_.CountRequests("/files/probe.bin range=bytes=0-0 status=206"),
            1);
}

TEST_F(URLFetcherTest, PingGetSucceedsWhenTheUrlOpensWhateverTheStatus) {
  Recorder recorder;
  base::scoped_refptr<URLFetcher> fetcher(new URLFetcher(
      FetchRequest(server_.Url("/missing?status=404"), kPingGet), &recorder));
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder));
  EXPECT_TRUE(recorder.succeeded);
  EXPECT_EQ(server_.CountRequests("/missing?status=404 range=- status=404"), 1);
}

TEST_F(URLFetcherTest, FormPostSendsTheBody) {
  Recorder recorder;
  base::scoped_refptr<URLFetcher> fetcher(
      new URLFetcher(FetchRequest(std::string(), kFormPost), &recorder));
  fetcher->set_post(L"127.0.0.1", L"/api/token/file/v1_0/log",
                    "uid=7&msg=slow download");
  fetcher->set_post_port(static_cast<INTERNET_PORT>(server_.port()));
  ASSERT_TRUE(RunFetch(fetcher.get(), &recorder));
  EXPECT_TRUE(recorder.succeeded);
  EXPECT_EQ(server_.CountRequests("POST /api/token/file/v1_0/log range=- "
                                  "status=200 body=uid%3D7%26msg%3Dslow%20download"),
            1);
}

// The owner gives the fetcher up while the worker is blocked in a read: the
// run ends without success and nothing is called back.
TEST_F(URLFetcherTest, DetachedFetcherNeverCallsBack) {
  ASSERT_TRUE(server_.PutFile("stall.bin", MakeBytes(200000, 4)));
  const std::wstring target = TempPath(L"stall.bin");
  Recorder recorder;
  base::scoped_refptr<URLFetcher> fetcher(new URLFetcher(
      FetchRequest(server_.FileUrl("stall.bin", "stall=60&stall_after=1000&tag=detach"),
                   target),
      &recorder));
  fetcher->Start();
  ASSERT_TRUE(loops_.RunUntil(
      [&] { return server_.CountRequests("tag=detach") == 1; }));

  fetcher->Detach();
  EXPECT_TRUE(fetcher->cancelled());
  EXPECT_EQ(fetcher->delegate(), nullptr);
  // WinINet ends the blocked read when its handle is closed; wine's does not
  // until data moves (nor at the receive time-out), so let the server go on.
  ASSERT_TRUE(server_.ReleaseStalls());
  WaitUntilIdle(fetcher.get());
  EXPECT_EQ(recorder.completions, 0);
  EXPECT_TRUE(recorder.progress.empty());
  EXPECT_FALSE(fetcher->succeeded());
  DeleteFileW(target.c_str());
}

// "io_thread" goes away while a transfer runs: the fetcher ends the run,
// waits for its worker and still reports the (failed) result on the UI
// thread, once.
TEST_F(URLFetcherTest, IoLoopDestroyedMidTransferStillReportsOnce) {
  ASSERT_TRUE(server_.PutFile("stall2.bin", MakeBytes(200000, 5)));
  const std::wstring target = TempPath(L"stall2.bin");
  Recorder recorder;
  base::scoped_refptr<URLFetcher> fetcher(new URLFetcher(
      FetchRequest(server_.FileUrl("stall2.bin", "stall=2&stall_after=1000&tag=ioquit"),
                   target),
      &recorder));
  fetcher->Start();
  ASSERT_TRUE(loops_.RunUntil(
      [&] { return server_.CountRequests("tag=ioquit") == 1; }));

  loops_.StopIoThread();
  ASSERT_TRUE(loops_.RunUntil([&] { return recorder.completions > 0; }));
  EXPECT_FALSE(recorder.succeeded);
  EXPECT_EQ(recorder.completions, 1);
  EXPECT_TRUE(fetcher->HasOneRef());
  DeleteFileW(target.c_str());
}

}  // namespace
}  // namespace net

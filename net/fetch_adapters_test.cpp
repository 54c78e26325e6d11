#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "net/break_point_fetch_apk.h"
#include "net/break_point_fetch_rc_pack.h"
#include "net/fetch_delegates.h"
#include "net/fetch_file.h"
#include "net/fetch_url.h"
#include "net/reserve_file.h"
#include "net/test_break_point.h"
#include "net/testing/test_loops.h"
#include "net/testing/test_server.h"
#include "net/upload_by_get.h"
#include "net/upload_by_post.h"
#include "net/upload_error_by_get.h"

namespace net {
namespace {

// Plays the controller: records what each interface receives.
class Controller : public FetchURLDelegate,
                   public FetchFileDelegate,
                   public UpLoadByGetDelegate,
                   public UpLoadErrorByGetDelegate,
                   public BreakFetchApkDelegate,
                   public TestBreakPointDelegate,
                   public PostDataServerDelegate,
                   public BreakFetchRcPackDelegate {
 public:
  void OnFetchUrlComplete(std::string response) override {
    texts.push_back(response);
    ++calls;
  }
  void OnFetchFileComplete(bool ok, FetchResultInfo* info) override {
    Record(ok, info);
  }
  void OnFetchFileProgress(float fraction) override {
    progress.push_back(fraction);
  }
  void OnUpLoadByGetComplete(bool ok) override { Record(ok, nullptr); }
  void OnUpLoadErrorByGetComplete(bool ok) override { Record(ok, nullptr); }
  void OnApkFetchComplete(bool ok, FetchResultInfo* info,
                          CBreakPointFetchApk* /*fetch*/) override {
    Record(ok, info);
  }
  void OnApkFetchProgress(float fraction) override {
    progress.push_back(fraction);
  }
  void OnTestBreakPointComplete(bool ok, FetchResultInfo* info) override {
    Record(ok, info);
  }
  void OnPostDataServerComplete(bool ok) override { Record(ok, nullptr); }
  void OnRcPackFetchComplete(bool ok, FetchResultInfo* info,
                             CBreakPointFetchRcPack* /*fetch*/) override {
    Record(ok, info);
  }

  void Record(bool ok, FetchResultInfo* info) {
    last_ok = ok;
    if (info) last_info = *info;
    ++calls;
  }

  int calls = 0;
  bool last_ok = false;
  FetchResultInfo last_info;
  std::vector<std::string> texts;
  std::vector<float> progress;
};

class FetchAdaptersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.available())
        << "run under testing/with_http_server.sh";
  }

  bool Run(URLFetcher* fetcher) {
    const int before = controller_.calls;
    fetcher->Start();
    return loops_.RunUntil([&] { return controller_.calls > before; });
  }

  TestLoops loops_;
  TestServer server_;
  Controller controller_;
};

// A failed query and an empty answer look the same: an empty string.
TEST_F(FetchAdaptersTest, QueryDeliversTheTextOrAnEmptyString) {
  CFetchUrl query(server_.Url("/text?body=%7B%22ok%22%3A1%7D"), &controller_);
  ASSERT_TRUE(Run(query.fetcher.get()));
  query.ReplaceFetcher(FetchRequest(server_.Url("/text?body=x&status=500")));
  ASSERT_TRUE(Run(query.fetcher.get()));
  EXPECT_EQ(controller_.texts, (std::vector<std::string>{"{\"ok\":1}", ""}));
}

TEST_F(FetchAdaptersTest, SingleStreamReportsProgressAndErrorCode) {
  ASSERT_TRUE(server_.PutFile("single.bin", MakeBytes(600000, 6)));
  const std::wstring target = TempPath(L"single.bin");
  CFetchFile download(server_.FileUrl("single.bin"), target, &controller_);
  ASSERT_TRUE(Run(download.fetcher.get()));
  EXPECT_TRUE(controller_.last_ok);
  EXPECT_EQ(controller_.last_info.error_code, 0u);
  ASSERT_FALSE(controller_.progress.empty());
  EXPECT_FLOAT_EQ(controller_.progress.back(), 1.0f);

  download.ReplaceFetcher(
      FetchRequest(server_.FileUrl("single.bin", "length=missing"), target));
  ASSERT_TRUE(Run(download.fetcher.get()));
  EXPECT_FALSE(controller_.last_ok);
  EXPECT_EQ(controller_.last_info.error_code, DWORD{kErrorLengthMissing});
  DeleteFileW(target.c_str());
}

TEST_F(FetchAdaptersTest, ProbeCarriesTheContentLength) {
  ASSERT_TRUE(server_.PutFile("probe2.bin", MakeBytes(4321, 7)));
  CTestBreakPoint probe(server_.FileUrl("probe2.bin"), &controller_);
  ASSERT_TRUE(Run(probe.fetcher.get()));
  EXPECT_TRUE(controller_.last_ok);
  EXPECT_EQ(controller_.last_info.length_or_position, 4321u);
}

TEST_F(FetchAdaptersTest, ReportsPassOnlyWhetherTheyWentThrough) {
  CUpLoadByGet report(server_.Url("/api/loaded?x=1&status=404"), &controller_);
  ASSERT_TRUE(Run(report.fetcher.get()));
  EXPECT_TRUE(controller_.last_ok);

  CUpLoadErrorByGet error_report(server_.Url("/api/diagnose?e=2"), &controller_);
  ASSERT_TRUE(Run(error_report.fetcher.get()));
  EXPECT_TRUE(controller_.last_ok);

  CUpLoadByPost post(std::string(), &controller_);
  post.fetcher->set_post(L"127.0.0.1", L"/log", "a=b");
  post.fetcher->set_post_port(static_cast<INTERNET_PORT>(server_.port()));
  ASSERT_TRUE(Run(post.fetcher.get()));
  EXPECT_TRUE(controller_.last_ok);
  EXPECT_EQ(server_.CountRequests("POST /log range=- status=200 body=a%3Db"), 1);
}

// A broken range resumes at its first byte not yet written, with its
// progress base kept, and the file ends up whole.
TEST_F(FetchAdaptersTest, BrokenRangeResumesWhereItStopped) {
  const std::string bytes = MakeBytes(900001, 8);
  ASSERT_TRUE(server_.PutFile("rc.bin", bytes));
  const std::wstring target = TempPath(L"rc.bin");
  ASSERT_TRUE(ReserveFile(target, 900001));
  const std::string url = server_.FileUrl("rc.bin", "drop=400000&drops=1");

  CBreakPointFetchRcPack rc(std::string(), std::wstring(), 0, 0, &controller_);
  rc.StartRange(url, target, 0, 900001, 0);
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_.calls == 1; }));
  EXPECT_FALSE(controller_.last_ok);
  const FetchResultInfo first = controller_.last_info;
  EXPECT_EQ(first.error_code, 0u);
  EXPECT_EQ(first.length_or_position, 400000u);
  EXPECT_EQ(first.range_end, 900001u);
  EXPECT_EQ(first.progress_base, 0u);

  URLFetcher* old_fetcher = rc.fetcher.get();
  old_fetcher->AddRef();
  rc.Resume(url, target, first.length_or_position, first.range_end,
            first.progress_base);
  // The old fetcher is cut off from the adapter: it can never report again.
  EXPECT_EQ(old_fetcher->delegate(), nullptr);
  old_fetcher->Release();
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_.calls == 2; }));
  EXPECT_TRUE(controller_.last_ok);
  EXPECT_EQ(controller_.last_info.length_or_position, 900001u);
  EXPECT_EQ(controller_.last_info.progress_base, 0u);
  EXPECT_EQ(server_.CountRequests("rc.bin?drop=400000&drops=1 range=bytes=400000-900000 "),
            1);
  EXPECT_EQ(Sha256Hex(ReadFileBytes(target)), Sha256Hex(bytes));
  DeleteFileW(target.c_str());
}

// Progress of a resumed range continues from the share already written: the
// share is counted from the progress base over the whole file.
TEST_F(FetchAdaptersTest, ResumedPackageProgressContinuesFromItsShare) {
  const std::string bytes = MakeBytes(1000000, 9);
  ASSERT_TRUE(server_.PutFile("apk.bin", bytes));
  const std::wstring target = TempPath(L"apk.bin");
  ASSERT_TRUE(ReserveFile(target, 1000000));
  CBreakPointFetchApk apk(std::string(), std::wstring(), 0, 0, &controller_);
  apk.Resume(server_.FileUrl("apk.bin"), target, 500000, 1000000, 0);
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_.calls == 1; }));
  EXPECT_TRUE(controller_.last_ok);
  ASSERT_FALSE(controller_.progress.empty());
  EXPECT_GT(controller_.progress.front(), 0.5f + 276480 / 1000000.0f - 1e-6f);
  EXPECT_FLOAT_EQ(apk.progress, controller_.progress.back());
  DeleteFileW(target.c_str());
}

// Destroying the owner while its transfer runs: no callback ever reaches it.
TEST_F(FetchAdaptersTest, DestroyedOwnerGetsNoCallback) {
  ASSERT_TRUE(server_.PutFile("owner.bin", MakeBytes(300000, 10)));
  const std::wstring target = TempPath(L"owner.bin");
  auto* download = new CFetchFile(
      server_.FileUrl("owner.bin", "stall=60&stall_after=100000&tag=owner"),
      target, &controller_);
  base::scoped_refptr<URLFetcher> fetcher = download->fetcher;
  fetcher->Start();
  ASSERT_TRUE(loops_.RunUntil(
      [&] { return server_.CountRequests("tag=owner") == 1; }));
  delete download;

  ASSERT_TRUE(server_.ReleaseStalls());
  ASSERT_EQ(WaitForSingleObject(fetcher->done_event_for_testing(), 60000),
            WAIT_OBJECT_0);
  ASSERT_TRUE(loops_.RunUntil([&] { return fetcher->HasOneRef(); }));
  loops_.Flush();
  EXPECT_EQ(controller_.calls, 0);
  EXPECT_TRUE(controller_.progress.empty());
  EXPECT_FALSE(fetcher->succeeded());
  DeleteFileW(target.c_str());
}

// A report replaced at once by the next one is not lost: the older is
// orphaned, not cancelled, so both reach the server, and only the newer one
// reports back.
TEST_F(FetchAdaptersTest, ReplacedReportStillReachesTheServer) {
  ASSERT_TRUE(server_.PutFile("first.txt", "ok"));
  ASSERT_TRUE(server_.PutFile("fast.txt", "ok"));
  struct Reports : UpLoadByGetDelegate {
    void OnUpLoadByGetComplete(bool ok) override {
      ++calls;
      last_ok = ok;
    }
    int calls = 0;
    bool last_ok = false;
  } reports;
  CUpLoadByGet upload(server_.FileUrl("first.txt", "n=1"), &reports);
  upload.fetcher->Start();
  upload.ReplaceFetcher(FetchRequest(server_.FileUrl("fast.txt", "n=2"), kPingGet));
  upload.fetcher->Start();
  ASSERT_TRUE(loops_.RunUntil([&] { return reports.calls == 1; }));
  EXPECT_TRUE(reports.last_ok);
  ASSERT_TRUE(loops_.RunUntil([&] { return server_.CountRequests("first.txt?n=1 ") == 1; }));
  loops_.Flush();
  EXPECT_EQ(reports.calls, 1);
}

}  // namespace
}  // namespace net

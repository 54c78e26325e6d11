// qiv_demo: the installer's road without its window, against a product
// server, for the README's demonstration:
//
//   qiv_demo.exe -unExternalQiv: DOWNLOAD_FOLDER INSTALL_FOLDER
//
// start-up settings -> worker threads and UI loop -> signed package query ->
// download-start report -> install pack in four ranged parts -> download-time
// report -> 7z extraction on "file_thread" -> installed report. Every step
// prints one line; the exit code is 0 only when the pack was installed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/default_folders.h"
#include "app/global.h"
#include "app/startup.h"
#include "app/worker_threads.h"
#include "base/bind.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "installer/extract_7z.h"
#include "installer/util/file_util.h"
#include "installer/util/file_version.h"
#include "installer/util/string_conv.h"
#include "net/multi_part_download.h"
#include "server/package_query.h"
#include "server/report_sender.h"
#include "server/server_urls.h"

namespace {

void Say(const char* format, const std::string& text) {
  std::printf(format, text.c_str());
  std::printf("\n");
  std::fflush(stdout);
}

// The last path segment of a URL: the name the pack is saved under.
std::string FileNameOfUrl(const std::string& url) {
  const size_t slash = url.find_last_of('/');
  std::string name = slash == std::string::npos ? url : url.substr(slash + 1);
  const size_t query = name.find('?');
  return query == std::string::npos ? name : name.substr(0, query);
}

// Drives one installation. UI thread only, except ExtractOnFileThread.
class DemoRun : public CPackageQuery::Delegate, public net::MultiPartDownload::Delegate {
 public:
  DemoRun(std::wstring download_folder, std::wstring install_folder)
      : download_folder_(std::move(download_folder)),
        install_folder_(std::move(install_folder)),
        version_(WideToAnsi(GetOwnFileVersion())),
        query_(this, &CGlobal::server_urls(), version_, &package_),
        reports_(&CGlobal::server_urls(), version_),
        download_(this) {}

  void Start() {
    Say("query: %s", CGlobal::server_urls().GetInforUrl());
    query_.StartQueryJson();
  }

  int result() const { return result_; }

 private:
  // CPackageQuery::Delegate
  void OnPackageAnswerAccepted(const PackageStrings& strings) override {
    Say("package: downloadUrl=%s", strings.downloadUrl);
    Say("package: fileSize=%s", strings.fileSize);
    Say("package: dirName=%s", strings.dirName);
    reports_.SendDownloadStartReport(strings);
    pack_path_ = download_folder_ + L"\\" + AnsiToWide(FileNameOfUrl(strings.downloadUrl));
    CreateDirectoryW(download_folder_.c_str(), nullptr);
    download_.Begin(strings.downloadUrl, pack_path_,
                    static_cast<DWORD>(std::stoul(strings.fileSize)));
  }
  void OnPackageAnswerFatal(int message_index) override {
    Say("package: refused, message %s", std::to_string(message_index));
    Finish(2);
  }
  void OnGameCenterParamsReady(const server::GameCenterParams&) override {}

  // net::MultiPartDownload::Delegate
  void OnMultiPartProgress(float fraction, double, DWORD) override {
    const int tenth = static_cast<int>(fraction * 10);
    if (tenth > shown_tenths_) {
      shown_tenths_ = tenth;
      Say("download: %s%%", std::to_string(tenth * 10));
    }
  }
  void OnMultiPartComplete() override {
    Say("download: complete, %s part failures retried", std::to_string(download_.total_failures()));
    DWORD start = download_.downloadStartTime();
    reports_.SendDownloadTimeReport(&start, download_.total_size());
    extract_start_ = timeGetTime();
    g_file_loop->PostTask(
        fastdelegate::Bind(&DemoRun::ExtractOnFileThread, this, pack_path_, install_folder_));
  }
  void OnMultiPartReserveFailed() override {
    Say("download: %s", "the pack file could not be reserved");
    Finish(3);
  }
  void OnMultiPartFirstFailure(DWORD, float progress, bool slow) override {
    Say("download: first part failure at %s%%, retrying",
        std::to_string(static_cast<int>(progress * 100)) + (slow ? " (slow)" : ""));
  }

  // "file_thread": extraction blocks, so it never runs on the UI thread.
  static void ExtractOnFileThread(DemoRun* run, std::wstring pack, std::wstring folder) {
    int code = -1;
    CreateDirectoryIfMissing(folder.c_str());
    Extract7zInFolder(pack, folder, &code);
    g_ui_loop->PostTask(fastdelegate::Bind(&DemoRun::OnExtracted, run, code));
  }

  static void OnExtracted(DemoRun* run, int code) {
    Say("extract: result %s", std::to_string(code));
    if (code != 0) {
      run->Finish(4);
      return;
    }
    run->reports_.SendInstalledReport(&run->extract_start_);
    Say("install: %s", WideToAnsi(run->install_folder_));
    run->Finish(0);
  }

  // The reports are fire-and-forget; give the last one a moment to leave.
  void Finish(int result) {
    result_ = result;
    g_ui_loop->PostDelayedTask(fastdelegate::BindUnretained(g_ui_loop, &base::MessageLoop::Quit),
                               1000000);
  }

  std::wstring download_folder_;
  std::wstring install_folder_;
  std::string version_;
  PackageStrings package_;
  std::wstring pack_path_;
  CPackageQuery query_;
  CReportSender reports_;
  net::MultiPartDownload download_;
  DWORD extract_start_ = 0;
  int shown_tenths_ = 0;
  int result_ = 1;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: qiv_demo.exe -unExternalQiv: DOWNLOAD_FOLDER INSTALL_FOLDER\n");
    return 64;
  }
  base::ExitCallbacks exit_callbacks;
  app::InitCommandLineAndLanguage();
  CGlobal::InitServerUrls();

  app::StartWorkerThreads();

  int result;
  {
    base::MessageLoop ui_loop(base::MessageLoop::TYPE_UI);
    ui_loop.set_thread_name("ui_thread");
    g_ui_loop = &ui_loop;
    {
      DemoRun run(argv[argc - 2], argv[argc - 1]);
      ui_loop.PostTask(fastdelegate::BindUnretained(&run, &DemoRun::Start));
      ui_loop.Run();
      result = run.result();
    }
    app::StopWorkerThreads();
    g_ui_loop = nullptr;
  }
  Say("result: %s", std::to_string(result));
  return result;
}

#include "server/report_sender.h"

#include <mmsystem.h>

#include "installer/util/string_conv.h"
#include "server/endpoint_settings.h"
#include "server/report_urls.h"
#include "server/server_urls.h"
#include "simlog/log.h"

CReportSender::CReportSender(const CServerUrls* urls,
                             const std::string& version)
    : urls_(urls),
      version_(version),
      upload_by_get_(std::string(), this),
      upload_error_by_get_(std::string(), this),
      upload_by_post_(std::string(), this) {}

CReportSender::~CReportSender() = default;

void CReportSender::SetTickSourceForTesting(TickSource source) {
  tick_source_ = source;
}

DWORD CReportSender::Now() const {
  return tick_source_ ? tick_source_() : timeGetTime();
}

void CReportSender::SendStatReport(const std::string& url) {
  upload_by_get_.ReplaceFetcher(net::FetchRequest(url, net::kPingGet));
  upload_by_get_.fetcher->Start();
}

void CReportSender::SendDownloadStartReport(const PackageStrings& package) {
  SendStatReport(server::BuildDownloadStartUrl(
      urls_->endpoints().loadstart_url, urls_->GetSignedParams(),
      package.downloadUrl, package.rcDownloadUrl, package.rcFileSize,
      version_));
}

void CReportSender::SendDownloadTimeReport(DWORD* download_start_time,
                                           DWORD total_bytes) {
  const server::DownloadTiming timing =
      server::ComputeDownloadTiming(Now(), *download_start_time, total_bytes);
  QIV_DLOG("download times:%u", timing.elapsed_ms / 1000);
  // The member ends up holding the duration in seconds, the speed's divisor.
  *download_start_time = timing.divisor_seconds;
  SendStatReport(server::BuildDownloadTimeUrl(urls_->endpoints().loaded_url,
                                              urls_->GetSignedParams(), timing,
                                              version_));
}

void CReportSender::SendInstalledReport(DWORD* extract_start_time) {
  *extract_start_time = (Now() - *extract_start_time) / 1000;
  SendStatReport(server::BuildInstalledUrl(urls_->endpoints().installed_url,
                                           urls_->GetSignedParams(),
                                           *extract_start_time, version_));
}

void CReportSender::SendCancelReport(DWORD download_start_time,
                                     float overall_progress,
                                     const std::string& file_size) {
  const DWORD elapsed_ms = Now() - download_start_time;
  QIV_LOG(true, "download cancel time_downloaded::%u",
          static_cast<unsigned>(elapsed_ms));
  SendStatReport(server::BuildCancelUrl(
      urls_->endpoints().loadcancel_url, urls_->GetSignedParams(), elapsed_ms,
      server::FormatDownloadedBytes(overall_progress, file_size), file_size,
      version_));
}

void CReportSender::SendErrorReport(const std::string& error_kind) {
  const std::string url =
      server::BuildErrorUrl(urls_->endpoints().diagnose_url,
                            urls_->GetSignedParams(), error_kind, version_);
  QIV_DLOG("UpLoadError :Url%s", url.c_str());
  upload_error_by_get_.ReplaceFetcher(net::FetchRequest(url, net::kPingGet));
  upload_error_by_get_.fetcher->Start();
}

void CReportSender::SendSlowDownloadLog(const std::string& percent) {
  // The production API host may name a port (tests point it at a loopback
  // server); without one the POST goes to port 80.
  std::string host = urls_->endpoints().log_post_host;
  unsigned short port = 80;
  if (!server::SplitHostPort(host, 80, &host, &port)) {
    QIV_LOG(true, "bad log host %s", urls_->endpoints().log_post_host.c_str());
    return;
  }
  net::URLFetcher* fetcher = upload_by_post_.fetcher.get();
  fetcher->set_post(AnsiToWide(host), AnsiToWide(server::kLogPostObject),
                    server::BuildSlowDownloadBody(urls_->GetSignedParams(),
                                                  percent));
  fetcher->set_post_port(port);
  fetcher->Start();
}

void CReportSender::DetachAll() {
  upload_by_get_.DetachFetcher();
  upload_error_by_get_.DetachFetcher();
  upload_by_post_.DetachFetcher();
}

void CReportSender::OnUpLoadByGetComplete(bool ok) {
  if (ok)
    QIV_DLOG("UpLoadByGet Successful");
}

void CReportSender::OnUpLoadErrorByGetComplete(bool /*ok*/) {}

void CReportSender::OnPostDataServerComplete(bool /*ok*/) {}

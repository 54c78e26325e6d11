#pragma once

// CReportSender: the statistics and error reports and the slow-download log.
// Every report is fire-and-forget: it starts with a fresh signed parameter
// string, is never retried, and its result changes nothing (a successful
// statistics report is logged in debug mode). A new report of one kind
// detaches the previous one of that kind, whose request may still reach the
// server but whose completion is dropped.
//
// The installer controller owns one; the timings it reports are its own
// members, passed by pointer where the report stores a figure back.
//
// Threads: UI thread only (g_ui_loop and g_io_loop must exist).

#include <windows.h>

#include <string>

#include "net/fetch_delegates.h"
#include "net/upload_by_get.h"
#include "net/upload_by_post.h"
#include "net/upload_error_by_get.h"
#include "server/package_strings.h"

class CServerUrls;

class CReportSender : public net::UpLoadByGetDelegate,
                      public net::UpLoadErrorByGetDelegate,
                      public net::PostDataServerDelegate {
 public:
  // The millisecond tick counter (timeGetTime).
  typedef DWORD (*TickSource)();

  // |urls| is not owned and must outlive the sender; |version| is the
  // installer's own file version ("%d.%d.%d.%d").
  CReportSender(const CServerUrls* urls, const std::string& version);
  CReportSender(const CReportSender&) = delete;
  CReportSender& operator=(const CReportSender&) = delete;
  ~CReportSender() override;

  // Tests: replaces timeGetTime (null restores it).
  void SetTickSourceForTesting(TickSource source);

  // A statistics report: a new ping GET of |url| on the statistics adapter.
  void SendStatReport(const std::string& url);

  // "downurl=" names the pack and, when known, the resource pack.
  void SendDownloadStartReport(const PackageStrings& package);
  // Download time and speed. |download_start_time| holds the tick count of
  // the download start; afterwards it holds the duration in whole seconds
  // (at least 1), the divisor of the speed. |total_bytes| is the byte
  // counter of the ranged downloads (0 after a single stream).
  void SendDownloadTimeReport(DWORD* download_start_time, DWORD total_bytes);
  // Seconds since extraction started; |extract_start_time| (a tick count)
  // is replaced by them.
  void SendInstalledReport(DWORD* extract_start_time);
  // The user cancelled during the download. |overall_progress| is the sum
  // of the four parts' progress (0 after a single stream); |file_size| the
  // pack size text.
  void SendCancelReport(DWORD download_start_time, float overall_progress,
                        const std::string& file_size);
  // A failed system check or another fatal condition; |error_kind| is the
  // short kind text ("CPU", "32True Color", ...).
  void SendErrorReport(const std::string& error_kind);
  // "25minutes downed<percent>percent." posted to the production API host,
  // whatever the test-server switch says. |percent| as made by
  // server::FormatSlowDownloadPercent.
  void SendSlowDownloadLog(const std::string& percent);

  // The user quit: every report's fetcher is detached.
  void DetachAll();

  // The delegates of the three adapters.
  void OnUpLoadByGetComplete(bool ok) override;
  void OnUpLoadErrorByGetComplete(bool ok) override;
  void OnPostDataServerComplete(bool ok) override;

 private:
  DWORD Now() const;

  const CServerUrls* urls_;
  std::string version_;
  TickSource tick_source_ = nullptr;
  net::CUpLoadByGet upload_by_get_;
  net::CUpLoadErrorByGet upload_error_by_get_;
  net::CUpLoadByPost upload_by_post_;
};

#pragma once

// CPackageQuery: asks the product server which package to fetch ("infor?")
// and, for an installer whose file name carries a game id, asks the game
// center for the emulator's launch parameters.
//
// The installer controller owns one and implements its Delegate. A failed
// transfer or an empty body is retried after 1 s without limit, each time
// with a fresh timestamp and signature; an answer that the server did send
// but that fails a rule is final (the controller shows the message and
// closes). An accepted answer fills the package strings; the controller then
// starts the range probe of the download server.
//
// Threads: UI thread only (construct, call and destroy there; g_ui_loop and
// g_io_loop must exist). The delayed retry holds only a weak pointer, so
// destroying the query cancels it.

#include <string>

#include "base/weak_ptr.h"
#include "net/fetch_delegates.h"
#include "net/fetch_url.h"
#include "server/package_answer.h"
#include "server/package_strings.h"

class CServerUrls;

class CPackageQuery : public net::FetchURLDelegate {
 public:
  class Delegate {
   public:
    // The answer passed every rule; |strings| (the package strings the
    // query was given) now hold it.
    virtual void OnPackageAnswerAccepted(const PackageStrings& strings) = 0;
    // The server answered but the answer failed a rule: show the message
    // of |message_index| (server::kMsgServerError or kMsgLatestInstaller)
    // and end the installer. No retry follows.
    virtual void OnPackageAnswerFatal(int message_index) = 0;
    // The game-center answer was read; apply it to the launch parameters
    // (GameCenterParams::ApplyTo). Not called when that answer is empty or
    // unreadable: installation goes on without launch parameters.
    virtual void OnGameCenterParamsReady(
        const server::GameCenterParams& params) = 0;

   protected:
    virtual ~Delegate() = default;
  };

  // Delay before a failed package query is sent again, in microseconds.
  static constexpr int64_t kRetryDelayUs = 1000000;

  // None of the pointers is owned; all must outlive the query. |urls| gives
  // the endpoints and signatures and keeps the last query URL; |version|
  // is the installer's own file version ("%d.%d.%d.%d"); the accepted
  // answer is stored into |strings| (normally g_package).
  CPackageQuery(Delegate* delegate, CServerUrls* urls,
                const std::string& version, PackageStrings* strings);
  CPackageQuery(const CPackageQuery&) = delete;
  CPackageQuery& operator=(const CPackageQuery&) = delete;
  ~CPackageQuery() override;

  // After an accepted answer, ask the game center for |game_id|, unless
  // the id is empty or |file_url| (the "-fileurl:" switch) is set. Call
  // before the answer arrives.
  void SetGameCenterQuery(const std::string& game_id, bool file_url);

  // The first package query, on the adapter's existing fetcher.
  void StartQueryJson();
  // A retry: nothing once Close() was called; otherwise a new fetcher with
  // a freshly signed URL.
  void RetryQueryJson();
  // The user quit: no more callbacks, no more retries.
  void Close();

  // 0 while the package query runs, 1 once the game-center query was sent.
  int query_mode() const { return query_mode_; }

  // net::FetchURLDelegate.
  void OnFetchUrlComplete(std::string response) override;

 private:
  // "infor?" + fresh signed parameters + "&version=" + version; stored as
  // the query URL.
  std::string BuildQueryUrl();
  void OnPackageAnswer(const std::string& response);
  void OnGameCenterAnswer(const std::string& response);
  void StartGameCenterQuery();

  Delegate* delegate_;
  CServerUrls* urls_;
  std::string version_;
  PackageStrings* strings_;
  std::string game_id_;
  bool file_url_ = false;
  bool closing_ = false;
  int query_mode_ = 0;
  net::CFetchUrl fetch_url_;
  base::WeakPtrFactory<CPackageQuery> weak_factory_;
};

#include "server/package_query.h"

#include "base/bind.h"
#include "base/message_loop.h"
#include "installer/util/string_conv.h"
#include "server/server_urls.h"
#include "simlog/log.h"

CPackageQuery::CPackageQuery(Delegate* delegate, CServerUrls* urls,
                             const std::string& version,
                             PackageStrings* strings)
    : delegate_(delegate),
      urls_(urls),
      version_(version),
      strings_(strings),
      fetch_url_(std::string(), this),
      weak_factory_(this) {}

CPackageQuery::~CPackageQuery() = default;

void CPackageQuery::SetGameCenterQuery(const std::string& game_id,
                                       bool file_url) {
  game_id_ = game_id;
  file_url_ = file_url;
}

std::string CPackageQuery::BuildQueryUrl() {
  urls_->query_url = urls_->GetInforUrl() + "&version=" + version_;
  return urls_->query_url;
}

void CPackageQuery::StartQueryJson() {
  QIV_DLOG("start to query json");
  const std::string url = BuildQueryUrl();
  fetch_url_.fetcher->set_url(url);
  fetch_url_.fetcher->Start();
  QIV_DLOG("testURL:%s", url.c_str());
}

void CPackageQuery::RetryQueryJson() {
  if (closing_)
    return;
  fetch_url_.ReplaceFetcher(net::FetchRequest(BuildQueryUrl()));
  fetch_url_.fetcher->Start();
}

void CPackageQuery::Close() {
  closing_ = true;
  fetch_url_.DetachFetcher();
  weak_factory_.InvalidateWeakPtrs();
}

void CPackageQuery::OnFetchUrlComplete(std::string response) {
  if (query_mode_ == 0)
    OnPackageAnswer(response);
  else
    OnGameCenterAnswer(response);
}

void CPackageQuery::OnPackageAnswer(const std::string& response) {
  if (response.empty()) {
    // The transfer failed or the server sent nothing: ask again shortly.
    QIV_LOG(true, "Query Json Failed");
    fetch_url_.DetachFetcher();
    g_ui_loop->PostDelayedTask(
        fastdelegate::Bind(weak_factory_.GetWeakPtr(),
                           &CPackageQuery::RetryQueryJson),
        kRetryDelayUs);
    return;
  }
  QIV_DLOG("%s", response.c_str());

  server::JsonStrings members;
  server::PackageRule rule = server::PackageRule::kNotAnObject;
  if (server::ParseQueryJson(response, &members))
    rule = server::CheckPackageMembers(members);
  if (rule != server::PackageRule::kNone) {
    delegate_->OnPackageAnswerFatal(server::MessageForRule(rule));
    return;
  }
  server::StorePackageMembers(members, strings_);
  QIV_DLOG("server return download file size: %s", strings_->fileSize.c_str());
  delegate_->OnPackageAnswerAccepted(*strings_);

  // The delegate may have closed the query (the user quit meanwhile).
  if (!closing_ && !game_id_.empty() && !file_url_)
    StartGameCenterQuery();
}

void CPackageQuery::StartGameCenterQuery() {
  query_mode_ = 1;
  const std::string url = urls_->endpoints().game_center_url + game_id_;
  QIV_DLOG("电脑版， queryurl=%s", url.c_str());
  fetch_url_.ReplaceFetcher(net::FetchRequest(url));
  fetch_url_.fetcher->Start();
}

void CPackageQuery::OnGameCenterAnswer(const std::string& response) {
  QIV_DLOG("游戏中心返回%s", response.c_str());
  if (response.empty()) {
    QIV_LOG(true, "Game center query failed");
    return;
  }
  server::JsonStrings members;
  if (!server::ParseGameCenterJson(response, &members))
    return;
  delegate_->OnGameCenterParamsReady(server::GameCenterParams(members));
}

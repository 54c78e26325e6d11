// CGlobal's endpoint members: the process's one CServerUrls.

#include "app/global.h"
#include "server/server_urls.h"

CServerUrls& CGlobal::server_urls() {
  // Built on first use, so that its construction never depends on the
  // order of static initialisation across files.
  static CServerUrls urls;
  return urls;
}

void CGlobal::InitServerUrls() {
  server_urls().Init(external_servers(), language_index());
}

std::string CGlobal::GetSignedParams() {
  return server_urls().GetSignedParams();
}

std::string CGlobal::GetInforUrl() { return server_urls().GetInforUrl(); }

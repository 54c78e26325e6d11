#include "server/server_urls.h"

#include <ctime>

#include "installer/util/mac_address.h"
#include "installer/util/md5.h"
#include "installer/util/windows_version.h"
#include "server/request_signing.h"

namespace {

int64_t CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace

CServerUrls::CServerUrls() : settings_(server::DeployedEndpointSettings()) {}

void CServerUrls::SetEndpointSettings(
    const server::EndpointSettings& settings) {
  settings_ = settings;
}

void CServerUrls::SetMacReader(MacReader reader) { mac_reader_ = reader; }

void CServerUrls::SetClock(Clock clock) { clock_ = clock; }

void CServerUrls::Init(bool external_servers, int language_index) {
  const std::string mac = mac_reader_ ? mac_reader_() : GetMacAddress();
  endpoints_ = server::BuildServerEndpoints(settings_, external_servers,
                                            language_index, mac);
}

std::string CServerUrls::GetSignedParams() const {
  const std::string timestamp =
      server::FormatTimestamp(clock_ ? clock_() : CalendarSeconds());
  const std::string sign = Md5Hex(server::BuildSignatureInput(
      endpoints_.access_token, endpoints_.access_secret,
      endpoints_.mac_address, timestamp));
  return server::BuildSignedParams(endpoints_.access_token,
                                   endpoints_.mac_address,
                                   GetWindowsVersionName(), timestamp, sign);
}

std::string CServerUrls::GetInforUrl() const {
  return endpoints_.infor_url + GetSignedParams();
}

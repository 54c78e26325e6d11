#include "server/server_endpoints.h"

namespace server {

const char kFallbackMacAddress[] = "11:11:11:11:11:11";
const char kLogPostObject[] = "/api/token/file/v1_0/log";

std::string MacTextOrFallback(const std::string& mac) {
  return mac.empty() ? std::string(kFallbackMacAddress) : mac;
}

ServerEndpoints BuildServerEndpoints(const EndpointSettings& settings,
                                     bool external_servers,
                                     int language_index,
                                     const std::string& mac) {
  const std::string& api_host =
      external_servers ? settings.api_host : settings.test_api_host;
  const std::string& web_host =
      external_servers ? settings.web_host : settings.test_web_host;
  const Credential& credential =
      CredentialForLanguage(settings, language_index);

  ServerEndpoints endpoints;
  endpoints.api_base_url = "http://" + api_host + "/api/token/file/v1_0/";
  endpoints.diagnose_url = endpoints.api_base_url + "diagnose?";
  endpoints.infor_url = endpoints.api_base_url + "infor?";
  endpoints.installed_url = endpoints.api_base_url + "installed?";
  endpoints.loaded_url = endpoints.api_base_url + "loaded?";
  endpoints.loadstart_url = endpoints.api_base_url + "loadstart?";
  endpoints.loadcancel_url = endpoints.api_base_url + "loadcancel?";
  endpoints.game_center_url = "http://" + web_host + "/games/simulator/";
  endpoints.access_token = credential.token;
  endpoints.access_secret = credential.secret;
  endpoints.mac_address = MacTextOrFallback(mac);
  endpoints.log_post_host = settings.api_host;
  return endpoints;
}

}  // namespace server

#pragma once

// The endpoint table of the product server: every URL the installer sends
// to, the credential pair and the MAC text, fixed once at start-up from the
// external-servers flag, the language index and the deployment settings.

#include <string>

#include "server/endpoint_settings.h"

namespace server {

// MAC text used when no network adapter qualifies.
extern const char kFallbackMacAddress[];

struct ServerEndpoints {
  std::string api_base_url;     // "http://" + API host + "/api/token/file/v1_0/"
  std::string diagnose_url;     // + "diagnose?"
  std::string infor_url;        // + "infor?"
  std::string installed_url;    // + "installed?"
  std::string loaded_url;       // + "loaded?"
  std::string loadstart_url;    // + "loadstart?"
  std::string loadcancel_url;   // + "loadcancel?"
  std::string game_center_url;  // "http://" + web host + "/games/simulator/"
  std::string access_token;
  std::string access_secret;
  std::string mac_address;
  // Target of the slow-download POST: always the production API host,
  // whatever the external-servers flag says. May carry a port.
  std::string log_post_host;
};

// Path of the slow-download POST on |log_post_host|.
extern const char kLogPostObject[];

// The MAC text itself, or kFallbackMacAddress when it is empty.
std::string MacTextOrFallback(const std::string& mac);

// Builds the table. Pure; any thread.
ServerEndpoints BuildServerEndpoints(const EndpointSettings& settings,
                                     bool external_servers,
                                     int language_index,
                                     const std::string& mac);

}  // namespace server

#pragma once

// Deployment data of the product servers: host names and the credential
// pairs. The values compiled into the installer come from
// server/deployment.ini; tests replace them through CGlobal's seam so that
// they can point the installer at loopback servers on free ports.

#include <string>

namespace server {

// One client credential. The secret is never sent, only hashed.
struct Credential {
  std::string token;
  std::string secret;
};

struct EndpointSettings {
  // Production hosts. A host may carry a port ("name:port").
  std::string api_host;
  std::string web_host;
  // Hosts used when the external-servers flag is cleared ("-unExternalQiv:").
  std::string test_api_host;
  std::string test_web_host;
  // Pair of every language index without one of its own (0, 6, ...).
  Credential default_credential;
  // Pairs of language indices 1 to 5, in that order.
  Credential language_credentials[5];
};

// The settings compiled in from server/deployment.ini. Any thread.
const EndpointSettings& DeployedEndpointSettings();

// The pair that the language index selects. Any thread.
const Credential& CredentialForLanguage(const EndpointSettings& settings,
                                        int language_index);

// Splits "name:port" into its parts; a host without a port gets
// |default_port|. Returns false (and leaves the outputs alone) when the
// port is not a number from 1 to 65535.
bool SplitHostPort(const std::string& host, unsigned short default_port,
                   std::string* name, unsigned short* port);

}  // namespace server

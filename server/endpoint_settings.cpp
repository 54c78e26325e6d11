#include "server/endpoint_settings.h"

#include <cstdlib>

#include "qiv_deployment_data.h"

namespace server {

const EndpointSettings& DeployedEndpointSettings() {
  // Built on first use: a function-local static is initialised once, in a
  // thread-safe way, and is never needed during static initialisation.
  static const EndpointSettings settings = {
      kDeployApiHost,
      kDeployWebHost,
      kDeployTestApiHost,
      kDeployTestWebHost,
      {kDeployDefaultToken, kDeployDefaultSecret},
      {{kDeployToken1, kDeploySecret1},
       {kDeployToken2, kDeploySecret2},
       {kDeployToken3, kDeploySecret3},
       {kDeployToken4, kDeploySecret4},
       {kDeployToken5, kDeploySecret5}},
  };
  return settings;
}

const Credential& CredentialForLanguage(const EndpointSettings& settings,
                                        int language_index) {
  if (language_index >= 1 && language_index <= 5)
    return settings.language_credentials[language_index - 1];
  return settings.default_credential;
}

bool SplitHostPort(const std::string& host, unsigned short default_port,
                   std::string* name, unsigned short* port) {
  const std::string::size_type colon = host.rfind(':');
  if (colon == std::string::npos) {
    *name = host;
    *port = default_port;
    return true;
  }
  const std::string digits = host.substr(colon + 1);
  if (digits.empty() || digits.size() > 5 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const unsigned long value = std::strtoul(digits.c_str(), nullptr, 10);
  if (value == 0 || value > 65535)
    return false;
  *name = host.substr(0, colon);
  *port = static_cast<unsigned short>(value);
  return true;
}

}  // namespace server

// Where the app's API client sends its calls: the service root ("…/api")
// given on the command line or in QVA_SERVICE_ROOT.
#pragma once

#include <string>

namespace quovana {

// An http or https address with a host.
bool isValidServiceRoot(const std::string& root);
// Points the app's API client at `root`.
void setServiceRoot(const std::string& root);

}  // namespace quovana

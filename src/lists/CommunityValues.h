// The offered values of the network and group filters: "Any", then the
// communities as the shared query sorted them, trimmed, empty ones dropped.
#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"

namespace CommunityValues {

foundation::Value::Array offered(const std::string& defaultValue, const std::vector<std::string>& communities);

}  // namespace CommunityValues

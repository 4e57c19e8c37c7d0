#include "quovana/ServiceRoot.h"

#include "api/QVAApiManager.h"
#include "foundation/URL.h"

namespace quovana {

bool isValidServiceRoot(const std::string& root) {
    auto url = foundation::URL::URLWithString(root);
    if (!url) return false;
    auto scheme = url->scheme();
    return (scheme == "http" || scheme == "https") && url->host().has_value();
}

void setServiceRoot(const std::string& root) {
    QVAApiManager::setServiceRoot(root);
}

}  // namespace quovana

// Message lookup for the HTTP client library.
#include "http/QNNetworking.h"

#include "foundation/Bundle.h"

std::string QNLocalizedString(const char* message) {
    return foundation::Bundle::mainBundle().localizedString(message, kQNNetworkingStringTable);
}

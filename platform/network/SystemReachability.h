// Reachability flags as the operating system's interfaces give them now:
// reachable when an interface that is up and running can carry traffic of
// the target's family; a target on the subnet of such an interface is
// direct, and one of its own addresses (loopback included) is local. No
// routing table is consulted: an interface that is up is taken to lead on.
#pragma once

#include <sys/socket.h>

#include <optional>
#include <string>

#include "network/Reachability.h"

namespace network::SystemReachability {

// Nothing when the interfaces cannot be listed.
std::optional<ReachabilityFlags> flagsForAddress(const sockaddr& address);
// The flags of the first address the name resolves to that is reachable;
// none (0) for a name that does not resolve. Blocks while resolving.
std::optional<ReachabilityFlags> flagsForName(const std::string& name);

}  // namespace network::SystemReachability

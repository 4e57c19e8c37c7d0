// Interface listing with getifaddrs and name resolution with getaddrinfo.
#include "network/SystemReachability.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cstring>

namespace network::SystemReachability {

namespace {

struct Target {
    int family = AF_UNSPEC;
    unsigned char bytes[16] = {};
    size_t length = 0;
};

bool readAddress(const sockaddr* address, Target* out) {
    if (!address) return false;
    if (address->sa_family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(address);
        out->family = AF_INET;
        out->length = 4;
        std::memcpy(out->bytes, &in->sin_addr, 4);
        return true;
    }
    if (address->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(address);
        out->family = AF_INET6;
        out->length = 16;
        std::memcpy(out->bytes, &in6->sin6_addr, 16);
        return true;
    }
    return false;
}

bool isZero(const Target& t) {
    for (size_t i = 0; i < t.length; ++i)
        if (t.bytes[i]) return false;
    return true;
}

bool isLoopback(const Target& t) {
    if (t.family == AF_INET) return t.bytes[0] == 127;
    static const unsigned char loopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    return std::memcmp(t.bytes, loopback6, 16) == 0;
}

bool isLinkLocal(const Target& t) {
    return t.family == AF_INET6 && t.bytes[0] == 0xfe && (t.bytes[1] & 0xc0) == 0x80;
}

bool sameSubnet(const Target& a, const Target& b, const Target& mask) {
    for (size_t i = 0; i < a.length; ++i)
        if ((a.bytes[i] & mask.bytes[i]) != (b.bytes[i] & mask.bytes[i])) return false;
    return true;
}

}  // namespace

std::optional<ReachabilityFlags> flagsForAddress(const sockaddr& address) {
    Target target;
    if (!readAddress(&address, &target)) return std::nullopt;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;

    bool local = false, direct = false, usable = false;
    const bool any = isZero(target);
    const bool loopbackTarget = isLoopback(target);
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!(i->ifa_flags & IFF_UP) || !(i->ifa_flags & IFF_RUNNING)) continue;
        Target mine, mask;
        if (!readAddress(i->ifa_addr, &mine) || mine.family != target.family) continue;
        bool loopbackInterface = (i->ifa_flags & IFF_LOOPBACK) != 0;
        if (!any && std::memcmp(mine.bytes, target.bytes, target.length) == 0) local = true;
        if (loopbackInterface) {
            if (loopbackTarget) local = true;
            continue;
        }
        if (!any && readAddress(i->ifa_netmask, &mask) && mask.family == target.family &&
            sameSubnet(mine, target, mask))
            direct = true;
        // An IPv6 link-local address alone reaches no further than its link.
        if (!isLinkLocal(mine)) usable = true;
    }
    freeifaddrs(list);

    using namespace ReachabilityFlag;
    if (local) return Reachable | IsLocalAddress | IsDirect;
    if (direct) return Reachable | IsDirect;
    if (usable) return Reachable;
    return ReachabilityFlags{0};
}

std::optional<ReachabilityFlags> flagsForName(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0) return ReachabilityFlags{0};
    ReachabilityFlags found = 0;
    for (addrinfo* r = results; r && !found; r = r->ai_next) {
        if (!r->ai_addr) continue;
        if (auto flags = flagsForAddress(*r->ai_addr)) found = *flags & ReachabilityFlag::Reachable ? *flags : 0;
    }
    freeaddrinfo(results);
    return found;
}

}  // namespace network::SystemReachability

// What a trust evaluation checks besides the chain itself: the basic X.509
// policy (a chain to an anchor, every certificate within its dates), or the
// SSL policy, which adds the TLS purpose and, when a host name is given,
// that the leaf certificate names that host (a DNS name, or an IP address
// written as one). Immutable.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace security {

class Policy;
using PolicyPtr = std::shared_ptr<const Policy>;

class Policy {
public:
    enum class Kind { BasicX509, SSL };

    static PolicyPtr createBasicX509() { return PolicyPtr(new Policy(Kind::BasicX509, true, std::nullopt)); }
    // `server`: the leaf must serve TLS (else act as a TLS client).
    static PolicyPtr createSSL(bool server, std::optional<std::string> hostName) {
        return PolicyPtr(new Policy(Kind::SSL, server, std::move(hostName)));
    }

    Kind kind() const { return kind_; }
    bool isServer() const { return server_; }
    const std::optional<std::string>& hostName() const { return hostName_; }

private:
    Policy(Kind kind, bool server, std::optional<std::string> hostName)
        : kind_(kind), server_(server), hostName_(std::move(hostName)) {}

    Kind kind_;
    bool server_;
    std::optional<std::string> hostName_;
};

}  // namespace security

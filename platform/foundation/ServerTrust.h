// What a TLS server presented: the host the client asked for and the
// certificate chain it received (DER, leaf first). The URL session hands one
// to its delegate in a server-trust challenge; the HTTP library's security
// policy decides on it. The object is immutable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Object.h"

namespace foundation {

class ServerTrust;
using ServerTrustPtr = std::shared_ptr<const ServerTrust>;

class ServerTrust : public Object {
public:
    ServerTrust(std::string host, std::vector<Data> certificateChain)
        : host_(std::move(host)), chain_(std::move(certificateChain)) {}

    const std::string& host() const { return host_; }
    const std::vector<Data>& certificateChain() const { return chain_; }

    // The standard verdict: the chain leads to an anchor of the default trust
    // store (the system's, or $SSL_CERT_FILE / $SSL_CERT_DIR when set), every
    // certificate is within its dates, the leaf may serve TLS, and it names
    // the host (a DNS name, or an IP address given as such).
    bool evaluateDefault() const;

    std::string className() const override { return "SecTrust"; }

private:
    std::string host_;
    std::vector<Data> chain_;
};

}  // namespace foundation

// An authentication challenge as the URL session hands it to its delegate:
// where it comes from (the protection space: host, port, protocol, method,
// and for server trust what the server presented) and the answer's
// vocabulary (credentials and dispositions). Only server trust is challenged
// here; other methods are not offered by the session. All values are
// immutable once made.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/ServerTrust.h"

namespace foundation {

inline constexpr const char* kURLAuthenticationMethodServerTrust = "NSURLAuthenticationMethodServerTrust";
inline constexpr const char* kURLAuthenticationMethodDefault = "NSURLAuthenticationMethodDefault";
inline constexpr const char* kURLAuthenticationMethodHTTPBasic = "NSURLAuthenticationMethodHTTPBasic";

// How the delegate answers a challenge (the platform's numbers).
enum class URLSessionAuthChallengeDisposition {
    // Go on with the given credential (for server trust: accept the chain).
    UseCredential = 0,
    // As if the delegate had not been asked: standard verification.
    PerformDefaultHandling = 1,
    // Give up; the task fails as cancelled.
    CancelAuthenticationChallenge = 2,
    // Refuse this space; with no other space to try, the chain is refused.
    RejectProtectionSpace = 3,
};

class URLProtectionSpace {
public:
    URLProtectionSpace(std::string host, int port, std::string protocol, std::string authenticationMethod,
                       ServerTrustPtr serverTrust = nullptr)
        : host_(std::move(host)), port_(port), protocol_(std::move(protocol)),
          method_(std::move(authenticationMethod)), trust_(std::move(serverTrust)) {}

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::string& protocol() const { return protocol_; }
    const std::optional<std::string>& realm() const { return realm_; }
    const std::string& authenticationMethod() const { return method_; }
    // Set for server-trust spaces only.
    const ServerTrustPtr& serverTrust() const { return trust_; }

private:
    std::string host_;
    int port_;
    std::string protocol_;
    std::optional<std::string> realm_;
    std::string method_;
    ServerTrustPtr trust_;
};

class URLCredential : public Object {
public:
    enum class Persistence { None = 0, ForSession = 1, Permanent = 2 };

    static std::shared_ptr<URLCredential> credentialForTrust(ServerTrustPtr trust) {
        std::shared_ptr<URLCredential> credential(new URLCredential(Persistence::ForSession));
        credential->trust_ = std::move(trust);
        return credential;
    }
    static std::shared_ptr<URLCredential> credentialWithUser(std::string user, std::string password,
                                                             Persistence persistence) {
        std::shared_ptr<URLCredential> credential(new URLCredential(persistence));
        credential->user_ = std::move(user);
        credential->password_ = std::move(password);
        return credential;
    }

    const ServerTrustPtr& serverTrust() const { return trust_; }
    const std::optional<std::string>& user() const { return user_; }
    const std::optional<std::string>& password() const { return password_; }
    Persistence persistence() const { return persistence_; }
    std::string className() const override { return "NSURLCredential"; }

private:
    explicit URLCredential(Persistence persistence) : persistence_(persistence) {}

    ServerTrustPtr trust_;
    std::optional<std::string> user_;
    std::optional<std::string> password_;
    Persistence persistence_;
};

using URLCredentialPtr = std::shared_ptr<URLCredential>;

class URLAuthenticationChallenge : public Object {
public:
    URLAuthenticationChallenge(URLProtectionSpace space, int64_t previousFailureCount)
        : space_(std::move(space)), previousFailureCount_(previousFailureCount) {}

    const URLProtectionSpace& protectionSpace() const { return space_; }
    int64_t previousFailureCount() const { return previousFailureCount_; }
    std::string className() const override { return "NSURLAuthenticationChallenge"; }

private:
    URLProtectionSpace space_;
    int64_t previousFailureCount_;
};

using URLAuthenticationChallengePtr = std::shared_ptr<const URLAuthenticationChallenge>;

}  // namespace foundation

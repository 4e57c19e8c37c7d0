// Failures as values. An error is immutable once made and is shared by
// pointer; a null ErrorPtr means success.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"

namespace foundation {

class Error;
using ErrorPtr = std::shared_ptr<const Error>;

// User-info keys the platform defines.
inline constexpr const char* kLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* kLocalizedFailureReasonErrorKey = "NSLocalizedFailureReason";
inline constexpr const char* kLocalizedRecoverySuggestionErrorKey = "NSLocalizedRecoverySuggestion";
inline constexpr const char* kUnderlyingErrorKey = "NSUnderlyingError";
inline constexpr const char* kURLErrorFailingURLErrorKey = "NSErrorFailingURLKey";
inline constexpr const char* kURLErrorFailingURLStringErrorKey = "NSErrorFailingURLStringKey";

// The URL-loading domain and the codes the system meets.
inline constexpr const char* kURLErrorDomain = "NSURLErrorDomain";
namespace URLError {
inline constexpr int64_t Unknown = -1;
inline constexpr int64_t Cancelled = -999;
inline constexpr int64_t BadURL = -1000;
inline constexpr int64_t TimedOut = -1001;
inline constexpr int64_t UnsupportedURL = -1002;
inline constexpr int64_t CannotFindHost = -1003;
inline constexpr int64_t CannotConnectToHost = -1004;
inline constexpr int64_t NetworkConnectionLost = -1005;
inline constexpr int64_t HTTPTooManyRedirects = -1007;
inline constexpr int64_t ResourceUnavailable = -1008;
inline constexpr int64_t NotConnectedToInternet = -1009;
inline constexpr int64_t BadServerResponse = -1011;
inline constexpr int64_t UserCancelledAuthentication = -1012;
inline constexpr int64_t CannotDecodeContentData = -1016;
inline constexpr int64_t RequestBodyStreamExhausted = -1021;
inline constexpr int64_t FileDoesNotExist = -1100;
inline constexpr int64_t CannotCreateFile = -3000;
inline constexpr int64_t CannotOpenFile = -3001;
inline constexpr int64_t CannotWriteToFile = -3003;
inline constexpr int64_t SecureConnectionFailed = -1200;
inline constexpr int64_t ServerCertificateUntrusted = -1202;
}  // namespace URLError

inline constexpr const char* kCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr const char* kPOSIXErrorDomain = "NSPOSIXErrorDomain";

class Error : public Object {
public:
    Error(std::string domain, int64_t code, Value::Dictionary userInfo = {}, ErrorPtr underlying = nullptr)
        : domain_(std::move(domain)), code_(code), userInfo_(std::move(userInfo)), underlying_(std::move(underlying)) {}

    static ErrorPtr make(std::string domain, int64_t code, Value::Dictionary userInfo = {},
                         ErrorPtr underlying = nullptr) {
        return std::make_shared<const Error>(std::move(domain), code, std::move(userInfo), std::move(underlying));
    }
    // An error with just a localized description.
    static ErrorPtr withDescription(std::string domain, int64_t code, const std::string& description) {
        return make(std::move(domain), code, {{kLocalizedDescriptionKey, Value(description)}});
    }

    const std::string& domain() const { return domain_; }
    int64_t code() const { return code_; }
    const Value::Dictionary& userInfo() const { return userInfo_; }
    const Value& userInfoValue(const std::string& key) const;

    // The user-info description, else the platform's generic sentence.
    std::string localizedDescription() const;
    std::optional<std::string> localizedFailureReason() const;
    std::optional<std::string> localizedRecoverySuggestion() const;
    // The chained error, if any.
    const ErrorPtr& underlyingError() const { return underlying_; }
    std::optional<std::string> failingURLString() const;

    std::string className() const override { return "NSError"; }
    std::string description() const override;

private:
    std::string domain_;
    int64_t code_;
    Value::Dictionary userInfo_;
    ErrorPtr underlying_;
};

}  // namespace foundation

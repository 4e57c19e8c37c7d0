// The application's own errors. A QVAError carries either a local failure
// described by one text, or a failed service call with the service's error
// message and, where the call names an error-body class, a typed object built
// from the body. NoInternetConnectionError adds nothing: its type alone tells
// that the device had no connection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"

struct ModelClass;

inline constexpr const char* kQVAErrorDomain = "com.QVA.EVENTS.ErrorDomain";
inline constexpr int64_t kQVAErrorCode = 1;

class QVAError : public foundation::Error {
public:
    QVAError(std::string domain, int64_t code, foundation::Value::Dictionary userInfo)
        : Error(std::move(domain), code, std::move(userInfo)) {}

    // A local failure: our domain, code 1, the text (translated through the
    // main string table when it has a translation) as localized description.
    static std::shared_ptr<QVAError> initWithDescription(const std::string& description);
    // A failed service call. `errorBody` is the service's JSON body (anything
    // but a dictionary counts as none); `responseObjectTypeClass` the class of
    // its typed form, or null.
    static std::shared_ptr<QVAError> initWithDomain(std::string domain, int64_t code,
                                                    foundation::Value::Dictionary userInfo,
                                                    const foundation::Value& errorBody,
                                                    const ModelClass* responseObjectTypeClass = nullptr);

    // The body's "error"; nil when the body has none.
    const std::optional<std::string>& QVAServiceErrorMessage() const { return serviceErrorMessage_; }
    void setQVAServiceErrorMessage(std::optional<std::string> message) { serviceErrorMessage_ = std::move(message); }
    // The typed body; null when the call names no class or there is no body.
    const foundation::ObjectPtr& errorResponseObject() const { return errorResponseObject_; }
    void setErrorResponseObject(foundation::ObjectPtr object) { errorResponseObject_ = std::move(object); }

    std::string className() const override { return "QVAError"; }

private:
    std::optional<std::string> serviceErrorMessage_;
    foundation::ObjectPtr errorResponseObject_;
};

class NoInternetConnectionError : public foundation::Error {
public:
    NoInternetConnectionError(std::string domain, int64_t code, foundation::Value::Dictionary userInfo)
        : Error(std::move(domain), code, std::move(userInfo)) {}

    static std::shared_ptr<NoInternetConnectionError> make(std::string domain, int64_t code,
                                                           foundation::Value::Dictionary userInfo) {
        return std::make_shared<NoInternetConnectionError>(std::move(domain), code, std::move(userInfo));
    }

    std::string className() const override { return "NoInternetConnectionError"; }
};

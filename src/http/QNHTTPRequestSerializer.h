// Builds every outgoing HTTP request: a request for a method and URL string,
// the request properties that were set on the serializer, the default headers
// ("Accept-Language" and "User-Agent" from the start), and the parameters
// either in the URI as a query string or in the body as a URL-encoded form.
// The JSON and property-list serializers derive from it and write the body in
// their own format. A serializer is configured and used by one thread at a
// time; default headers may change at any time and affect later requests only.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "foundation/Charset.h"
#include "foundation/Error.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/URLRequest.h"
#include "foundation/Value.h"
#include "http/QNURLRequestSerialization.h"

class QNMultipartFormData;

enum class QNHTTPRequestQueryStringSerializationStyle : unsigned {
    Default = 0,  // the query text of QNQueryStringFromParameters
};

class QNHTTPRequestSerializer : public foundation::Coding, public QNURLRequestSerialization {
public:
    // A custom query-string builder: (request as passed in, parameters, error
    // out-parameter) → query text, or nothing with an error to fail the request.
    using QueryStringSerialization = std::function<std::optional<std::string>(
        const foundation::URLRequest&, const foundation::Value&, foundation::ErrorPtr*)>;

    QNHTTPRequestSerializer();
    static std::shared_ptr<QNHTTPRequestSerializer> serializer();

    // Encoding of query text and form bodies; UTF-8 unless set.
    foundation::StringEncoding stringEncoding() const { return stringEncoding_; }
    void setStringEncoding(foundation::StringEncoding encoding) { stringEncoding_ = encoding; }

    // The six request properties. Each is copied into built requests only once
    // its setter has run (even with the value it already had); until then a
    // request keeps the platform default.
    bool allowsCellularAccess() const { return allowsCellularAccess_; }
    void setAllowsCellularAccess(bool allows);
    foundation::URLRequest::CachePolicy cachePolicy() const { return cachePolicy_; }
    void setCachePolicy(foundation::URLRequest::CachePolicy policy);
    bool HTTPShouldHandleCookies() const { return HTTPShouldHandleCookies_; }
    void setHTTPShouldHandleCookies(bool handle);
    bool HTTPShouldUsePipelining() const { return HTTPShouldUsePipelining_; }
    void setHTTPShouldUsePipelining(bool pipelining);
    int networkServiceType() const { return networkServiceType_; }
    void setNetworkServiceType(int type);
    double timeoutInterval() const { return timeoutInterval_; }
    void setTimeoutInterval(double seconds);
    // Names of the request properties set so far ("timeoutInterval", …); never shrinks.
    const std::set<std::string>& observedChangedKeyPaths() const { return changedKeyPaths_; }

    // Default headers, matched by name exactly as stored (unlike the request's).
    std::map<std::string, std::string> HTTPRequestHeaders() const { return headers_; }
    // Stores a default header; with no value, removes it.
    void setValue(std::optional<std::string> value, const std::string& field);
    std::optional<std::string> valueForHTTPHeaderField(const std::string& field) const;
    // "Authorization: Basic" with the Base64 of "username:password".
    void setAuthorizationHeaderFieldWithUsername(const std::string& username, const std::string& password);
    // "Authorization: Token token="…"".
    void setAuthorizationHeaderFieldWithToken(const std::string& token);
    void clearAuthorizationHeader();

    // Methods whose parameters go into the URI: GET, HEAD and DELETE unless set.
    const std::set<std::string>& HTTPMethodsEncodingParametersInURI() const { return methodsInURI_; }
    void setHTTPMethodsEncodingParametersInURI(std::set<std::string> methods) { methodsInURI_ = std::move(methods); }

    QNHTTPRequestQueryStringSerializationStyle queryStringSerializationStyle() const { return queryStyle_; }
    const QueryStringSerialization& queryStringSerialization() const { return queryBlock_; }
    // Sets the style and drops any custom builder.
    void setQueryStringSerializationWithStyle(QNHTTPRequestQueryStringSerializationStyle style);
    // The builder takes precedence over the style while it is set.
    void setQueryStringSerializationWithBlock(QueryStringSerialization block);

    // A request for the method and absolute URL string with the set request
    // properties, the default headers and the parameters (absent for none).
    // Nothing, with the reason in *error, when the parameters cannot be encoded.
    // A URL string that does not parse gives a request without URL.
    std::optional<foundation::URLRequest> requestWithMethod(const std::string& method, const std::string& URLString,
                                                            const foundation::Value& parameters,
                                                            foundation::ErrorPtr* error = nullptr) const;

    std::optional<foundation::URLRequest> requestBySerializingRequest(const foundation::URLRequest& request,
                                                                      const foundation::Value& parameters,
                                                                      foundation::ErrorPtr* error) const override;

    // Multipart requests: a request without parameters whose body the
    // streaming multipart form builder produces from the parameters and the
    // block; and a copy of such a request without body stream whose body is
    // written to a file in the background. Defined with that builder.
    foundation::URLRequest multipartFormRequestWithMethod(
        const std::string& method, const std::string& URLString, const foundation::Value& parameters,
        const std::function<void(QNMultipartFormData&)>& block, foundation::ErrorPtr* error = nullptr) const;
    foundation::URLRequest requestWithMultipartFormRequest(const foundation::URLRequest& request,
                                                           const foundation::URL& fileURL,
                                                           std::function<void(foundation::ErrorPtr)> completionHandler) const;

    // A new serializer of the same class with the default headers, the query
    // style and builder, and the subclass's own settings; everything else as
    // a new serializer has it.
    virtual std::shared_ptr<QNHTTPRequestSerializer> copy() const;

    // Archives keep the default headers and the query style (and the
    // subclass's own settings); see QNRegisterSerializerArchiveClasses.
    static constexpr const char* kClassName = "QNHTTPRequestSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNHTTPRequestSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

protected:
    bool encodesParametersInURI(const foundation::URLRequest& request) const;
    // Sets each default header the request has no value for.
    void addDefaultHeaders(foundation::URLRequest& request) const;
    void copyConfigurationTo(QNHTTPRequestSerializer& target) const;
    void decodeConfiguration(const foundation::KeyedUnarchiver& coder);

private:
    void markChanged(const char* keyPath) { changedKeyPaths_.insert(keyPath); }

    foundation::StringEncoding stringEncoding_ = foundation::StringEncoding::UTF8;
    bool allowsCellularAccess_ = false;
    foundation::URLRequest::CachePolicy cachePolicy_ = foundation::URLRequest::CachePolicy::UseProtocolCachePolicy;
    bool HTTPShouldHandleCookies_ = false;
    bool HTTPShouldUsePipelining_ = false;
    int networkServiceType_ = 0;
    double timeoutInterval_ = 0;
    std::set<std::string> changedKeyPaths_;
    std::map<std::string, std::string> headers_;
    std::set<std::string> methodsInURI_;
    QNHTTPRequestQueryStringSerializationStyle queryStyle_ = QNHTTPRequestQueryStringSerializationStyle::Default;
    QueryStringSerialization queryBlock_;
};

// The base request serializer. The six request properties are copied into a
// request only after their setter ran, so a serializer that never touched,
// say, the timeout leaves whatever default the transport has for it.
#include "http/QNHTTPRequestSerializer.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "foundation/Bundle.h"
#include "foundation/Crypto.h"
#include "foundation/Format.h"
#include "foundation/StringUtils.h"
#include "foundation/URL.h"
#include "http/QNDeviceEnvironment.h"
#include "http/QNQueryStringPair.h"

using foundation::ErrorPtr;
using foundation::URLRequest;
using foundation::Value;

namespace {

// The request properties in the order they are copied into a request.
constexpr const char* kAllowsCellularAccess = "allowsCellularAccess";
constexpr const char* kCachePolicy = "cachePolicy";
constexpr const char* kHTTPShouldHandleCookies = "HTTPShouldHandleCookies";
constexpr const char* kHTTPShouldUsePipelining = "HTTPShouldUsePipelining";
constexpr const char* kNetworkServiceType = "networkServiceType";
constexpr const char* kTimeoutInterval = "timeoutInterval";

constexpr const char* kHeadersArchiveKey = "mutableHTTPRequestHeaders";
constexpr const char* kQueryStyleArchiveKey = "queryStringSerializationStyle";

// "en;q=1, fr;q=0.9, …": q falls by 0.1 per language, computed in single
// precision as the header always was, and the list ends at q=0.5.
std::string acceptLanguage() {
    std::string header;
    const auto languages = QNDeviceEnvironment::preferredLanguages();
    for (size_t i = 0; i < languages.size(); ++i) {
        float step = 0.1f * static_cast<float>(i);
        float q = 1.0f - step;
        if (!header.empty()) header += ", ";
        header += foundation::Format("%@;q=%0.1g", languages[i], q);
        if (q <= 0.5f) break;
    }
    return header;
}

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Latin transliteration of every non-ASCII run; what still has no ASCII form
// is removed rather than shown as "?", as a header value must be ASCII.
std::string asciiOnly(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = i;
        bool ascii = static_cast<unsigned char>(text[i]) < 0x80;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) < 0x80) == ascii) ++end;
        std::string_view run = text.substr(i, end - i);
        if (ascii) {
            out += run;
        } else {
            for (char c : foundation::StringUtils::toASCIILossy(run)) {
                if (c != '?') out += c;
            }
        }
        i = end;
    }
    return out;
}

std::string userAgent() {
    auto& bundle = foundation::Bundle::mainBundle();
    std::string name = bundle.objectForInfoDictionaryKey(foundation::kBundleExecutableKey).stringValue();
    if (name.empty()) name = bundle.objectForInfoDictionaryKey(foundation::kBundleIdentifierKey).stringValue();
    std::string version = bundle.objectForInfoDictionaryKey(foundation::kBundleShortVersionStringKey).stringValue();
    if (version.empty()) version = bundle.objectForInfoDictionaryKey(foundation::kBundleVersionKey).stringValue();
    std::string agent = foundation::Format("%@/%@ (%@; iOS %@; Scale/%0.2f)", name, version,
                                           QNDeviceEnvironment::deviceModel(), QNDeviceEnvironment::systemVersion(),
                                           QNDeviceEnvironment::screenScale());
    if (!isASCII(agent)) agent = asciiOnly(agent);
    // The device's name and system are the person's to set: a line break in
    // them would end the header and begin another.
    agent.erase(std::remove_if(agent.begin(), agent.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }),
                agent.end());
    return agent;
}

std::string uppercased(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

QNHTTPRequestSerializer::QNHTTPRequestSerializer() : methodsInURI_{"GET", "HEAD", "DELETE"} {
    headers_["Accept-Language"] = acceptLanguage();
    headers_["User-Agent"] = userAgent();
}

std::shared_ptr<QNHTTPRequestSerializer> QNHTTPRequestSerializer::serializer() {
    return std::make_shared<QNHTTPRequestSerializer>();
}

void QNHTTPRequestSerializer::setAllowsCellularAccess(bool allows) {
    allowsCellularAccess_ = allows;
    markChanged(kAllowsCellularAccess);
}

void QNHTTPRequestSerializer::setCachePolicy(URLRequest::CachePolicy policy) {
    cachePolicy_ = policy;
    markChanged(kCachePolicy);
}

void QNHTTPRequestSerializer::setHTTPShouldHandleCookies(bool handle) {
    HTTPShouldHandleCookies_ = handle;
    markChanged(kHTTPShouldHandleCookies);
}

void QNHTTPRequestSerializer::setHTTPShouldUsePipelining(bool pipelining) {
    HTTPShouldUsePipelining_ = pipelining;
    markChanged(kHTTPShouldUsePipelining);
}

void QNHTTPRequestSerializer::setNetworkServiceType(int type) {
    networkServiceType_ = type;
    markChanged(kNetworkServiceType);
}

void QNHTTPRequestSerializer::setTimeoutInterval(double seconds) {
    timeoutInterval_ = seconds;
    markChanged(kTimeoutInterval);
}

void QNHTTPRequestSerializer::setValue(std::optional<std::string> value, const std::string& field) {
    if (value) headers_[field] = std::move(*value);
    else headers_.erase(field);
}

std::optional<std::string> QNHTTPRequestSerializer::valueForHTTPHeaderField(const std::string& field) const {
    auto it = headers_.find(field);
    if (it == headers_.end()) return std::nullopt;
    return it->second;
}

void QNHTTPRequestSerializer::setAuthorizationHeaderFieldWithUsername(const std::string& username,
                                                                      const std::string& password) {
    auto credentials = foundation::Data::fromString(foundation::Format("%@:%@", username, password));
    setValue(foundation::Format("Basic %@", foundation::Crypto::base64Encode(credentials)), "Authorization");
}

void QNHTTPRequestSerializer::setAuthorizationHeaderFieldWithToken(const std::string& token) {
    setValue(foundation::Format("Token token=\"%@\"", token), "Authorization");
}

void QNHTTPRequestSerializer::clearAuthorizationHeader() { headers_.erase("Authorization"); }

void QNHTTPRequestSerializer::setQueryStringSerializationWithStyle(QNHTTPRequestQueryStringSerializationStyle style) {
    queryStyle_ = style;
    queryBlock_ = nullptr;
}

void QNHTTPRequestSerializer::setQueryStringSerializationWithBlock(QueryStringSerialization block) {
    queryBlock_ = std::move(block);
}

std::optional<URLRequest> QNHTTPRequestSerializer::requestWithMethod(const std::string& method,
                                                                     const std::string& URLString,
                                                                     const Value& parameters, ErrorPtr* error) const {
    URLRequest request;
    request.setURL(foundation::URL::URLWithString(URLString));
    request.setHTTPMethod(method);

    auto changed = [this](const char* keyPath) { return changedKeyPaths_.count(keyPath) > 0; };
    if (changed(kAllowsCellularAccess)) request.setAllowsCellularAccess(allowsCellularAccess_);
    if (changed(kCachePolicy)) request.setCachePolicy(cachePolicy_);
    if (changed(kHTTPShouldHandleCookies)) request.setHTTPShouldHandleCookies(HTTPShouldHandleCookies_);
    if (changed(kHTTPShouldUsePipelining)) request.setHTTPShouldUsePipelining(HTTPShouldUsePipelining_);
    if (changed(kNetworkServiceType)) request.setNetworkServiceType(networkServiceType_);
    if (changed(kTimeoutInterval)) request.setTimeoutInterval(timeoutInterval_);

    return requestBySerializingRequest(request, parameters, error);
}

bool QNHTTPRequestSerializer::encodesParametersInURI(const URLRequest& request) const {
    return methodsInURI_.count(uppercased(request.httpMethod())) > 0;
}

void QNHTTPRequestSerializer::addDefaultHeaders(URLRequest& request) const {
    for (const auto& [field, value] : headers_) {
        if (!request.valueForHTTPHeaderField(field)) request.setValue(value, field);
    }
}

std::optional<URLRequest> QNHTTPRequestSerializer::requestBySerializingRequest(const URLRequest& request,
                                                                               const Value& parameters,
                                                                               ErrorPtr* error) const {
    URLRequest result = request;
    addDefaultHeaders(result);
    if (parameters.isAbsent()) return result;

    std::optional<std::string> query;
    ErrorPtr queryError;
    if (queryBlock_) {
        query = queryBlock_(request, parameters, &queryError);
    } else {
        query = QNQueryStringFromParameters(parameters, stringEncoding_, &queryError);
    }
    if (queryError) {
        if (error) *error = queryError;
        return std::nullopt;
    }
    // A custom builder that gives no text and no error has nothing to place.
    if (!query) return result;

    if (encodesParametersInURI(result)) {
        if (const auto& url = result.url()) {
            const char* separator = url->query() ? "&" : "?";
            result.setURL(foundation::URL::URLWithString(url->absoluteString() + separator + *query));
        }
    } else {
        if (!result.valueForHTTPHeaderField("Content-Type")) {
            result.setValue("application/x-www-form-urlencoded", "Content-Type");
        }
        result.setHTTPBody(foundation::Charset::encode(*query, stringEncoding_));
    }
    return result;
}

void QNHTTPRequestSerializer::copyConfigurationTo(QNHTTPRequestSerializer& target) const {
    target.headers_ = headers_;
    target.queryStyle_ = queryStyle_;
    target.queryBlock_ = queryBlock_;
}

std::shared_ptr<QNHTTPRequestSerializer> QNHTTPRequestSerializer::copy() const {
    auto copy = std::make_shared<QNHTTPRequestSerializer>();
    copyConfigurationTo(*copy);
    return copy;
}

void QNHTTPRequestSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    Value::Dictionary headers;
    for (const auto& [field, value] : headers_) headers[field] = Value(value);
    coder.encodeObject(Value(std::move(headers)), kHeadersArchiveKey);
    coder.encodeInt64(static_cast<int64_t>(queryStyle_), kQueryStyleArchiveKey);
}

void QNHTTPRequestSerializer::decodeConfiguration(const foundation::KeyedUnarchiver& coder) {
    if (const auto* headers = coder.decodeObjectForKey(kHeadersArchiveKey).dictionary()) {
        headers_.clear();
        for (const auto& [field, value] : *headers) {
            if (value.isString()) headers_[field] = *value.string();
        }
    }
    // The archived style needs no reading: the default is the only one there is.
    queryStyle_ = QNHTTPRequestQueryStringSerializationStyle::Default;
}

std::shared_ptr<QNHTTPRequestSerializer> QNHTTPRequestSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNHTTPRequestSerializer>();
    serializer->decodeConfiguration(coder);
    return serializer;
}

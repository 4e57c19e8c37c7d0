// Keyed-archive wrappers of requests, HTTP responses and errors. Each wrapper
// is a Coding object that lives only while an archive is written or read.
#include "http/QNURLLoadingArchives.h"

#include <mutex>

#include "foundation/KeyedArchiver.h"

using namespace foundation;

namespace {

Value headersValue(const HTTPHeaders& headers) {
    Value::Array fields;
    for (const auto& [name, value] : headers.all()) fields.emplace_back(Value::Array{Value(name), Value(value)});
    return Value(std::move(fields));
}

HTTPHeaders headersFrom(const Value& value) {
    HTTPHeaders headers;
    if (const auto* fields = value.array()) {
        for (const auto& field : *fields)
            if (field.at(0).isString() && field.at(1).isString())
                headers.add(field.at(0).stringValue(), field.at(1).stringValue());
    }
    return headers;
}

// What of a user-info value an archive can hold: everything but objects.
Value plainValue(const Value& value) {
    switch (value.type()) {
        case Value::Type::Object: return Value();
        case Value::Type::Array: {
            Value::Array out;
            for (const auto& item : *value.array())
                if (Value plain = plainValue(item); !plain.isAbsent()) out.push_back(std::move(plain));
            return Value(std::move(out));
        }
        case Value::Type::Dictionary: {
            Value::Dictionary out;
            for (const auto& [key, item] : *value.dictionary())
                if (Value plain = plainValue(item); !plain.isAbsent()) out[key] = std::move(plain);
            return Value(std::move(out));
        }
        default: return value;
    }
}

class RequestArchive : public Coding {
public:
    static constexpr const char* kClassName = "NSURLRequest";
    explicit RequestArchive(URLRequest request) : request_(std::move(request)) {}
    std::string className() const override { return kClassName; }
    const URLRequest& request() const { return request_; }

    void encodeWithCoder(KeyedArchiver& coder) const override {
        if (request_.url()) coder.encodeObject(Value(request_.url()->absoluteString()), "URL");
        coder.encodeObject(Value(request_.httpMethod()), "HTTPMethod");
        coder.encodeObject(headersValue(request_.allHTTPHeaderFields()), "allHTTPHeaderFields");
        if (request_.httpBody()) coder.encodeObject(Value(*request_.httpBody()), "HTTPBody");
        coder.encodeDouble(request_.timeoutInterval(), "timeoutInterval");
        coder.encodeInt64(static_cast<int64_t>(request_.cachePolicy()), "cachePolicy");
    }
    static ObjectPtr initWithCoder(KeyedUnarchiver& coder) {
        URLRequest request;
        if (auto text = coder.decodeStringForKey("URL")) request.setURL(URL::URLWithString(*text));
        if (auto method = coder.decodeStringForKey("HTTPMethod")) request.setHTTPMethod(*method);
        HTTPHeaders headers = headersFrom(coder.decodeObjectForKey("allHTTPHeaderFields"));
        for (const auto& [name, value] : headers.all()) request.addValue(value, name);
        if (const Data* body = coder.decodeObjectForKey("HTTPBody").data()) request.setHTTPBody(*body);
        if (coder.containsValueForKey("timeoutInterval") && coder.decodeDoubleForKey("timeoutInterval") > 0)
            request.setTimeoutInterval(coder.decodeDoubleForKey("timeoutInterval"));
        int64_t policy = coder.decodeInt64ForKey("cachePolicy");
        if (policy >= 0 && policy <= 3) request.setCachePolicy(static_cast<URLRequest::CachePolicy>(policy));
        return std::make_shared<RequestArchive>(std::move(request));
    }

private:
    URLRequest request_;
};

class ResponseArchive : public Coding {
public:
    static constexpr const char* kClassName = "NSHTTPURLResponse";
    explicit ResponseArchive(std::shared_ptr<HTTPURLResponse> response) : response_(std::move(response)) {}
    std::string className() const override { return kClassName; }
    const std::shared_ptr<HTTPURLResponse>& response() const { return response_; }

    void encodeWithCoder(KeyedArchiver& coder) const override {
        if (response_->url()) coder.encodeObject(Value(response_->url()->absoluteString()), "URL");
        coder.encodeInt64(response_->statusCode(), "statusCode");
        coder.encodeObject(headersValue(response_->allHeaderFields()), "allHeaderFields");
    }
    static ObjectPtr initWithCoder(KeyedUnarchiver& coder) {
        std::optional<URL> url;
        if (auto text = coder.decodeStringForKey("URL")) url = URL::URLWithString(*text);
        return std::make_shared<ResponseArchive>(std::make_shared<HTTPURLResponse>(
            url, coder.decodeInt64ForKey("statusCode"), headersFrom(coder.decodeObjectForKey("allHeaderFields"))));
    }

private:
    std::shared_ptr<HTTPURLResponse> response_;
};

class ErrorArchive : public Coding {
public:
    static constexpr const char* kClassName = "NSError";
    explicit ErrorArchive(ErrorPtr error) : error_(std::move(error)) {}
    std::string className() const override { return kClassName; }
    const ErrorPtr& error() const { return error_; }

    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeObject(Value(error_->domain()), "domain");
        coder.encodeInt64(error_->code(), "code");
        coder.encodeObject(plainValue(Value(error_->userInfo())), "userInfo");
        if (error_->underlyingError())
            coder.encodeObject(Value(std::make_shared<ErrorArchive>(error_->underlyingError())), "underlyingError");
    }
    static ObjectPtr initWithCoder(KeyedUnarchiver& coder) {
        Value::Dictionary userInfo;
        if (const auto* info = coder.decodeObjectForKey("userInfo").dictionary()) userInfo = *info;
        auto underlying = coder.decodeObjectOfClass<ErrorArchive>("underlyingError");
        return std::make_shared<ErrorArchive>(Error::make(coder.decodeStringForKey("domain").value_or(""),
                                                          coder.decodeInt64ForKey("code"), std::move(userInfo),
                                                          underlying ? underlying->error() : nullptr));
    }

private:
    ErrorPtr error_;
};

}  // namespace

void QNEncodeURLRequest(KeyedArchiver& coder, const URLRequest& request, const std::string& key) {
    coder.encodeObject(Value(std::make_shared<RequestArchive>(request)), key);
}

std::optional<URLRequest> QNDecodeURLRequest(const KeyedUnarchiver& coder, const std::string& key) {
    if (auto archive = coder.decodeObjectOfClass<RequestArchive>(key)) return archive->request();
    return std::nullopt;
}

void QNEncodeURLResponse(KeyedArchiver& coder, const std::shared_ptr<URLResponse>& response, const std::string& key) {
    auto http = std::dynamic_pointer_cast<HTTPURLResponse>(response);
    if (!http && response) {
        // A plain URL response keeps what an HTTP one can say of it.
        http = std::make_shared<HTTPURLResponse>(response->url(), 200, HTTPHeaders());
    }
    if (http) coder.encodeObject(Value(std::make_shared<ResponseArchive>(std::move(http))), key);
}

std::shared_ptr<HTTPURLResponse> QNDecodeHTTPURLResponse(const KeyedUnarchiver& coder, const std::string& key) {
    auto archive = coder.decodeObjectOfClass<ResponseArchive>(key);
    return archive ? archive->response() : nullptr;
}

void QNEncodeError(KeyedArchiver& coder, const ErrorPtr& error, const std::string& key) {
    if (error) coder.encodeObject(Value(std::make_shared<ErrorArchive>(error)), key);
}

ErrorPtr QNDecodeError(const KeyedUnarchiver& coder, const std::string& key) {
    auto archive = coder.decodeObjectOfClass<ErrorArchive>(key);
    return archive ? archive->error() : nullptr;
}

void QNRegisterURLLoadingArchiveClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        KeyedArchiver::registerClass(RequestArchive::kClassName, &RequestArchive::initWithCoder);
        KeyedArchiver::registerClass(ResponseArchive::kClassName, &ResponseArchive::initWithCoder);
        KeyedArchiver::registerClass(ErrorArchive::kClassName, &ErrorArchive::initWithCoder);
    });
}

// Verb operations over the session manager's data tasks, and the base URL's
// trailing-slash rule.
#include "http/QNHTTPSessionManager.h"

#include "dispatch/Queue.h"
#include "foundation/Format.h"
#include "http/QNHTTPResponseSerializer.h"

using namespace foundation;

namespace {

constexpr const char* kBaseURLKey = "baseURL";
constexpr const char* kSessionConfigurationKey = "sessionConfiguration";
constexpr const char* kRequestSerializerKey = "requestSerializer";
constexpr const char* kResponseSerializerKey = "responseSerializer";

// A base with a path gets a trailing "/", so relative paths resolve below
// its last segment instead of replacing it.
std::optional<URL> withTrailingSlash(std::optional<URL> url) {
    if (!url) return url;
    const std::string& text = url->absoluteString();
    if (url->path().empty() || (!text.empty() && text.back() == '/')) return url;
    return url->URLByAppendingPathComponent("");
}

}  // namespace

QNHTTPSessionManager::QNHTTPSessionManager(std::optional<URL> baseURL,
                                           std::optional<URLSessionConfiguration> configuration)
    : QNURLSessionManager(std::move(configuration)),
      baseURL_(withTrailingSlash(std::move(baseURL))),
      requestSerializer_(QNHTTPRequestSerializer::serializer()) {}

std::shared_ptr<QNHTTPRequestSerializer> QNHTTPSessionManager::requestSerializer() const {
    std::lock_guard lock(serializerMutex_);
    return requestSerializer_;
}

void QNHTTPSessionManager::setRequestSerializer(std::shared_ptr<QNHTTPRequestSerializer> serializer) {
    std::lock_guard lock(serializerMutex_);
    requestSerializer_ = std::move(serializer);
}

std::string QNHTTPSessionManager::description() const {
    return Format("<%@: %p, baseURL: %@, session: %@, operationQueue: %@>", className(), static_cast<const void*>(this),
                  baseURL_ ? baseURL_->absoluteString() : std::string("(null)"),
                  session() ? session()->description() : std::string("(null)"), operationQueue()->description());
}

std::string QNHTTPSessionManager::absoluteURLString(const std::string& URLString) const {
    if (baseURL_) {
        if (auto resolved = URL::URLWithString(URLString, *baseURL_)) return resolved->absoluteString();
    }
    return URLString;
}

void QNHTTPSessionManager::failWithoutTask(Failure failure, const ErrorPtr& error) const {
    if (!failure) return;
    deliveryQueue()->async([failure = std::move(failure), error] { failure(nullptr, error); });
}

QNURLSessionManager::CompletionHandler QNHTTPSessionManager::completionFor(
    std::shared_ptr<std::weak_ptr<URLSessionDataTask>> slot, Success success, Failure failure) {
    return [slot = std::move(slot), success = std::move(success), failure = std::move(failure)](
               const std::shared_ptr<URLResponse>&, const Value& responseObject, const ErrorPtr& failed) {
        URLSessionDataTaskPtr finished = slot->lock();
        if (failed) {
            if (failure) failure(finished, failed);
        } else if (success) {
            success(finished, responseObject);
        }
    };
}

URLSessionDataTaskPtr QNHTTPSessionManager::dataTaskWithHTTPMethod(const std::string& method,
                                                                   const std::string& URLString,
                                                                   const Value& parameters, Success success,
                                                                   Failure failure) {
    ErrorPtr error;
    std::optional<URLRequest> request;
    if (auto serializer = requestSerializer())
        request = serializer->requestWithMethod(method, absoluteURLString(URLString), parameters, &error);
    if (!request || error) {
        failWithoutTask(std::move(failure), error);
        return nullptr;
    }
    // The task is known only once it exists; the completion reaches it
    // through this slot (and lets it go when it has run).
    auto slot = std::make_shared<std::weak_ptr<URLSessionDataTask>>();
    URLSessionDataTaskPtr task = dataTaskWithRequest(*request, completionFor(slot, std::move(success), std::move(failure)));
    *slot = task;
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::POST(const std::string& URLString, const Value& parameters,
                                                 const std::function<void(QNMultipartFormData&)>& block,
                                                 Success success, Failure failure) {
    ErrorPtr error;
    std::optional<URLRequest> request;
    if (auto serializer = requestSerializer())
        request = serializer->multipartFormRequestWithMethod("POST", absoluteURLString(URLString), parameters, block,
                                                              &error);
    if (!request || error) {
        failWithoutTask(std::move(failure), error);
        return nullptr;
    }
    auto slot = std::make_shared<std::weak_ptr<URLSessionDataTask>>();
    URLSessionDataTaskPtr task = uploadTaskWithStreamedRequest(
        *request, nullptr, completionFor(slot, std::move(success), std::move(failure)));
    *slot = task;
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::GET(const std::string& URLString, const Value& parameters, Success success,
                                                Failure failure) {
    auto task = dataTaskWithHTTPMethod("GET", URLString, parameters, std::move(success), std::move(failure));
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::HEAD(const std::string& URLString, const Value& parameters,
                                                 HeadSuccess success, Failure failure) {
    Success wrapper;
    if (success)
        wrapper = [success = std::move(success)](const URLSessionDataTaskPtr& task, const Value&) { success(task); };
    auto task = dataTaskWithHTTPMethod("HEAD", URLString, parameters, std::move(wrapper), std::move(failure));
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::POST(const std::string& URLString, const Value& parameters, Success success,
                                                 Failure failure) {
    auto task = dataTaskWithHTTPMethod("POST", URLString, parameters, std::move(success), std::move(failure));
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::PUT(const std::string& URLString, const Value& parameters, Success success,
                                                Failure failure) {
    auto task = dataTaskWithHTTPMethod("PUT", URLString, parameters, std::move(success), std::move(failure));
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::PATCH(const std::string& URLString, const Value& parameters,
                                                  Success success, Failure failure) {
    auto task = dataTaskWithHTTPMethod("PATCH", URLString, parameters, std::move(success), std::move(failure));
    if (task) task->resume();
    return task;
}

URLSessionDataTaskPtr QNHTTPSessionManager::DELETE(const std::string& URLString, const Value& parameters,
                                                   Success success, Failure failure) {
    auto task = dataTaskWithHTTPMethod("DELETE", URLString, parameters, std::move(success), std::move(failure));
    if (task) task->resume();
    return task;
}

void QNHTTPSessionManager::encodeWithCoder(KeyedArchiver& coder) const {
    QNURLSessionManager::encodeWithCoder(coder);
    if (baseURL_) coder.encodeObject(Value(baseURL_->absoluteString()), kBaseURLKey);
    if (auto request = requestSerializer()) coder.encodeObject(Value(request), kRequestSerializerKey);
    if (auto response = std::dynamic_pointer_cast<QNHTTPResponseSerializer>(responseSerializer()))
        coder.encodeObject(Value(response), kResponseSerializerKey);
}

std::shared_ptr<QNHTTPSessionManager> QNHTTPSessionManager::initWithCoder(const KeyedUnarchiver& coder) {
    std::optional<URL> baseURL;
    if (auto text = coder.decodeStringForKey(kBaseURLKey)) baseURL = URL::URLWithString(*text);
    auto configuration = QNDecodeSessionConfiguration(coder, kSessionConfigurationKey);
    // Archives of configurations that could not be archived name the background session.
    if (auto identifier = coder.decodeStringForKey("identifier"); !configuration && identifier)
        configuration = URLSessionConfiguration::backgroundSessionConfigurationWithIdentifier(*identifier);
    auto manager = make<QNHTTPSessionManager>(std::move(baseURL), std::move(configuration));
    if (auto request = coder.decodeObjectOfClass<QNHTTPRequestSerializer>(kRequestSerializerKey))
        manager->setRequestSerializer(std::move(request));
    if (auto response = coder.decodeObjectOfClass<QNHTTPResponseSerializer>(kResponseSerializerKey))
        manager->setResponseSerializer(std::move(response));
    return manager;
}

std::shared_ptr<QNURLSessionManager> QNHTTPSessionManager::copy() const {
    auto manager = make<QNHTTPSessionManager>(baseURL_, sessionConfiguration());
    if (auto request = requestSerializer()) manager->setRequestSerializer(request->copy());
    if (auto response = std::dynamic_pointer_cast<QNHTTPResponseSerializer>(responseSerializer()))
        manager->setResponseSerializer(response->copy());
    return manager;
}

// Builds requests with the manager's serializers and hands them to
// operations that carry the manager's trust and completion settings.
#include "http/QNHTTPRequestOperationManager.h"

#include <cstdio>

#include "http/QNJSONResponseSerializer.h"
#include "http/QNNetworkReachabilityManager.h"
#include "http/QNSecurityPolicy.h"
#include "http/QNSerializerArchiving.h"

using namespace foundation;

QNHTTPRequestOperationManager::QNHTTPRequestOperationManager(std::optional<URL> baseURL)
    : requestSerializer_(QNHTTPRequestSerializer::serializer()),
      responseSerializer_(QNJSONResponseSerializer::serializer()), operationQueue_(OperationQueue::create()),
      securityPolicy_(QNSecurityPolicy::defaultPolicy()) {
    if (baseURL && !baseURL->path().empty() && !baseURL->absoluteString().empty() &&
        baseURL->absoluteString().back() != '/')
        baseURL = baseURL->URLByAppendingPathComponent("");
    baseURL_ = std::move(baseURL);
}

std::shared_ptr<QNHTTPRequestOperationManager> QNHTTPRequestOperationManager::manager() {
    return std::make_shared<QNHTTPRequestOperationManager>();
}

QNNetworkReachabilityManager& QNHTTPRequestOperationManager::reachabilityManager() const {
    return reachabilityManager_ ? *reachabilityManager_ : QNNetworkReachabilityManager::sharedManager();
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::HTTPRequestOperationWithRequest(const URLRequest& request,
                                                                                         Success success,
                                                                                         Failure failure) const {
    auto operation = QNHTTPRequestOperation::operationWithRequest(request);
    operation->setResponseSerializer(responseSerializer_);
    operation->setShouldUseCredentialStorage(shouldUseCredentialStorage_);
    operation->setCredential(credential_);
    operation->setSecurityPolicy(securityPolicy_);
    operation->setCompletionBlockWithSuccess(std::move(success), std::move(failure));
    operation->setCompletionQueue(completionQueue_);
    operation->setCompletionGroup(completionGroup_);
    return operation;
}

std::string QNHTTPRequestOperationManager::absoluteURLString(const std::string& URLString) const {
    auto url = baseURL_ ? URL::URLWithString(URLString, *baseURL_) : URL::URLWithString(URLString);
    return url ? url->absoluteString() : URLString;
}

void QNHTTPRequestOperationManager::failWithoutOperation(const Failure& failure, const ErrorPtr& error) const {
    if (!failure) return;
    dispatch::QueuePtr queue = completionQueue_ ? completionQueue_ : dispatch::Queue::main();
    queue->async([failure, error] { failure(nullptr, error); });
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::HTTPRequestOperationWithHTTPMethod(
    const std::string& method, const std::string& URLString, const Value& parameters, Success success,
    Failure failure) const {
    ErrorPtr error;
    auto request = requestSerializer_->requestWithMethod(method, absoluteURLString(URLString), parameters, &error);
    if (error || !request) {
        failWithoutOperation(failure, error);
        return nullptr;
    }
    return HTTPRequestOperationWithRequest(*request, std::move(success), std::move(failure));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::enqueue(QNHTTPRequestOperationPtr operation) {
    if (operation) operationQueue_->addOperation(operation);
    return operation;
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::GET(const std::string& URLString, const Value& parameters,
                                                             Success success, Failure failure) {
    return enqueue(HTTPRequestOperationWithHTTPMethod("GET", URLString, parameters, std::move(success),
                                                      std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::HEAD(
    const std::string& URLString, const Value& parameters,
    std::function<void(const QNHTTPRequestOperationPtr&)> success, Failure failure) {
    Success onlyOperation = [success](const QNHTTPRequestOperationPtr& operation, const Value&) {
        if (success) success(operation);
    };
    return enqueue(HTTPRequestOperationWithHTTPMethod("HEAD", URLString, parameters, onlyOperation,
                                                      std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::POST(const std::string& URLString, const Value& parameters,
                                                              Success success, Failure failure) {
    return enqueue(HTTPRequestOperationWithHTTPMethod("POST", URLString, parameters, std::move(success),
                                                      std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::POST(const std::string& URLString, const Value& parameters,
                                                              const std::function<void(QNMultipartFormData&)>& block,
                                                              Success success, Failure failure) {
    ErrorPtr error;
    URLRequest request = requestSerializer_->multipartFormRequestWithMethod("POST", absoluteURLString(URLString),
                                                                           parameters, block, &error);
    if (error) {
        failWithoutOperation(failure, error);
        return nullptr;
    }
    return enqueue(HTTPRequestOperationWithRequest(request, std::move(success), std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::PUT(const std::string& URLString, const Value& parameters,
                                                             Success success, Failure failure) {
    return enqueue(HTTPRequestOperationWithHTTPMethod("PUT", URLString, parameters, std::move(success),
                                                      std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::PATCH(const std::string& URLString, const Value& parameters,
                                                               Success success, Failure failure) {
    return enqueue(HTTPRequestOperationWithHTTPMethod("PATCH", URLString, parameters, std::move(success),
                                                      std::move(failure)));
}

QNHTTPRequestOperationPtr QNHTTPRequestOperationManager::DELETE(const std::string& URLString, const Value& parameters,
                                                                Success success, Failure failure) {
    return enqueue(HTTPRequestOperationWithHTTPMethod("DELETE", URLString, parameters, std::move(success),
                                                      std::move(failure)));
}

std::string QNHTTPRequestOperationManager::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string("<QNHTTPRequestOperationManager: ") + address +
           ", baseURL: " + (baseURL_ ? baseURL_->absoluteString() : "(null)") +
           ", operationQueue: " + operationQueue_->description() + ">";
}

std::shared_ptr<QNHTTPRequestOperationManager> QNHTTPRequestOperationManager::copy() const {
    auto manager = std::make_shared<QNHTTPRequestOperationManager>(baseURL_);
    manager->setRequestSerializer(requestSerializer_->copy());
    manager->setResponseSerializer(responseSerializer_->copy());
    return manager;
}

void QNHTTPRequestOperationManager::registerArchiveClass() {
    QNRegisterSerializerArchiveClasses();
    KeyedArchiver::registerClass(kClassName, [](KeyedUnarchiver& coder) -> ObjectPtr { return initWithCoder(coder); });
}

void QNHTTPRequestOperationManager::encodeWithCoder(KeyedArchiver& coder) const {
    coder.encodeObject(baseURL_ ? Value(baseURL_->absoluteString()) : Value(), "baseURL");
    coder.encodeObject(Value(std::static_pointer_cast<Object>(requestSerializer_)), "requestSerializer");
    coder.encodeObject(Value(std::static_pointer_cast<Object>(responseSerializer_)), "responseSerializer");
}

std::shared_ptr<QNHTTPRequestOperationManager> QNHTTPRequestOperationManager::initWithCoder(
    const KeyedUnarchiver& coder) {
    std::optional<URL> baseURL;
    if (auto text = coder.decodeStringForKey("baseURL")) baseURL = URL::URLWithString(*text);
    auto manager = std::make_shared<QNHTTPRequestOperationManager>(baseURL);
    if (auto request = coder.decodeObjectOfClass<QNHTTPRequestSerializer>("requestSerializer"))
        manager->setRequestSerializer(request);
    if (auto response = coder.decodeObjectOfClass<QNHTTPResponseSerializer>("responseSerializer"))
        manager->setResponseSerializer(response);
    return manager;
}

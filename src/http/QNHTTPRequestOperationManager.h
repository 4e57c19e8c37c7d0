// The operation-based client: a base URL, request and response serializers,
// trust and credential settings and an operation queue. A verb, a URL string
// relative to the base URL and parameters become a configured HTTP request
// operation that is queued at once. The manager has no lock of its own:
// configure it from one thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/OperationQueue.h"
#include "foundation/URL.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNHTTPResponseSerializer.h"

class QNMultipartFormData;
class QNNetworkReachabilityManager;
class QNSecurityPolicy;

class QNHTTPRequestOperationManager : public foundation::Coding {
public:
    using Success = QNHTTPRequestOperation::Success;
    // The operation is null when the request could not be built.
    using Failure = QNHTTPRequestOperation::Failure;

    // A base URL with a path gains a trailing "/" so that relative strings
    // resolve below its last segment.
    explicit QNHTTPRequestOperationManager(std::optional<foundation::URL> baseURL = std::nullopt);
    static std::shared_ptr<QNHTTPRequestOperationManager> manager();

    const std::optional<foundation::URL>& baseURL() const { return baseURL_; }
    const std::shared_ptr<QNHTTPRequestSerializer>& requestSerializer() const { return requestSerializer_; }
    void setRequestSerializer(std::shared_ptr<QNHTTPRequestSerializer> s) { requestSerializer_ = std::move(s); }
    const std::shared_ptr<QNHTTPResponseSerializer>& responseSerializer() const { return responseSerializer_; }
    void setResponseSerializer(std::shared_ptr<QNHTTPResponseSerializer> s) { responseSerializer_ = std::move(s); }
    const foundation::OperationQueuePtr& operationQueue() const { return operationQueue_; }
    bool shouldUseCredentialStorage() const { return shouldUseCredentialStorage_; }
    void setShouldUseCredentialStorage(bool use) { shouldUseCredentialStorage_ = use; }
    const foundation::URLCredentialPtr& credential() const { return credential_; }
    void setCredential(foundation::URLCredentialPtr credential) { credential_ = std::move(credential); }
    const std::shared_ptr<QNSecurityPolicy>& securityPolicy() const { return securityPolicy_; }
    void setSecurityPolicy(std::shared_ptr<QNSecurityPolicy> policy) { securityPolicy_ = std::move(policy); }
    // The shared reachability manager unless another was set.
    QNNetworkReachabilityManager& reachabilityManager() const;
    void setReachabilityManager(QNNetworkReachabilityManager* manager) { reachabilityManager_ = manager; }
    const dispatch::QueuePtr& completionQueue() const { return completionQueue_; }
    void setCompletionQueue(dispatch::QueuePtr queue) { completionQueue_ = std::move(queue); }
    const dispatch::GroupPtr& completionGroup() const { return completionGroup_; }
    void setCompletionGroup(dispatch::GroupPtr group) { completionGroup_ = std::move(group); }

    // Configured, not queued.
    QNHTTPRequestOperationPtr HTTPRequestOperationWithRequest(const foundation::URLRequest& request, Success success,
                                                              Failure failure) const;
    // Null (failure called with no operation) when the request cannot be built.
    QNHTTPRequestOperationPtr HTTPRequestOperationWithHTTPMethod(const std::string& method,
                                                                 const std::string& URLString,
                                                                 const foundation::Value& parameters, Success success,
                                                                 Failure failure) const;

    // Queued at once; null when the request could not be built.
    QNHTTPRequestOperationPtr GET(const std::string& URLString, const foundation::Value& parameters, Success success,
                                  Failure failure);
    QNHTTPRequestOperationPtr HEAD(const std::string& URLString, const foundation::Value& parameters,
                                   std::function<void(const QNHTTPRequestOperationPtr&)> success, Failure failure);
    QNHTTPRequestOperationPtr POST(const std::string& URLString, const foundation::Value& parameters, Success success,
                                   Failure failure);
    QNHTTPRequestOperationPtr POST(const std::string& URLString, const foundation::Value& parameters,
                                   const std::function<void(QNMultipartFormData&)>& block, Success success,
                                   Failure failure);
    QNHTTPRequestOperationPtr PUT(const std::string& URLString, const foundation::Value& parameters, Success success,
                                  Failure failure);
    QNHTTPRequestOperationPtr PATCH(const std::string& URLString, const foundation::Value& parameters,
                                    Success success, Failure failure);
    QNHTTPRequestOperationPtr DELETE(const std::string& URLString, const foundation::Value& parameters,
                                     Success success, Failure failure);

    std::string className() const override { return kClassName; }
    std::string description() const override;
    // Same base URL, copies of both serializers, everything else as new.
    std::shared_ptr<QNHTTPRequestOperationManager> copy() const;

    // Archives keep the base URL and both serializers. Register before
    // unarchiving (the serializers' classes are registered with it).
    static constexpr const char* kClassName = "QNHTTPRequestOperationManager";
    static void registerArchiveClass();
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNHTTPRequestOperationManager> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    std::string absoluteURLString(const std::string& URLString) const;
    void failWithoutOperation(const Failure& failure, const foundation::ErrorPtr& error) const;
    QNHTTPRequestOperationPtr enqueue(QNHTTPRequestOperationPtr operation);

    std::optional<foundation::URL> baseURL_;
    std::shared_ptr<QNHTTPRequestSerializer> requestSerializer_;
    std::shared_ptr<QNHTTPResponseSerializer> responseSerializer_;
    foundation::OperationQueuePtr operationQueue_;
    bool shouldUseCredentialStorage_ = true;
    foundation::URLCredentialPtr credential_;
    std::shared_ptr<QNSecurityPolicy> securityPolicy_;
    QNNetworkReachabilityManager* reachabilityManager_ = nullptr;
    dispatch::QueuePtr completionQueue_;
    dispatch::GroupPtr completionGroup_;
};

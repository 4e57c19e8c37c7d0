// The session manager of one web service: a base URL that relative paths
// resolve against, a request serializer that turns (method, URL string,
// parameters) into a request, and one operation per HTTP verb that builds
// the request, makes a data task with success and failure blocks and starts
// it. A base URL whose path does not end in "/" gets one, so that "events"
// on "https://host/api/v1" resolves to "https://host/api/v1/events".
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "foundation/Value.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNURLSessionManager.h"

class QNHTTPSessionManager : public QNURLSessionManager {
public:
    using Success =
        std::function<void(const foundation::URLSessionDataTaskPtr& task, const foundation::Value& responseObject)>;
    // The task is null when the request could not be built.
    using Failure =
        std::function<void(const foundation::URLSessionDataTaskPtr& task, const foundation::ErrorPtr& error)>;
    using HeadSuccess = std::function<void(const foundation::URLSessionDataTaskPtr& task)>;

    static std::shared_ptr<QNHTTPSessionManager> manager() { return make<QNHTTPSessionManager>(); }
    static std::shared_ptr<QNHTTPSessionManager> managerWithBaseURL(
        std::optional<foundation::URL> baseURL,
        std::optional<foundation::URLSessionConfiguration> configuration = std::nullopt) {
        return make<QNHTTPSessionManager>(std::move(baseURL), std::move(configuration));
    }

    // Made through make<T>() (see QNURLSessionManager).
    explicit QNHTTPSessionManager(std::optional<foundation::URL> baseURL = std::nullopt,
                                  std::optional<foundation::URLSessionConfiguration> configuration = std::nullopt);

    const std::optional<foundation::URL>& baseURL() const { return baseURL_; }
    std::shared_ptr<QNHTTPRequestSerializer> requestSerializer() const;
    void setRequestSerializer(std::shared_ptr<QNHTTPRequestSerializer> serializer);

    // Each builds the request, makes the data task and resumes it; nothing
    // when the request cannot be built (the failure block then runs later,
    // on the completion queue, with no task).
    foundation::URLSessionDataTaskPtr GET(const std::string& URLString, const foundation::Value& parameters,
                                          Success success, Failure failure);
    foundation::URLSessionDataTaskPtr HEAD(const std::string& URLString, const foundation::Value& parameters,
                                           HeadSuccess success, Failure failure);
    foundation::URLSessionDataTaskPtr POST(const std::string& URLString, const foundation::Value& parameters,
                                           Success success, Failure failure);
    // The multipart variant: the body is built by `block` and streamed
    // through an upload task, which is returned already resumed.
    foundation::URLSessionDataTaskPtr POST(const std::string& URLString, const foundation::Value& parameters,
                                           const std::function<void(QNMultipartFormData&)>& block, Success success,
                                           Failure failure);
    foundation::URLSessionDataTaskPtr PUT(const std::string& URLString, const foundation::Value& parameters,
                                          Success success, Failure failure);
    foundation::URLSessionDataTaskPtr PATCH(const std::string& URLString, const foundation::Value& parameters,
                                            Success success, Failure failure);
    foundation::URLSessionDataTaskPtr DELETE(const std::string& URLString, const foundation::Value& parameters,
                                             Success success, Failure failure);
    // The shared builder of the verbs; the task is returned suspended.
    foundation::URLSessionDataTaskPtr dataTaskWithHTTPMethod(const std::string& method, const std::string& URLString,
                                                             const foundation::Value& parameters, Success success,
                                                             Failure failure);

    static constexpr const char* kClassName = "QNHTTPSessionManager";
    std::string className() const override { return kClassName; }
    std::string description() const override;

    // The archive adds the base URL and both serializers (which must be
    // archivable ones to come back).
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNHTTPSessionManager> initWithCoder(const foundation::KeyedUnarchiver& coder);
    // The base URL, the configuration and copies of both serializers.
    std::shared_ptr<QNURLSessionManager> copy() const override;

private:
    std::string absoluteURLString(const std::string& URLString) const;
    // Reports a request that could not be built: no task, on the completion queue.
    void failWithoutTask(Failure failure, const foundation::ErrorPtr& error) const;
    // Routes a task's completion to the success or failure block.
    static CompletionHandler completionFor(std::shared_ptr<std::weak_ptr<foundation::URLSessionDataTask>> slot,
                                           Success success, Failure failure);

    std::optional<foundation::URL> baseURL_;
    mutable std::mutex serializerMutex_;
    std::shared_ptr<QNHTTPRequestSerializer> requestSerializer_;
};

// The session manager: making and registering tasks, forwarding session
// callbacks to the task delegates, server trust, the resume and suspend
// notifications, and the archived form.
//
// The resume and suspend of every platform task are heard through the task
// class's lifecycle observer, installed once per process when the first
// manager is made; it re-posts them as the "nsurlsessiontask" notifications,
// from which each manager picks its own tasks by their description.
#include "http/QNURLSessionManager.h"

#include <mutex>

#include "dispatch/Semaphore.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/Value.h"
#include "http/QNHTTPSessionManager.h"
#include "http/QNJSONResponseSerializer.h"
#include "http/QNNetworking.h"
#include "http/QNSerializerArchiving.h"

using namespace foundation;

namespace {

constexpr const char* kSessionConfigurationKey = "sessionConfiguration";
constexpr int kBackgroundUploadRetries = 3;

void installTaskLifecycleNotifications() {
    static std::once_flag once;
    std::call_once(once, [] {
        URLSessionTask::addLifecycleObserver([](const URLSessionTaskPtr& task, URLSessionTask::LifecycleEvent event) {
            const char* name = event == URLSessionTask::LifecycleEvent::Resumed
                                   ? kQNNSURLSessionTaskDidResumeNotification
                                   : kQNNSURLSessionTaskDidSuspendNotification;
            NotificationCenter::defaultCenter().postNotificationName(name, Value(task));
        });
    });
}

// A session configuration in a keyed archive: what of it this platform has
// (a background session's identifier, the request timeout, the additional
// header fields and the connections per host).
class SessionConfigurationArchive : public Coding {
public:
    static constexpr const char* kClassName = "NSURLSessionConfiguration";
    explicit SessionConfigurationArchive(URLSessionConfiguration configuration)
        : configuration_(std::move(configuration)) {}
    const URLSessionConfiguration& configuration() const { return configuration_; }
    std::string className() const override { return kClassName; }

    void encodeWithCoder(KeyedArchiver& coder) const override {
        if (configuration_.identifier()) coder.encodeObject(Value(*configuration_.identifier()), "identifier");
        coder.encodeDouble(configuration_.timeoutIntervalForRequest(), "timeoutIntervalForRequest");
        Value::Dictionary headers;
        for (const auto& [name, value] : configuration_.HTTPAdditionalHeaders().all()) headers[name] = Value(value);
        coder.encodeObject(Value(std::move(headers)), "HTTPAdditionalHeaders");
        coder.encodeInt32(configuration_.HTTPMaximumConnectionsPerHost(), "HTTPMaximumConnectionsPerHost");
    }
    static ObjectPtr initWithCoder(KeyedUnarchiver& coder) {
        auto identifier = coder.decodeStringForKey("identifier");
        URLSessionConfiguration configuration =
            identifier ? URLSessionConfiguration::backgroundSessionConfigurationWithIdentifier(*identifier)
                       : URLSessionConfiguration::defaultSessionConfiguration();
        if (coder.containsValueForKey("timeoutIntervalForRequest"))
            configuration.setTimeoutIntervalForRequest(coder.decodeDoubleForKey("timeoutIntervalForRequest"));
        if (const auto* fields = coder.decodeObjectForKey("HTTPAdditionalHeaders").dictionary()) {
            HTTPHeaders headers;
            for (const auto& [name, value] : *fields)
                if (value.isString()) headers.set(name, value.stringValue());
            configuration.setHTTPAdditionalHeaders(std::move(headers));
        }
        if (coder.containsValueForKey("HTTPMaximumConnectionsPerHost"))
            configuration.setHTTPMaximumConnectionsPerHost(
                coder.decodeInt32ForKey("HTTPMaximumConnectionsPerHost"));
        return std::make_shared<SessionConfigurationArchive>(std::move(configuration));
    }

private:
    URLSessionConfiguration configuration_;
};

int64_t expectedLengthOf(const URLSessionTaskPtr& task, int64_t expected) {
    if (expected != kURLSessionTransferSizeUnknown) return expected;
    if (auto length = task->originalRequest().valueForHTTPHeaderField("Content-Length"))
        return NumberParsing::longLongValue(*length);
    return expected;
}

}  // namespace

std::optional<URLSessionConfiguration> QNDecodeSessionConfiguration(const KeyedUnarchiver& coder,
                                                                    const std::string& key) {
    if (auto archive = coder.decodeObjectOfClass<SessionConfigurationArchive>(key)) return archive->configuration();
    return std::nullopt;
}

void QNEncodeSessionConfiguration(KeyedArchiver& coder, const URLSessionConfiguration& configuration,
                                  const std::string& key) {
    coder.encodeObject(Value(std::make_shared<SessionConfigurationArchive>(configuration)), key);
}

void QNRegisterSessionManagerArchiveClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        QNRegisterSerializerArchiveClasses();
        KeyedArchiver::registerClass(SessionConfigurationArchive::kClassName,
                                     &SessionConfigurationArchive::initWithCoder);
        KeyedArchiver::registerClass(QNURLSessionManager::kClassName, [](KeyedUnarchiver& coder) -> ObjectPtr {
            return QNURLSessionManager::initWithCoder(coder);
        });
        KeyedArchiver::registerClass(QNHTTPSessionManager::kClassName, [](KeyedUnarchiver& coder) -> ObjectPtr {
            return QNHTTPSessionManager::initWithCoder(coder);
        });
    });
}

// --- Process-wide objects -----------------------------------------------------

const dispatch::QueuePtr& QNURLSessionManager::taskCreationQueue() {
    static const auto* queue =
        new dispatch::QueuePtr(dispatch::Queue::createSerial(kQNSessionManagerCreationQueueLabel));
    return *queue;
}

const dispatch::QueuePtr& QNURLSessionManager::processingQueue() {
    static const auto* queue =
        new dispatch::QueuePtr(dispatch::Queue::createConcurrent(kQNSessionManagerProcessingQueueLabel));
    return *queue;
}

const dispatch::GroupPtr& QNURLSessionManager::sharedCompletionGroup() {
    static const auto* group = new dispatch::GroupPtr(dispatch::Group::create());
    return *group;
}

// --- Making a manager ---------------------------------------------------------

QNURLSessionManager::QNURLSessionManager(std::optional<URLSessionConfiguration> configuration)
    : configuration_(configuration.value_or(URLSessionConfiguration::defaultSessionConfiguration())),
      operationQueue_(OperationQueue::create()),
      taskDescription_(Format("%p", static_cast<const void*>(this))),
      responseSerializer_(QNJSONResponseSerializer::serializer()),
      securityPolicy_(QNSecurityPolicy::defaultPolicy()),
      reachabilityManager_(QNNetworkReachabilityManager::sharedManager().shared_from_this()) {
    operationQueue_->setMaxConcurrentOperationCount(1);
}

void QNURLSessionManager::attachSession() {
    session_ = URLSession::sessionWithConfiguration(configuration_, self(), operationQueue_);
    std::weak_ptr<QNURLSessionManager> weak = self();
    // Tasks a session already has when its manager arrives get a delegate
    // too (a fresh session of this platform has none, a background one would).
    session_->getTasksWithCompletionHandler([weak](std::vector<URLSessionDataTaskPtr> data,
                                                   std::vector<URLSessionUploadTaskPtr> upload,
                                                   std::vector<URLSessionDownloadTaskPtr> download) {
        auto manager = weak.lock();
        if (!manager) return;
        for (const auto& task : data) manager->addDelegateForDataTask(task, nullptr);
        for (const auto& task : upload) manager->addDelegateForUploadTask(task, nullptr, nullptr);
        for (const auto& task : download) manager->addDelegateForDownloadTask(task, nullptr, nullptr, nullptr);
    });
    installTaskLifecycleNotifications();
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(
        this,
        [weak](const Notification& n) {
            if (auto manager = weak.lock()) manager->taskLifecycleChanged(n, kQNNetworkingTaskDidResumeNotification);
        },
        kQNNSURLSessionTaskDidResumeNotification);
    center.addObserver(
        this,
        [weak](const Notification& n) {
            if (auto manager = weak.lock()) manager->taskLifecycleChanged(n, kQNNetworkingTaskDidSuspendNotification);
        },
        kQNNSURLSessionTaskDidSuspendNotification);
}

QNURLSessionManager::~QNURLSessionManager() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<QNURLSessionManager> QNURLSessionManager::self() {
    return std::static_pointer_cast<QNURLSessionManager>(shared_from_this());
}

const URLSessionPtr& QNURLSessionManager::requireSession() const {
    if (!session_)
        raise(kInternalInconsistencyException, "QNURLSessionManager used without a session: make it with make<T>()");
    return session_;
}

std::string QNURLSessionManager::description() const {
    return Format("<%@: %p, session: %@, operationQueue: %@>", className(), static_cast<const void*>(this),
                  session_ ? session_->description() : std::string("(null)"), operationQueue_->description());
}

// --- Properties ---------------------------------------------------------------

std::shared_ptr<QNURLResponseSerialization> QNURLSessionManager::responseSerializer() const {
    std::lock_guard lock(mutex_);
    return responseSerializer_;
}

void QNURLSessionManager::setResponseSerializer(std::shared_ptr<QNURLResponseSerialization> serializer) {
    std::lock_guard lock(mutex_);
    responseSerializer_ = std::move(serializer);
}

std::shared_ptr<QNSecurityPolicy> QNURLSessionManager::securityPolicy() const {
    std::lock_guard lock(mutex_);
    return securityPolicy_;
}

void QNURLSessionManager::setSecurityPolicy(std::shared_ptr<QNSecurityPolicy> policy) {
    std::lock_guard lock(mutex_);
    securityPolicy_ = std::move(policy);
}

std::shared_ptr<QNNetworkReachabilityManager> QNURLSessionManager::reachabilityManager() const {
    std::lock_guard lock(mutex_);
    return reachabilityManager_;
}

void QNURLSessionManager::setReachabilityManager(std::shared_ptr<QNNetworkReachabilityManager> manager) {
    std::lock_guard lock(mutex_);
    reachabilityManager_ = std::move(manager);
}

dispatch::QueuePtr QNURLSessionManager::completionQueue() const {
    std::lock_guard lock(mutex_);
    return completionQueue_;
}

dispatch::QueuePtr QNURLSessionManager::deliveryQueue() const {
    dispatch::QueuePtr queue = completionQueue();
    return queue ? queue : dispatch::Queue::main();
}

void QNURLSessionManager::setCompletionQueue(dispatch::QueuePtr queue) {
    std::lock_guard lock(mutex_);
    completionQueue_ = std::move(queue);
}

dispatch::GroupPtr QNURLSessionManager::completionGroup() const {
    std::lock_guard lock(mutex_);
    return completionGroup_;
}

void QNURLSessionManager::setCompletionGroup(dispatch::GroupPtr group) {
    std::lock_guard lock(mutex_);
    completionGroup_ = std::move(group);
}

bool QNURLSessionManager::attemptsToRecreateUploadTasksForBackgroundSessions() const {
    std::lock_guard lock(mutex_);
    return attemptsToRecreateUploadTasks_;
}

void QNURLSessionManager::setAttemptsToRecreateUploadTasksForBackgroundSessions(bool attempts) {
    std::lock_guard lock(mutex_);
    attemptsToRecreateUploadTasks_ = attempts;
}

#define QN_HOOK_SETTER(Setter, Type, member)       \
    void QNURLSessionManager::Setter(Type block) { \
        std::lock_guard lock(mutex_);              \
        hooks_.member = std::move(block);          \
    }
QN_HOOK_SETTER(setSessionDidBecomeInvalidBlock, SessionDidBecomeInvalidBlock, sessionDidBecomeInvalid)
QN_HOOK_SETTER(setSessionDidReceiveAuthenticationChallengeBlock, SessionDidReceiveAuthenticationChallengeBlock,
               sessionDidReceiveChallenge)
QN_HOOK_SETTER(setTaskWillPerformHTTPRedirectionBlock, TaskWillPerformHTTPRedirectionBlock,
               taskWillPerformHTTPRedirection)
QN_HOOK_SETTER(setTaskDidReceiveAuthenticationChallengeBlock, TaskDidReceiveAuthenticationChallengeBlock,
               taskDidReceiveChallenge)
QN_HOOK_SETTER(setTaskNeedNewBodyStreamBlock, TaskNeedNewBodyStreamBlock, taskNeedNewBodyStream)
QN_HOOK_SETTER(setTaskDidSendBodyDataBlock, TaskDidSendBodyDataBlock, taskDidSendBodyData)
QN_HOOK_SETTER(setTaskDidCompleteBlock, TaskDidCompleteBlock, taskDidComplete)
QN_HOOK_SETTER(setDataTaskDidReceiveResponseBlock, DataTaskDidReceiveResponseBlock, dataTaskDidReceiveResponse)
QN_HOOK_SETTER(setDataTaskDidBecomeDownloadTaskBlock, DataTaskDidBecomeDownloadTaskBlock, dataTaskDidBecomeDownloadTask)
QN_HOOK_SETTER(setDataTaskDidReceiveDataBlock, DataTaskDidReceiveDataBlock, dataTaskDidReceiveData)
QN_HOOK_SETTER(setDownloadTaskDidFinishDownloadingBlock, DownloadTaskDidFinishDownloadingBlock,
               downloadTaskDidFinishDownloading)
QN_HOOK_SETTER(setDownloadTaskDidWriteDataBlock, DownloadTaskDidWriteDataBlock, downloadTaskDidWriteData)
QN_HOOK_SETTER(setDownloadTaskDidResumeBlock, DownloadTaskDidResumeBlock, downloadTaskDidResume)
#undef QN_HOOK_SETTER

// --- Task lists ---------------------------------------------------------------

std::optional<std::vector<URLSessionTaskPtr>> QNURLSessionManager::tasksForKeyPath(const std::string& keyPath) const {
    if (keyPath != "tasks" && keyPath != "dataTasks" && keyPath != "uploadTasks" && keyPath != "downloadTasks")
        return std::nullopt;
    if (OperationQueue::currentQueue() == operationQueue_)
        raise(kInternalInconsistencyException, "task lists asked for on the session's own delegate queue");
    std::vector<URLSessionTaskPtr> result;
    dispatch::Semaphore answered(0);
    requireSession()->getTasksWithCompletionHandler([&](std::vector<URLSessionDataTaskPtr> data,
                                                        std::vector<URLSessionUploadTaskPtr> upload,
                                                        std::vector<URLSessionDownloadTaskPtr> download) {
        if (keyPath == "dataTasks" || keyPath == "tasks") result.insert(result.end(), data.begin(), data.end());
        if (keyPath == "uploadTasks" || keyPath == "tasks") result.insert(result.end(), upload.begin(), upload.end());
        if (keyPath == "downloadTasks" || keyPath == "tasks")
            result.insert(result.end(), download.begin(), download.end());
        answered.signal();
    });
    answered.wait(dispatch::kWaitForever);
    return result;
}

std::vector<URLSessionTaskPtr> QNURLSessionManager::tasks() const {
    return *tasksForKeyPath("tasks");
}

std::vector<URLSessionTaskPtr> QNURLSessionManager::dataTasks() const {
    return *tasksForKeyPath("dataTasks");
}

std::vector<URLSessionTaskPtr> QNURLSessionManager::uploadTasks() const {
    return *tasksForKeyPath("uploadTasks");
}

std::vector<URLSessionTaskPtr> QNURLSessionManager::downloadTasks() const {
    return *tasksForKeyPath("downloadTasks");
}

// --- Task creation ------------------------------------------------------------

URLSessionDataTaskPtr QNURLSessionManager::dataTaskWithRequest(const URLRequest& request,
                                                               CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionDataTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->dataTaskWithRequest(request); });
    addDelegateForDataTask(task, std::move(completionHandler));
    return task;
}

URLSessionDataTaskPtr QNURLSessionManager::dataTaskWithRequest(const URLRequest& request,
                                                               ResponseHandler didReceiveResponse,
                                                               CompletionHandler completionHandler,
                                                               dispatch::QueuePtr completionQueue) {
    auto task = dataTaskWithRequest(request, std::move(completionHandler));
    task->setHeadObserver(std::move(didReceiveResponse));
    if (auto delegate = delegateForTask(task)) delegate->setCompletionQueue(std::move(completionQueue));
    return task;
}

void QNURLSessionManager::setResponseSerializerForTask(const foundation::URLSessionTaskPtr& task,
                                                       std::shared_ptr<QNURLResponseSerialization> serializer) const {
    if (auto delegate = delegateForTask(task)) delegate->setResponseSerializer(std::move(serializer));
}

URLSessionDataTaskPtr QNURLSessionManager::dataTaskIfValidWithRequest(const URLRequest& request,
                                                                      ResponseHandler didReceiveResponse,
                                                                      CompletionHandler completionHandler,
                                                                      dispatch::QueuePtr completionQueue) {
    const auto& session = requireSession();
    URLSessionDataTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->dataTaskWithRequestIfValid(request); });
    if (!task) return nullptr;
    addDelegateForDataTask(task, std::move(completionHandler));
    task->setHeadObserver(std::move(didReceiveResponse));
    if (auto delegate = delegateForTask(task)) delegate->setCompletionQueue(std::move(completionQueue));
    return task;
}

URLSessionUploadTaskPtr QNURLSessionManager::uploadTaskWithRequest(const URLRequest& request, const URL& fromFile,
                                                                   QNURLSessionManagerProgressPtr* progress,
                                                                   CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionUploadTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->uploadTaskWithRequest(request, fromFile); });
    // Background sessions may fail to make an upload task at first.
    if (!task && attemptsToRecreateUploadTasksForBackgroundSessions() && configuration_.identifier()) {
        for (int attempt = 0; !task && attempt < kBackgroundUploadRetries; ++attempt)
            task = session->uploadTaskWithRequest(request, fromFile);
    }
    if (task) addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

URLSessionUploadTaskPtr QNURLSessionManager::uploadTaskWithRequest(const URLRequest& request, const Data& fromData,
                                                                   QNURLSessionManagerProgressPtr* progress,
                                                                   CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionUploadTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->uploadTaskWithRequest(request, fromData); });
    addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

URLSessionUploadTaskPtr QNURLSessionManager::uploadTaskWithStreamedRequest(const URLRequest& request,
                                                                           QNURLSessionManagerProgressPtr* progress,
                                                                           CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionUploadTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->uploadTaskWithStreamedRequest(request); });
    addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

URLSessionDownloadTaskPtr QNURLSessionManager::downloadTaskWithRequest(const URLRequest& request,
                                                                       QNURLSessionManagerProgressPtr* progress,
                                                                       Destination destination,
                                                                       CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionDownloadTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->downloadTaskWithRequest(request); });
    addDelegateForDownloadTask(task, progress, std::move(destination), std::move(completionHandler));
    return task;
}

// --- Task delegates -----------------------------------------------------------

QNURLSessionManager::TaskDelegatePtr QNURLSessionManager::delegateForTask(const URLSessionTaskPtr& task) const {
    if (!task) return nullptr;
    std::lock_guard lock(delegatesMutex_);
    auto it = delegates_.find(task->taskIdentifier());
    return it == delegates_.end() ? nullptr : it->second;
}

void QNURLSessionManager::setDelegate(TaskDelegatePtr delegate, const URLSessionTaskPtr& task) {
    if (!task || !delegate) return;
    std::lock_guard lock(delegatesMutex_);
    delegates_[task->taskIdentifier()] = std::move(delegate);
}

void QNURLSessionManager::removeDelegateForTask(const URLSessionTaskPtr& task) {
    if (!task) return;
    std::lock_guard lock(delegatesMutex_);
    delegates_.erase(task->taskIdentifier());
}

void QNURLSessionManager::removeAllDelegates() {
    std::lock_guard lock(delegatesMutex_);
    delegates_.clear();
}

QNURLSessionManager::TaskDelegatePtr QNURLSessionManager::makeTaskDelegate(CompletionHandler completionHandler) {
    auto delegate = std::make_shared<QNURLSessionManagerTaskDelegate>(self());
    delegate->setCompletionHandler(std::move(completionHandler));
    return delegate;
}

void QNURLSessionManager::registerTaskDelegate(TaskDelegatePtr delegate, QNURLSessionManagerProgressPtr* progress,
                                               const URLSessionTaskPtr& task) {
    if (progress) *progress = delegate->progress();
    task->setTaskDescription(taskDescription_);
    setDelegate(std::move(delegate), task);
}

void QNURLSessionManager::addDelegateForDataTask(const URLSessionTaskPtr& task, CompletionHandler completionHandler) {
    registerTaskDelegate(makeTaskDelegate(std::move(completionHandler)), nullptr, task);
}

void QNURLSessionManager::addDelegateForUploadTask(const URLSessionTaskPtr& task,
                                                   QNURLSessionManagerProgressPtr* progress,
                                                   CompletionHandler completionHandler) {
    auto delegate = makeTaskDelegate(std::move(completionHandler));
    const auto& taskProgress = delegate->progress();
    taskProgress->setTotalUnitCount(expectedLengthOf(task, task->countOfBytesExpectedToSend()));
    std::weak_ptr<URLSessionTask> weakTask = task;
    taskProgress->setPausingHandler([weakTask] {
        if (auto t = weakTask.lock()) t->suspend();
    });
    taskProgress->setCancellationHandler([weakTask] {
        if (auto t = weakTask.lock()) t->cancel();
    });
    registerTaskDelegate(std::move(delegate), progress, task);
}

void QNURLSessionManager::addDelegateForDownloadTask(const URLSessionDownloadTaskPtr& task,
                                                     QNURLSessionManagerProgressPtr* progress, Destination destination,
                                                     CompletionHandler completionHandler) {
    auto delegate = makeTaskDelegate(std::move(completionHandler));
    if (destination) {
        delegate->setDownloadTaskDidFinishDownloading(
            [destination = std::move(destination)](const URLSessionPtr&, const URLSessionDownloadTaskPtr& downloadTask,
                                                   const URL& location) {
                return destination(location, downloadTask->response());
            });
    }
    registerTaskDelegate(std::move(delegate), progress, task);
}

QNURLSessionManagerProgressPtr QNURLSessionManager::uploadProgressForTask(const URLSessionTaskPtr& task) const {
    auto delegate = delegateForTask(task);
    return delegate ? delegate->progress() : nullptr;
}

QNURLSessionManagerProgressPtr QNURLSessionManager::downloadProgressForTask(const URLSessionTaskPtr& task) const {
    return uploadProgressForTask(task);
}

void QNURLSessionManager::invalidateSessionCancelingTasks(bool cancelPendingTasks) {
    URLSessionPtr session = requireSession();
    dispatch::Queue::main()->async([session, cancelPendingTasks] {
        if (cancelPendingTasks)
            session->invalidateAndCancel();
        else
            session->finishTasksAndInvalidate();
    });
}

void QNURLSessionManager::taskLifecycleChanged(const Notification& notification, const char* postedName) {
    auto task = notification.object.objectAs<URLSessionTask>();
    if (!task || task->taskDescription() != taskDescription_) return;
    // Nobody to tell (the activity indicator is the usual listener): no hop
    // to the main queue for each request.
    if (!NotificationCenter::defaultCenter().hasObserversForName(postedName)) return;
    std::string name = postedName;
    dispatch::Queue::main()->async(
        [name, task] { NotificationCenter::defaultCenter().postNotificationName(name, Value(task)); });
}

// --- Session delegate ---------------------------------------------------------

void QNURLSessionManager::didBecomeInvalidWithError(const URLSessionPtr& session, const ErrorPtr& error) {
    if (auto block = hook(&Hooks::sessionDidBecomeInvalid)) block(session, error);
    removeAllDelegates();
    NotificationCenter::defaultCenter().postNotificationName(kQNURLSessionDidInvalidateNotification, Value(session));
}

std::pair<URLSessionAuthChallengeDisposition, URLCredentialPtr> QNURLSessionManager::evaluateChallenge(
    const URLAuthenticationChallengePtr& challenge, bool taskLevel) const {
    const URLProtectionSpace& space = challenge->protectionSpace();
    if (space.authenticationMethod() != kURLAuthenticationMethodServerTrust)
        return {URLSessionAuthChallengeDisposition::PerformDefaultHandling, nullptr};
    auto policy = securityPolicy();
    security::TrustPtr trust =
        space.serverTrust() ? security::Trust::createWithServerTrust(*space.serverTrust()) : nullptr;
    if (!policy || !trust || !policy->evaluateServerTrust(*trust, space.host()))
        return {URLSessionAuthChallengeDisposition::CancelAuthenticationChallenge, nullptr};
    URLCredentialPtr credential = URLCredential::credentialForTrust(space.serverTrust());
    if (taskLevel || credential) return {URLSessionAuthChallengeDisposition::UseCredential, credential};
    return {URLSessionAuthChallengeDisposition::PerformDefaultHandling, nullptr};
}

void QNURLSessionManager::didReceiveChallenge(const URLSessionPtr& session,
                                              const URLAuthenticationChallengePtr& challenge,
                                              URLSessionChallengeCompletion completion) {
    URLSessionAuthChallengeDisposition disposition;
    URLCredentialPtr credential;
    if (auto block = hook(&Hooks::sessionDidReceiveChallenge))
        disposition = block(session, challenge, &credential);
    else
        std::tie(disposition, credential) = evaluateChallenge(challenge, false);
    if (completion) completion(disposition, credential);
}

void QNURLSessionManager::taskDidReceiveChallenge(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                                  const URLAuthenticationChallengePtr& challenge,
                                                  URLSessionChallengeCompletion completion) {
    URLSessionAuthChallengeDisposition disposition;
    URLCredentialPtr credential;
    if (auto block = hook(&Hooks::taskDidReceiveChallenge))
        disposition = block(session, task, challenge, &credential);
    else
        std::tie(disposition, credential) = evaluateChallenge(challenge, true);
    if (completion) completion(disposition, credential);
}

void QNURLSessionManager::willPerformHTTPRedirection(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                                     const std::shared_ptr<HTTPURLResponse>& response,
                                                     URLRequest newRequest,
                                                     std::function<void(std::optional<URLRequest>)> completion) {
    if (auto block = hook(&Hooks::taskWillPerformHTTPRedirection))
        completion(block(session, task, response, newRequest));
    else
        completion(std::move(newRequest));
}

void QNURLSessionManager::needNewBodyStream(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                            std::function<void(InputStreamPtr)> completion) {
    // No stream of this platform can be copied, so without a hook there is
    // no second stream to offer.
    if (auto block = hook(&Hooks::taskNeedNewBodyStream))
        completion(block(session, task));
    else
        completion(nullptr);
}

void QNURLSessionManager::didSendBodyData(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                          int64_t bytesSent, int64_t totalBytesSent, int64_t totalBytesExpectedToSend) {
    int64_t expected = expectedLengthOf(task, totalBytesExpectedToSend);
    if (auto delegate = delegateForTask(task)) delegate->didSendBodyData(totalBytesSent, expected);
    if (auto block = hook(&Hooks::taskDidSendBodyData)) block(session, task, bytesSent, totalBytesSent, expected);
}

void QNURLSessionManager::didCompleteWithError(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                               const ErrorPtr& error) {
    if (auto delegate = delegateForTask(task)) {
        delegate->didCompleteWithError(session, task, error);
        removeDelegateForTask(task);
    }
    if (auto block = hook(&Hooks::taskDidComplete)) block(session, task, error);
}

void QNURLSessionManager::didReceiveResponse(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                             const std::shared_ptr<URLResponse>& response,
                                             std::function<void(URLSessionResponseDisposition)> completion) {
    if (auto delegate = delegateForTask(dataTask)) delegate->didReceiveResponse(response);
    if (auto block = hook(&Hooks::dataTaskDidReceiveResponse))
        completion(block(session, dataTask, response));
    else
        completion(URLSessionResponseDisposition::Allow);
}

void QNURLSessionManager::didBecomeDownloadTask(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                                const URLSessionDownloadTaskPtr& downloadTask) {
    if (auto delegate = delegateForTask(dataTask)) {
        removeDelegateForTask(dataTask);
        downloadTask->setTaskDescription(taskDescription_);
        setDelegate(std::move(delegate), downloadTask);
    }
    if (auto block = hook(&Hooks::dataTaskDidBecomeDownloadTask)) block(session, dataTask, downloadTask);
}

bool QNURLSessionManager::implementsDidReceiveResponse() const {
    return hook(&Hooks::dataTaskDidReceiveResponse) != nullptr;
}

void QNURLSessionManager::didReceiveData(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                         const Data& data) {
    if (auto delegate = delegateForTask(dataTask)) {
        // Without a response hook the head is not delivered on its own: the
        // body's room is made for its announced size before its first bytes.
        delegate->didReceiveResponse(dataTask->response());
        delegate->didReceiveData(data);
    }
    if (auto block = hook(&Hooks::dataTaskDidReceiveData)) block(session, dataTask, data);
}

void QNURLSessionManager::didFinishDownloadingToURL(const URLSessionPtr& session,
                                                    const URLSessionDownloadTaskPtr& downloadTask,
                                                    const URL& location) {
    auto delegate = delegateForTask(downloadTask);
    if (auto block = hook(&Hooks::downloadTaskDidFinishDownloading)) {
        if (auto destination = block(session, downloadTask, location)) {
            if (delegate) delegate->setDownloadFileURL(*destination);
            ErrorPtr error = QNMoveDownloadedFile(downloadTask, location, *destination);
            if (error && delegate) delegate->setDownloadMoveError(error);
            return;
        }
    }
    if (delegate) delegate->didFinishDownloadingToURL(session, downloadTask, location);
}

void QNURLSessionManager::didWriteData(const URLSessionPtr& session, const URLSessionDownloadTaskPtr& downloadTask,
                                       int64_t bytesWritten, int64_t totalBytesWritten,
                                       int64_t totalBytesExpectedToWrite) {
    if (auto delegate = delegateForTask(downloadTask))
        delegate->didWriteData(totalBytesWritten, totalBytesExpectedToWrite);
    if (auto block = hook(&Hooks::downloadTaskDidWriteData))
        block(session, downloadTask, bytesWritten, totalBytesWritten, totalBytesExpectedToWrite);
}

void QNURLSessionManager::didResumeAtOffset(const URLSessionPtr& session, const URLSessionDownloadTaskPtr& downloadTask,
                                            int64_t fileOffset, int64_t expectedTotalBytes) {
    if (auto delegate = delegateForTask(downloadTask)) delegate->didResumeAtOffset(fileOffset, expectedTotalBytes);
    if (auto block = hook(&Hooks::downloadTaskDidResume)) block(session, downloadTask, fileOffset, expectedTotalBytes);
}

// --- Archive and copy ---------------------------------------------------------

void QNURLSessionManager::encodeWithCoder(KeyedArchiver& coder) const {
    QNEncodeSessionConfiguration(coder, configuration_, kSessionConfigurationKey);
}

std::shared_ptr<QNURLSessionManager> QNURLSessionManager::initWithCoder(const KeyedUnarchiver& coder) {
    return make<QNURLSessionManager>(QNDecodeSessionConfiguration(coder, kSessionConfigurationKey));
}

std::shared_ptr<QNURLSessionManager> QNURLSessionManager::copy() const {
    return make<QNURLSessionManager>(configuration_);
}

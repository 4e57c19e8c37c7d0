// The session manager's downloads from resume data and the hooks whose
// absence leaves the session to its own defaults: redirects, caching and the
// end of a background session's events.
#include "dispatch/Queue.h"
#include "http/QNURLSessionManager.h"

using namespace foundation;

URLSessionDownloadTaskPtr QNURLSessionManager::downloadTaskWithResumeData(const Data& resumeData,
                                                                          QNURLSessionManagerProgressPtr* progress,
                                                                          Destination destination,
                                                                          CompletionHandler completionHandler) {
    const auto& session = requireSession();
    URLSessionDownloadTaskPtr task;
    taskCreationQueue()->sync([&] { task = session->downloadTaskWithResumeData(resumeData); });
    addDelegateForDownloadTask(task, progress, std::move(destination), std::move(completionHandler));
    return task;
}

void QNURLSessionManager::setDataTaskWillCacheResponseBlock(DataTaskWillCacheResponseBlock block) {
    std::lock_guard lock(mutex_);
    hooks_.dataTaskWillCacheResponse = std::move(block);
}

void QNURLSessionManager::setDidFinishEventsForBackgroundURLSessionBlock(
    DidFinishEventsForBackgroundURLSessionBlock block) {
    std::lock_guard lock(mutex_);
    hooks_.didFinishEventsForBackgroundURLSession = std::move(block);
}

bool QNURLSessionManager::implementsWillPerformHTTPRedirection() const {
    return static_cast<bool>(hook(&Hooks::taskWillPerformHTTPRedirection));
}

bool QNURLSessionManager::implementsWillCacheResponse() const {
    return static_cast<bool>(hook(&Hooks::dataTaskWillCacheResponse));
}

bool QNURLSessionManager::implementsDidFinishEventsForBackgroundURLSession() const {
    return static_cast<bool>(hook(&Hooks::didFinishEventsForBackgroundURLSession));
}

void QNURLSessionManager::willCacheResponse(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                            CachedURLResponsePtr proposedResponse,
                                            std::function<void(CachedURLResponsePtr)> completion) {
    if (auto block = hook(&Hooks::dataTaskWillCacheResponse))
        completion(block(session, dataTask, proposedResponse));
    else
        completion(std::move(proposedResponse));
}

void QNURLSessionManager::didFinishEventsForBackgroundURLSession(const URLSessionPtr& session) {
    if (auto block = hook(&Hooks::didFinishEventsForBackgroundURLSession))
        dispatch::Queue::main()->async([block, session] { block(session); });
}

// The network thread's part in continuing downloads from resume data and in
// the session's URL cache.
//
// A cancelled download keeps its temporary file; its resume data names the
// file, how many bytes it holds and the server's validator. The continuing
// task appends to that file after asking for "Range: bytes=N-" with
// "If-Range": a 206 goes on, anything else (the resource changed, or the
// server ignores ranges) starts the file again from zero, so the file is
// always whole and right.
//
// The cache keeps GET responses with status 200 whose "Cache-Control" does
// not say "no-store", after the delegate agreed (when it asks to be asked).
// The default policy answers from the cache only while the stored response
// is fresh by its "max-age"; the return-cache-data policies take whatever
// is kept.
#include <unistd.h>

#include <cstdio>

#include "foundation/URLCache.h"
#include "foundation/URLErrors.h"
#include "foundation/URLResumeData.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionEngine.h"
#include "foundation/URLTransfer.h"

namespace foundation {


void URLSessionDownloadTask::cancelByProducingResumeData(std::function<void(std::optional<Data>)> completionHandler) {
    URLSessionEngine::shared().cancelTaskProducingResumeData(
        std::static_pointer_cast<URLSessionTask>(shared_from_this()), std::move(completionHandler));
}

// --- Resume data ------------------------------------------------------------

void URLSessionEngine::cancelTaskProducingResumeData(URLSessionTaskPtr task,
                                                     std::function<void(std::optional<Data>)> completionHandler) {
    bool cancel;
    {
        std::lock_guard lock(task->mutex_);
        cancel = task->state_ != URLSessionTask::State::Completed && task->state_ != URLSessionTask::State::Canceling;
        if (cancel) task->state_ = URLSessionTask::State::Canceling;
    }
    auto hand = std::make_shared<std::function<void(std::optional<Data>)>>(std::move(completionHandler));
    if (!cancel) {
        deliver(*task, [hand](const URLSessionPtr&, URLSessionDelegate*) {
            if (*hand) (*hand)(std::optional<Data>());
        });
        return;
    }
    post([this, task, hand] {
        std::optional<Data> data;
        if (URLTransfer* t = task->transfer_.get()) data = takeResumeData(*task, *t);
        deliver(*task, [hand, data](const URLSessionPtr&, URLSessionDelegate*) {
            if (*hand) (*hand)(data);
        });
        finish(task, errorFor(*task, URLError::Cancelled));
    });
}

std::optional<Data> URLSessionEngine::takeResumeData(const URLSessionTask& task, URLTransfer& t) {
    if (task.kind() != URLSessionTask::Kind::Download || !t.file || t.filePath.empty() || !t.response) return std::nullopt;
    if ((t.status != 200 && t.status != 206) || t.request.httpMethod() != "GET") return std::nullopt;
    auto entityTag = t.headers.get("ETag");
    auto lastModified = t.headers.get("Last-Modified");
    if (!entityTag && !lastModified) return std::nullopt;
    bool flushed = std::fflush(t.file) == 0;
    std::fclose(t.file);
    t.file = nullptr;
    if (!flushed) return std::nullopt;  // finish() removes the file
    URLResumeInfo info;
    info.request = t.request;
    info.request.setValue(std::nullopt, "Range");
    info.request.setValue(std::nullopt, "If-Range");
    info.filePath = std::move(t.filePath);
    t.filePath.clear();  // the file now belongs to the resume data
    info.bytesReceived = t.written;
    info.entityTag = std::move(entityTag);
    info.lastModified = std::move(lastModified);
    return encodeResumeData(info);
}

bool URLSessionEngine::prepareResumedDownload(const URLSessionTaskPtr& task) {
    if (task->kind() != URLSessionTask::Kind::Download) return true;
    auto& download = static_cast<URLSessionDownloadTask&>(*task);
    if (download.unreadableResumeData_) {
        finish(task, errorFor(*task, URLError::CannotOpenFile));
        return false;
    }
    if (!download.resumeFrom_) return true;
    const URLResumeInfo& info = *download.resumeFrom_;
    URLTransfer& t = *task->transfer_;
    // Whatever lies past the bytes the resume data vouches for is dropped.
    std::FILE* file = nullptr;
    if (::truncate(info.filePath.c_str(), static_cast<off_t>(info.bytesReceived)) == 0)
        file = std::fopen(info.filePath.c_str(), "ab");
    if (!file) {
        finish(task, errorFor(*task, URLError::CannotOpenFile));
        return false;
    }
    t.file = file;
    t.filePath = info.filePath;
    t.written = info.bytesReceived;
    t.resumeOffset = info.bytesReceived;
    t.request.setValue("bytes=" + std::to_string(info.bytesReceived) + "-", "Range");
    t.request.setValue(info.validator(), "If-Range");
    task->setCurrentRequest(t.request);
    return true;
}

void URLSessionEngine::continueResumedDownload(const URLSessionTaskPtr& task, URLTransfer& t) {
    int64_t offset = t.resumeOffset;
    t.resumeOffset = -1;
    if (t.status == 206) {
        task->addBytesReceived(offset);
    } else {
        // The whole body comes again: the file starts over.
        if (t.file) std::fclose(t.file);
        t.file = std::fopen(t.filePath.c_str(), "wb");
        if (!t.file) {
            t.fileFailed = true;
            return;
        }
        t.written = 0;
        offset = 0;
    }
    int64_t length = t.response->expectedContentLength();
    int64_t expected = length >= 0 ? offset + length : kURLSessionTransferSizeUnknown;
    task->setBytesExpectedToReceive(expected);
    auto downloadTask = std::static_pointer_cast<URLSessionDownloadTask>(task);
    deliver(*task, [downloadTask, offset, expected](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionDownloadDelegate*>(delegate))
            d->didResumeAtOffset(session, downloadTask, offset, expected);
    });
}

// --- The URL cache ----------------------------------------------------------

bool URLSessionEngine::answerFromCache(const URLSessionTaskPtr& task) {
    URLTransfer& t = *task->transfer_;
    if (task->kind() != URLSessionTask::Kind::Data || t.request.httpMethod() != "GET") return false;
    auto cache = task->session_->configuration().urlCache();
    CachedURLResponsePtr cached = cache ? cache->usableResponseForRequest(t.request) : nullptr;
    if (!cached) {
        if (t.request.cachePolicy() != URLRequest::CachePolicy::ReturnCacheDataDontLoad) return false;
        finish(task, errorFor(*task, URLError::ResourceUnavailable));
        return true;
    }
    auto response = std::static_pointer_cast<HTTPURLResponse>(cached->response());
    t.fromCache = true;
    t.status = response->statusCode();
    t.headers = response->allHeaderFields();
    t.response = response;
    beginResponse(task);
    if (t.awaitingDisposition) {
        // The delegate's answer lets the body follow, as for a loaded response.
        t.heldBody = cached->data();
        t.doneWhileAwaiting = true;
        return true;
    }
    deliverBody(t, cached->data().bytes(), cached->data().length());
    succeed(task);
    return true;
}

void URLSessionEngine::decideCacheability(const URLSessionTask& task, URLTransfer& t) {
    t.cacheable = false;
    t.cacheBody = Data();
    if (t.fromCache || task.kind() != URLSessionTask::Kind::Data || !t.response) return;
    if (!URLCache::allowsStoring(t.request, *t.response)) return;
    auto cache = task.session_->configuration().urlCache();
    if (!cache) return;
    t.cacheLimit = cache->memoryCapacity() / 20;
    t.cacheable = true;
}

void URLSessionEngine::keepForCache(URLTransfer& t, const uint8_t* bytes, size_t length) {
    if (t.cacheBody.length() + length > t.cacheLimit) {
        t.cacheable = false;
        t.cacheBody = Data();
        return;
    }
    t.cacheBody.append(bytes, length);
}

void URLSessionEngine::offerToCache(const URLSessionTaskPtr& task, URLTransfer& t) {
    t.cacheable = false;
    auto cache = task->session_->configuration().urlCache();
    if (!cache || !t.response) return;
    auto proposed = std::make_shared<const CachedURLResponse>(t.response, std::move(t.cacheBody));
    t.cacheBody = Data();
    URLRequest request = task->originalRequest();
    auto delegate = task->session_->delegate();
    auto* dataDelegate = dynamic_cast<URLSessionDataDelegate*>(delegate.get());
    if (!dataDelegate || !dataDelegate->implementsWillCacheResponse()) {
        cache->storeCachedResponse(proposed, request);
        return;
    }
    auto dataTask = std::static_pointer_cast<URLSessionDataTask>(task);
    deliver(*task, [dataTask, proposed, cache, request](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        auto* d = dynamic_cast<URLSessionDataDelegate*>(delegate);
        if (!d) {
            cache->storeCachedResponse(proposed, request);
            return;
        }
        d->willCacheResponse(session, dataTask, proposed, [cache, request](CachedURLResponsePtr answer) {
            if (answer) cache->storeCachedResponse(std::move(answer), request);
        });
    });
}

}  // namespace foundation

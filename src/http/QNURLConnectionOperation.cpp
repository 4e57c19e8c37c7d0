// The connection operation. Callers' threads change the state under the
// operation's recursive lock and hand connection work to the network thread
// by posting; the network thread runs the connection and its delegate calls;
// everything a caller sees move (progress, notifications, completion) is
// sent to the main queue or the completion queue.
#include "http/QNURLConnectionOperation.h"

#include <cinttypes>
#include <cstdio>

#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/Thread.h"
#include "foundation/URLErrors.h"
#include "http/QNNetworking.h"
#include "http/QNSecurityPolicy.h"
#include "security/Trust.h"

using namespace foundation;

namespace {

const char* keyFor(QNOperationState state) {
    switch (state) {
        case QNOperationState::Paused: return "isPaused";
        case QNOperationState::Ready: return "isReady";
        case QNOperationState::Executing: return "isExecuting";
        case QNOperationState::Finished: return "isFinished";
    }
    return "state";
}

bool transitionAllowed(QNOperationState from, QNOperationState to, bool cancelled) {
    switch (from) {
        case QNOperationState::Ready:
            return to == QNOperationState::Paused || to == QNOperationState::Executing ||
                   (to == QNOperationState::Finished && cancelled);
        case QNOperationState::Executing: return to == QNOperationState::Paused || to == QNOperationState::Finished;
        case QNOperationState::Finished: return false;
        case QNOperationState::Paused: return to == QNOperationState::Ready;
    }
    return false;
}

// Both live as long as the process and are never destroyed: an operation
// finishing on the network thread while the process exits still reaches them
// after static destruction has begun.
dispatch::GroupPtr sharedCompletionGroup() {
    static const auto* group = new dispatch::GroupPtr(dispatch::Group::create());
    return *group;
}

dispatch::QueuePtr operationQueue() {
    static const auto* queue =
        new dispatch::QueuePtr(dispatch::Queue::createConcurrent("com.quovana.networking.operation.queue"));
    return *queue;
}

}  // namespace

QNURLConnectionOperation::QNURLConnectionOperation(URLRequest request)
    : request_(std::move(request)), securityPolicy_(QNSecurityPolicy::defaultPolicy()) {}

std::shared_ptr<QNURLConnectionOperation> QNURLConnectionOperation::operationWithRequest(URLRequest request) {
    return std::make_shared<QNURLConnectionOperation>(std::move(request));
}

QNURLConnectionOperation::~QNURLConnectionOperation() {
    if (outputStream_) outputStream_->close();
    endBackgroundTaskOnDestruction();
}

std::shared_ptr<QNURLConnectionOperation> QNURLConnectionOperation::self() {
    return std::static_pointer_cast<QNURLConnectionOperation>(shared_from_this());
}

Thread& QNURLConnectionOperation::networkRequestThread() {
    static std::shared_ptr<Thread> thread = [] {
        auto t = Thread::create(kQNNetworkingThreadName, [] { RunLoop::current()->run(); });
        t->start();
        return t;
    }();
    return *thread;
}

// ---- properties

URLRequest QNURLConnectionOperation::request() const {
    std::lock_guard guard(lock_);
    return request_;
}

void QNURLConnectionOperation::setRequest(URLRequest request) {
    std::lock_guard guard(lock_);
    request_ = std::move(request);
}

std::shared_ptr<URLResponse> QNURLConnectionOperation::response() const {
    std::lock_guard guard(lock_);
    return response_;
}

ErrorPtr QNURLConnectionOperation::error() const {
    std::lock_guard guard(lock_);
    return error_;
}

std::optional<Data> QNURLConnectionOperation::responseData() const {
    std::lock_guard guard(lock_);
    return responseData_;
}

StringEncoding QNURLConnectionOperation::responseStringEncoding() {
    std::lock_guard guard(lock_);
    if (responseStringEncoding_ == StringEncoding::None && response_) {
        StringEncoding encoding = StringEncoding::UTF8;
        if (const auto& name = response_->textEncodingName()) {
            StringEncoding named = Charset::encodingForIANAName(*name);
            if (named != StringEncoding::None) encoding = named;
        }
        responseStringEncoding_ = encoding;
    }
    return responseStringEncoding_;
}

std::optional<std::string> QNURLConnectionOperation::responseString() {
    std::lock_guard guard(lock_);
    if (!responseString_ && response_ && responseData_)
        responseString_ = Charset::decode(*responseData_, responseStringEncoding());
    return responseString_;
}

QNOperationState QNURLConnectionOperation::state() const {
    std::lock_guard guard(lock_);
    return state_;
}

int64_t QNURLConnectionOperation::totalBytesRead() const {
    std::lock_guard guard(lock_);
    return totalBytesRead_;
}

bool QNURLConnectionOperation::shouldUseCredentialStorage() const {
    std::lock_guard guard(lock_);
    return shouldUseCredentialStorage_;
}

void QNURLConnectionOperation::setShouldUseCredentialStorage(bool use) {
    std::lock_guard guard(lock_);
    shouldUseCredentialStorage_ = use;
}

URLCredentialPtr QNURLConnectionOperation::credential() const {
    std::lock_guard guard(lock_);
    return credential_;
}

void QNURLConnectionOperation::setCredential(URLCredentialPtr credential) {
    std::lock_guard guard(lock_);
    credential_ = std::move(credential);
}

std::shared_ptr<QNSecurityPolicy> QNURLConnectionOperation::securityPolicy() const {
    std::lock_guard guard(lock_);
    return securityPolicy_;
}

void QNURLConnectionOperation::setSecurityPolicy(std::shared_ptr<QNSecurityPolicy> policy) {
    std::lock_guard guard(lock_);
    securityPolicy_ = std::move(policy);
}

InputStreamPtr QNURLConnectionOperation::inputStream() const {
    std::lock_guard guard(lock_);
    return request_.httpBodyStream();
}

void QNURLConnectionOperation::setInputStream(InputStreamPtr stream) {
    std::lock_guard guard(lock_);
    URLRequest request = request_;
    request.setHTTPBodyStream(std::move(stream));
    request_ = std::move(request);
}

OutputStreamPtr QNURLConnectionOperation::outputStream() {
    std::lock_guard guard(lock_);
    if (!outputStream_) {
        outputStream_ = OutputStream::outputStreamToMemory();
        bytesWritten_ = 0;
    }
    return outputStream_;
}

void QNURLConnectionOperation::setOutputStream(OutputStreamPtr stream) {
    std::lock_guard guard(lock_);
    if (stream == outputStream_) return;
    if (outputStream_) outputStream_->close();
    outputStream_ = std::move(stream);
    bytesWritten_ = 0;
}

uint64_t QNURLConnectionOperation::bytesWrittenToOutputStream() const {
    std::lock_guard guard(lock_);
    return bytesWritten_;
}

dispatch::QueuePtr QNURLConnectionOperation::completionQueue() const {
    std::lock_guard guard(lock_);
    return completionQueue_;
}

void QNURLConnectionOperation::setCompletionQueue(dispatch::QueuePtr queue) {
    std::lock_guard guard(lock_);
    completionQueue_ = std::move(queue);
}

dispatch::GroupPtr QNURLConnectionOperation::completionGroup() const {
    std::lock_guard guard(lock_);
    return completionGroup_;
}

void QNURLConnectionOperation::setCompletionGroup(dispatch::GroupPtr group) {
    std::lock_guard guard(lock_);
    completionGroup_ = std::move(group);
}

Value QNURLConnectionOperation::userInfo() const {
    std::lock_guard guard(lock_);
    return userInfo_;
}

void QNURLConnectionOperation::setUserInfo(Value userInfo) {
    std::lock_guard guard(lock_);
    userInfo_ = std::move(userInfo);
}

void QNURLConnectionOperation::setUploadProgressBlock(UploadProgressBlock block) {
    std::lock_guard guard(lock_);
    uploadProgress_ = std::move(block);
}

void QNURLConnectionOperation::setDownloadProgressBlock(DownloadProgressBlock block) {
    std::lock_guard guard(lock_);
    downloadProgress_ = std::move(block);
}

QNURLConnectionOperation::UploadProgressBlock QNURLConnectionOperation::uploadProgressBlock() const {
    std::lock_guard guard(lock_);
    return uploadProgress_;
}

QNURLConnectionOperation::DownloadProgressBlock QNURLConnectionOperation::downloadProgressBlock() const {
    std::lock_guard guard(lock_);
    return downloadProgress_;
}

void QNURLConnectionOperation::setWillSendRequestForAuthenticationChallengeBlock(AuthenticationChallengeBlock block) {
    std::lock_guard guard(lock_);
    authenticationChallenge_ = std::move(block);
}

void QNURLConnectionOperation::setCacheResponseBlock(CacheResponseBlock block) {
    std::lock_guard guard(lock_);
    cacheResponse_ = std::move(block);
}

CachedURLResponsePtr QNURLConnectionOperation::connectionWillCacheResponse(URLConnection& connection,
                                                                          CachedURLResponsePtr cachedResponse) {
    CacheResponseBlock block;
    {
        std::lock_guard guard(lock_);
        block = cacheResponse_;
    }
    if (block) return block(connection, cachedResponse);
    if (isCancelled()) return nullptr;
    return cachedResponse;
}

void QNURLConnectionOperation::setRedirectResponseBlock(RedirectResponseBlock block) {
    std::lock_guard guard(lock_);
    redirectResponse_ = std::move(block);
}

// ---- state

void QNURLConnectionOperation::setState(QNOperationState state) {
    std::lock_guard guard(lock_);
    if (!transitionAllowed(state_, state, isCancelled())) return;
    const char* oldKey = keyFor(state_);
    const char* newKey = keyFor(state);
    willChangeValueForKey(newKey);
    willChangeValueForKey(oldKey);
    state_ = state;
    didChangeValueForKey(oldKey);
    didChangeValueForKey(newKey);
}

bool QNURLConnectionOperation::isPaused() const {
    return state() == QNOperationState::Paused;
}

bool QNURLConnectionOperation::isReady() const {
    return state() == QNOperationState::Ready && Operation::isReady();
}

bool QNURLConnectionOperation::isExecuting() const {
    return state() == QNOperationState::Executing;
}

bool QNURLConnectionOperation::isFinished() const {
    return state() == QNOperationState::Finished;
}

void QNURLConnectionOperation::performOnNetworkThread(void (QNURLConnectionOperation::*work)()) {
    networkRequestThread().runLoop().post([op = self(), work] { ((*op).*work)(); });
}

void QNURLConnectionOperation::postNotification(const char* name) {
    dispatch::Queue::main()->async([op = self(), name] {
        NotificationCenter::defaultCenter().postNotificationName(name, Value(std::static_pointer_cast<Object>(op)));
    });
}

void QNURLConnectionOperation::start() {
    std::lock_guard guard(lock_);
    if (!isFinished()) keepAlive_ = self();
    if (isCancelled()) {
        performOnNetworkThread(&QNURLConnectionOperation::cancelConnection);
    } else if (isReady()) {
        setState(QNOperationState::Executing);
        performOnNetworkThread(&QNURLConnectionOperation::operationDidStart);
    }
}

void QNURLConnectionOperation::operationDidStart() {
    {
        std::lock_guard guard(lock_);
        if (!isCancelled()) {
            connection_ = URLConnection::connectionWithRequest(request_, self());
            connection_->scheduleInRunLoop(*RunLoop::current());
            outputStream()->open();
            connection_->start();
        }
    }
    postNotification(kQNNetworkingOperationDidStartNotification);
}

void QNURLConnectionOperation::finish() {
    setState(QNOperationState::Finished);
    postNotification(kQNNetworkingOperationDidFinishNotification);  // holds the operation meanwhile
    std::shared_ptr<QNURLConnectionOperation> released;
    {
        std::lock_guard guard(lock_);
        if (isFinished() && !completionInstalled_) released = std::move(keepAlive_);
    }
}

void QNURLConnectionOperation::cancel() {
    std::lock_guard guard(lock_);
    if (isFinished() || isCancelled()) return;
    Operation::cancel();
    if (isExecuting()) performOnNetworkThread(&QNURLConnectionOperation::cancelConnection);
}

void QNURLConnectionOperation::cancelConnection() {
    auto url = request().url();
    ErrorPtr error = makeURLError(URLError::Cancelled, url ? url->absoluteString() : std::string());
    std::lock_guard guard(lock_);
    if (isFinished()) return;
    if (connection_) {
        auto connection = connection_;
        connection->cancel();
        connectionDidFailWithError(*connection, error);
    } else {
        error_ = error;
        finish();
    }
}

void QNURLConnectionOperation::pause() {
    std::lock_guard guard(lock_);
    if (isPaused() || isFinished() || isCancelled()) return;
    if (isExecuting()) {
        performOnNetworkThread(&QNURLConnectionOperation::operationDidPause);
        postNotification(kQNNetworkingOperationDidFinishNotification);
    }
    setState(QNOperationState::Paused);
}

void QNURLConnectionOperation::operationDidPause() {
    std::lock_guard guard(lock_);
    if (connection_) connection_->cancel();
    connection_ = nullptr;
}

void QNURLConnectionOperation::resume() {
    std::lock_guard guard(lock_);
    if (!isPaused()) return;
    setState(QNOperationState::Ready);
    start();
}

// ---- completion

void QNURLConnectionOperation::setCompletionBlock(std::function<void()> block) {
    std::lock_guard guard(lock_);
    completionInstalled_ = bool(block);
    if (!block) {
        Operation::setCompletionBlock(nullptr);
        return;
    }
    std::weak_ptr<QNURLConnectionOperation> weak = self();
    Operation::setCompletionBlock([weak, block] {
        auto op = weak.lock();
        dispatch::GroupPtr group = op ? op->completionGroup() : nullptr;
        dispatch::QueuePtr queue = op ? op->completionQueue() : nullptr;
        if (!group) group = sharedCompletionGroup();
        if (!queue) queue = dispatch::Queue::main();
        group->async(queue, block);
        group->notify(operationQueue(), [op] {
            if (!op) return;
            op->Operation::setCompletionBlock(nullptr);
            std::shared_ptr<QNURLConnectionOperation> released;
            std::lock_guard guard(op->lock_);
            op->completionInstalled_ = false;
            released = std::move(op->keepAlive_);
        });
    });
}

// ---- connection delegate

void QNURLConnectionOperation::connectionWillSendRequestForAuthenticationChallenge(
    URLConnection& connection, const URLAuthenticationChallengePtr& challenge) {
    AuthenticationChallengeBlock block;
    std::shared_ptr<QNSecurityPolicy> policy;
    URLCredentialPtr credential;
    {
        std::lock_guard guard(lock_);
        block = authenticationChallenge_;
        policy = securityPolicy_;
        credential = credential_;
    }
    if (block) {
        block(connection, challenge);
        return;
    }
    const URLProtectionSpace& space = challenge->protectionSpace();
    if (space.authenticationMethod() == kURLAuthenticationMethodServerTrust) {
        auto trust = space.serverTrust() ? security::Trust::createWithServerTrust(*space.serverTrust()) : nullptr;
        if (trust && policy && policy->evaluateServerTrust(*trust, space.host()))
            connection.useCredential(URLCredential::credentialForTrust(space.serverTrust()), challenge);
        else
            connection.cancelAuthenticationChallenge(challenge);
        return;
    }
    if (challenge->previousFailureCount() == 0 && credential) connection.useCredential(credential, challenge);
    else connection.continueWithoutCredential(challenge);
}

bool QNURLConnectionOperation::connectionShouldUseCredentialStorage(URLConnection&) {
    return shouldUseCredentialStorage();
}

std::optional<URLRequest> QNURLConnectionOperation::connectionWillSendRequest(
    URLConnection& connection, const URLRequest& request, const std::shared_ptr<URLResponse>& redirectResponse) {
    RedirectResponseBlock block;
    {
        std::lock_guard guard(lock_);
        block = redirectResponse_;
    }
    return block ? block(connection, request, redirectResponse) : std::optional<URLRequest>(request);
}

void QNURLConnectionOperation::connectionDidSendBodyData(URLConnection&, int64_t bytesWritten,
                                                         int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) {
    dispatch::Queue::main()->async([op = self(), bytesWritten, totalBytesWritten, totalBytesExpectedToWrite] {
        UploadProgressBlock block;
        {
            std::lock_guard guard(op->lock_);
            block = op->uploadProgress_;
        }
        if (block) block(bytesWritten, totalBytesWritten, totalBytesExpectedToWrite);
    });
}

void QNURLConnectionOperation::connectionDidReceiveResponse(URLConnection&, const std::shared_ptr<URLResponse>& response) {
    std::lock_guard guard(lock_);
    response_ = response;
}

void QNURLConnectionOperation::failFromStream(URLConnection& connection, ErrorPtr error) {
    if (!error) {
        auto url = request().url();
        error = makeURLError(URLError::CannotWriteToFile, url ? url->absoluteString() : std::string());
    }
    connection.cancel();
    connectionDidFailWithError(connection, error);
}

void QNURLConnectionOperation::connectionDidReceiveData(URLConnection& connection, const Data& data) {
    const size_t length = data.length();
    {
        // Held across the write so that pause() reads an offset no write is
        // still moving; bytes that arrive once paused are dropped, as the
        // resumed request asks for them again.
        std::lock_guard guard(lock_);
        if (isPaused()) return;
        OutputStreamPtr stream = outputStream();
        // A stream with no room that reports no error is as stuck as one
        // that does: waiting for it would hold the network thread for ever.
        if (!stream->hasSpaceAvailable()) {
            failFromStream(connection, stream->streamError());
            return;
        }
        size_t written = 0;
        while (written < length) {
            long n = stream->write(data.bytes() + written, length - written);
            // A failed write (a full disk) fails the operation: going on
            // would report success with a truncated body.
            if (n <= 0) {
                failFromStream(connection, stream->streamError());
                return;
            }
            written += static_cast<size_t>(n);
        }
        bytesWritten_ += written;
    }
    dispatch::Queue::main()->async([op = self(), length] {
        DownloadProgressBlock block;
        int64_t total;
        int64_t expected;
        {
            std::lock_guard guard(op->lock_);
            op->totalBytesRead_ += static_cast<int64_t>(length);
            total = op->totalBytesRead_;
            expected = op->response_ ? op->response_->expectedContentLength() : -1;
            block = op->downloadProgress_;
        }
        if (block) block(length, total, expected);
    });
}

void QNURLConnectionOperation::endLoading() {
    std::lock_guard guard(lock_);
    if (outputStream_) {
        Value data = outputStream_->propertyForKey(kStreamDataWrittenToMemoryStreamKey);
        if (const Data* bytes = data.data()) responseData_ = *bytes;
        outputStream_->close();
        if (responseData_) outputStream_ = nullptr;
    }
    connection_ = nullptr;
}

void QNURLConnectionOperation::connectionDidFinishLoading(URLConnection&) {
    std::lock_guard guard(lock_);
    endLoading();
    finish();
}

void QNURLConnectionOperation::connectionDidFailWithError(URLConnection&, const ErrorPtr& error) {
    std::lock_guard guard(lock_);
    error_ = error;
    if (outputStream_) outputStream_->close();
    if (responseData_) outputStream_ = nullptr;
    connection_ = nullptr;
    finish();
}

// ---- batches, description, copies

std::vector<OperationPtr> QNURLConnectionOperation::batchOfRequestOperations(
    const std::vector<std::shared_ptr<QNURLConnectionOperation>>& operations,
    std::function<void(size_t, size_t)> progressBlock,
    std::function<void(const std::vector<std::shared_ptr<QNURLConnectionOperation>>&)> completionBlock) {
    if (operations.empty()) {
        return {BlockOperation::blockOperationWithBlock([completionBlock] {
            dispatch::Queue::main()->async([completionBlock] {
                if (completionBlock) completionBlock({});
            });
        })};
    }
    auto group = dispatch::Group::create();
    auto batch = BlockOperation::blockOperationWithBlock([group, completionBlock, operations] {
        group->notify(dispatch::Queue::main(), [completionBlock, operations] {
            if (completionBlock) completionBlock(operations);
        });
    });
    for (const auto& operation : operations) {
        operation->setCompletionGroup(group);
        auto original = operation->completionBlock();
        std::weak_ptr<QNURLConnectionOperation> weak = operation;
        operation->Operation::setCompletionBlock([weak, original, progressBlock, operations, group] {
            auto op = weak.lock();
            dispatch::QueuePtr queue = op ? op->completionQueue() : nullptr;
            if (!queue) queue = dispatch::Queue::main();
            group->async(queue, [original, progressBlock, operations, group] {
                if (original) original();
                if (progressBlock) {
                    size_t finished = 0;
                    for (const auto& o : operations) finished += o->isFinished() ? 1 : 0;
                    progressBlock(finished, operations.size());
                }
                group->leave();
            });
        });
        group->enter();
        batch->addDependency(operation);
    }
    std::vector<OperationPtr> result(operations.begin(), operations.end());
    result.push_back(batch);
    return result;
}

std::string QNURLConnectionOperation::description() const {
    std::lock_guard guard(lock_);
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    std::string url = request_.url() ? request_.url()->absoluteString() : "(null)";
    return "<" + className() + ": " + address + ", state: " + keyFor(state_) +
           ", cancelled: " + (isCancelled() ? "YES" : "NO") + " request: <" + request_.httpMethod() + " " + url +
           ">, response: " + (response_ ? response_->description() : "(null)") + ">";
}

void QNURLConnectionOperation::copyInto(QNURLConnectionOperation& target) const {
    std::lock_guard guard(lock_);
    target.uploadProgress_ = uploadProgress_;
    target.downloadProgress_ = downloadProgress_;
    target.authenticationChallenge_ = authenticationChallenge_;
    target.redirectResponse_ = redirectResponse_;
    target.cacheResponse_ = cacheResponse_;
    target.completionQueue_ = completionQueue_;
    target.completionGroup_ = completionGroup_;
}

std::shared_ptr<QNURLConnectionOperation> QNURLConnectionOperation::copy() const {
    auto operation = operationWithRequest(request());
    copyInto(*operation);
    return operation;
}

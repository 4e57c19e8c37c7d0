// The network thread of URL loading over libcurl's multi interface.
//
// Every question to a delegate is asked without holding up the thread: while
// a response disposition is awaited the body is held, up to 1 MB, and past
// that the transfer's receiving side pauses; a redirect is
// decided once the redirect response has been read whole; a server-trust
// challenge fails the first handshake after noting the chain, and the
// transfer is made again once the delegate has decided, with the decision
// applied to that chain. That costs one more handshake per new connection
// of a session with a delegate, and keeps one slow delegate from stalling
// every other session.
//
// Connections are cached per session (a curl share), so a chain one session
// accepted is never reused by another; TLS sessions are not resumed, so
// every new connection is verified. A session keeps at most its per-host
// maximum of transfers to one host in the multi handle; the rest wait in
// line and go on over the connections those leave in the cache. Without
// that bound a burst of small requests opens a connection each, and a
// server with a fixed number of workers answers them in waves.
//
// The request timeout is an idle timeout on real time, as the platform
// means it: it fires when no byte has moved for that long (a task that
// waits for its delegate, or is suspended, does not time out).
#include "foundation/URLSessionEngine.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <type_traits>
#include <unistd.h>

#include "foundation/FileManager.h"
#include "foundation/NetworkConditions.h"
#include "foundation/RunLoop.h"
#include "foundation/ServerTrust.h"
#include "foundation/CurlRequest.h"
#include "foundation/StringUtils.h"
#include "foundation/Thread.h"
#include "foundation/URLErrors.h"
#include "foundation/URLSession.h"
#include "foundation/URLTransfer.h"

namespace foundation {

namespace {

constexpr const char* kThreadName = "com.quovana.urlsession";
constexpr int kMaxRedirects = 16;
constexpr int kMaxChallenges = 3;
constexpr size_t kHeldBodyLimit = 1 << 20;
constexpr long kIdlePollMilliseconds = 1000;
constexpr size_t kIdleHandlesPerSession = 8;

using SteadyClock = std::chrono::steady_clock;

CURL* easyOf(const URLTransfer& t) {
    return static_cast<CURL*>(t.easy);
}



CURLcode sslContextThunk(CURL* easy, void* sslContext, void* transferId) {
    return static_cast<CURLcode>(URLSessionEngine::onSSLContext(easy, sslContext, transferId));
}

int verifyThunk(X509_STORE_CTX* context, void* transferId) {
    return URLSessionEngine::verifyChain(context, transferId);
}

int seekThunk(void* transfer, curl_off_t offset, int origin) {
    return URLSessionEngine::onSeek(transfer, static_cast<int64_t>(offset), origin);
}

std::vector<Data> presentedChainOf(X509_STORE_CTX* context) {
    std::vector<Data> chain;
    auto add = [&](X509* cert) {
        unsigned char* der = nullptr;
        int length = i2d_X509(cert, &der);
        if (length > 0) chain.emplace_back(der, static_cast<size_t>(length));
        OPENSSL_free(der);
    };
    X509* leaf = X509_STORE_CTX_get0_cert(context);
    if (leaf) add(leaf);
    if (STACK_OF(X509)* sent = X509_STORE_CTX_get0_untrusted(context)) {
        for (int i = 0; i < sk_X509_num(sent); ++i) {
            X509* cert = sk_X509_value(sent, i);
            if (!leaf || X509_cmp(cert, leaf) != 0) add(cert);
        }
    }
    return chain;
}

int64_t codeForCurlResult(CURLcode code) {
    switch (code) {
        case CURLE_UNSUPPORTED_PROTOCOL: return URLError::UnsupportedURL;
        case CURLE_URL_MALFORMAT: return URLError::BadURL;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return URLError::CannotFindHost;
        case CURLE_COULDNT_CONNECT: return URLError::CannotConnectToHost;
        case CURLE_OPERATION_TIMEDOUT: return URLError::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION: return URLError::ServerCertificateUntrusted;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_USE_SSL_FAILED: return URLError::SecureConnectionFailed;
        case CURLE_GOT_NOTHING:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM: return URLError::NetworkConnectionLost;
        case CURLE_BAD_CONTENT_ENCODING: return URLError::CannotDecodeContentData;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_HTTP_RETURNED_ERROR: return URLError::BadServerResponse;
        case CURLE_SEND_FAIL_REWIND: return URLError::RequestBodyStreamExhausted;
        case CURLE_WRITE_ERROR: return URLError::CannotWriteToFile;
        default: return URLError::Unknown;
    }
}

// Where a download's body waits for the delegate: the system's temporary folder.
bool makeTemporaryFile(std::string& path, std::FILE*& file) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qva-download-XXXXXX.tmp").string();
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) return false;
    file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        std::remove(pattern.c_str());
        return false;
    }
    path = pattern;
    return true;
}

bool isRedirectStatus(int64_t status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The answer to a delegate's question, taken once and sent to the network thread.
template <class... A>
std::function<void(A...)> answerOnce(std::type_identity_t<std::function<void(A...)>> onNetworkThread,
                                     std::function<bool(std::function<void()>)> post) {
    auto taken = std::make_shared<std::atomic<bool>>(false);
    return [taken, onNetworkThread = std::move(onNetworkThread), post = std::move(post)](A... args) {
        if (taken->exchange(true)) return;
        post([onNetworkThread, args...] { onNetworkThread(args...); });
    };
}

}  // namespace

// --- Life of the thread -------------------------------------------------

URLSessionEngine& URLSessionEngine::shared() {
    // Never destroyed: the thread may outlive every static destructor but is
    // stopped at exit (see stop()).
    static URLSessionEngine* engine = [] {
        auto* e = new URLSessionEngine();
        std::atexit([] { URLSessionEngine::shared().stop(); });
        return e;
    }();
    return *engine;
}

URLSessionEngine::URLSessionEngine() {
    // Initialises the TLS library too, which registers its own clean-up at
    // exit before ours, so ours runs first.
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    thread_ = Thread::create(kThreadName, [this] { run(); });
    thread_->start();
}

namespace {
// The batch open on this thread, if any, and whether work was posted in it.
thread_local bool* tlsEngineWakeOwed = nullptr;
// Set on the network thread: what it posts to itself (the next page a head
// asks for) needs no wake, only a loop that does not wait before running it.
thread_local bool tlsOnNetworkThread = false;
}  // namespace

URLSessionEngine::PostBatch::PostBatch() : outermost_(tlsEngineWakeOwed == nullptr) {
    if (outermost_) tlsEngineWakeOwed = &wakeOwed_;
}

URLSessionEngine::PostBatch::~PostBatch() {
    if (!outermost_) return;
    tlsEngineWakeOwed = nullptr;
    if (wakeOwed_) shared().wake();
}

void URLSessionEngine::wake() { curl_multi_wakeup(static_cast<CURLM*>(multi_)); }

bool URLSessionEngine::post(std::function<void()> work) {
    {
        std::lock_guard lock(stopMutex_);
        if (stopRequested_) return false;
    }
    thread_->runLoop().post(std::move(work));
    if (tlsOnNetworkThread) {
        postedFromOwnThread_ = true;
        return true;
    }
    // In a batch the work is queued at once and only the wake waits for the
    // batch's end: should the thread block meanwhile, the network thread
    // still finds the work when it next looks (at the latest after its idle
    // poll).
    if (tlsEngineWakeOwed) *tlsEngineWakeOwed = true;
    else wake();
    return true;
}

void URLSessionEngine::run() {
    RunLoop& loop = *RunLoop::current();
    CURLM* multi = static_cast<CURLM*>(multi_);
    tlsOnNetworkThread = true;
    for (;;) {
        postedFromOwnThread_ = false;
        {
            // What this turn tells the delegates reaches each delegate queue
            // in one hand-over, before the thread waits again.
            URLSession::EventBatch events;
            loop.runDueTasks();
            {
                std::lock_guard lock(stopMutex_);
                if (stopRequested_) break;
            }
            int running = 0;
            curl_multi_perform(multi, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
                if (message->msg != CURLMSG_DONE) continue;
                CURL* easy = message->easy_handle;
                CURLcode result = message->data.result;
                transferDone(easy, result);
            }
            checkTimeouts();
            admitWaiting();
        }
        long wait = kIdlePollMilliseconds;
        long curlWait = -1;
        curl_multi_timeout(multi, &curlWait);
        if (curlWait >= 0) wait = std::min(wait, curlWait);
        wait = std::min(wait, millisecondsToNextTimeout());
        // Work this turn posted to itself came after the loop's look at its
        // tasks: it runs at once, without the sleep or a wake to end it.
        if (postedFromOwnThread_) wait = 0;
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(std::max(wait, 0L)), nullptr);
    }
    std::lock_guard lock(stopMutex_);
    stopped_ = true;
    stoppedCondition_.notify_all();
}

void URLSessionEngine::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = true;
    }
    curl_multi_wakeup(static_cast<CURLM*>(multi_));
    std::unique_lock lock(stopMutex_);
    if (!stoppedCondition_.wait_for(lock, std::chrono::seconds(5), [this] { return stopped_; })) return;
    // The thread is gone: what it held can be released here.
    keepsIdleEasy_ = false;
    for (auto& [id, task] : active_) {
        if (task->transfer_) releaseCurl(*task->transfer_);
    }
    for (void* share : shares_) releaseIdleEasy(share);
    // Sessions that outlive this let their caches go without touching them.
    for (void* share : shares_) curl_share_cleanup(static_cast<CURLSH*>(share));
    shares_.clear();
    curl_multi_cleanup(static_cast<CURLM*>(multi_));
    multi_ = nullptr;
}

void* URLSessionEngine::makeShare() {
    CURLSH* share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    shares_.insert(share);
    return share;
}

void URLSessionEngine::releaseShare(void* share) {
    if (!share) return;
    // After a stop, stop() has released it already.
    post([this, share] {
        if (!shares_.erase(share)) return;
        // A share in use by a handle cannot go.
        releaseIdleEasy(share);
        curl_share_cleanup(static_cast<CURLSH*>(share));
    });
}

void* URLSessionEngine::takeEasy(void* share) {
    auto it = idleEasy_.find(share);
    if (it == idleEasy_.end() || it->second.empty()) return curl_easy_init();
    CURL* easy = static_cast<CURL*>(it->second.back());
    it->second.pop_back();
    // Every option back to its default, the connection cache's link kept;
    // the set-up then gives it all a transfer needs, as to a new handle.
    curl_easy_reset(easy);
    return easy;
}

void URLSessionEngine::releaseIdleEasy(void* share) {
    auto it = idleEasy_.find(share);
    if (it == idleEasy_.end()) return;
    for (void* easy : it->second) curl_easy_cleanup(static_cast<CURL*>(easy));
    idleEasy_.erase(it);
}

// --- Commands -------------------------------------------------------------

void URLSessionEngine::startTask(URLSessionTaskPtr task) {
    post([this, task] { begin(task); });
}

void URLSessionEngine::cancelTask(URLSessionTaskPtr task) {
    post([this, task] { finish(task, errorFor(*task, URLError::Cancelled)); });
}

void URLSessionEngine::setTaskSuspended(URLSessionTaskPtr task, bool suspended) {
    post([this, task, suspended] {
        URLTransfer* t = task->transfer_.get();
        if (!t) return;
        t->suspended = suspended;
        if (!suspended) t->lastActivity = SteadyClock::now();
        applyPause(*t);
    });
}

URLSessionTaskPtr URLSessionEngine::activeTask(uint64_t transferId) const {
    auto it = active_.find(transferId);
    return it == active_.end() ? nullptr : it->second;
}

void URLSessionEngine::deliver(const URLSessionTask& task,
                               std::function<void(const URLSessionPtr&, URLSessionDelegate*)> event) {
    URLSessionPtr session = task.session_;
    session->enqueueEvent([session, event = std::move(event)] {
        auto delegate = session->delegate();
        event(session, delegate.get());
    });
}

ErrorPtr URLSessionEngine::errorFor(const URLSessionTask& task, int64_t code, ErrorPtr underlying) const {
    std::string url;
    std::string host;
    if (const URLTransfer* t = task.transfer_.get()) {
        url = t->urlText;
        host = t->host;
    }
    if (url.empty()) {
        URLRequest current = task.currentRequest();
        if (current.url()) {
            url = current.url()->absoluteString();
            host = current.url()->host().value_or("");
        }
    }
    return makeURLError(code, url, host, std::move(underlying));
}

// --- Starting a transfer --------------------------------------------------

void URLSessionEngine::begin(URLSessionTaskPtr task) {
    if (task->state() == URLSessionTask::State::Completed || task->transfer_) return;
    if (task->state() == URLSessionTask::State::Canceling) return;  // the cancel command ends it
    auto t = std::make_unique<URLTransfer>();
    t->id = nextTransferId_++;
    t->task = task.get();
    t->request = task->currentRequest();
    double timeout = std::min(t->request.timeoutInterval(), task->session_->configuration().timeoutIntervalForRequest());
    t->timeout = timeout > 0 ? timeout : 60.0;
    t->suspended = task->state() == URLSessionTask::State::Suspended;
    active_[t->id] = task;
    task->transfer_ = std::move(t);
    if (!prepareResumedDownload(task)) return;
    if (answerFromCache(task)) return;
    if (NetworkConditions::isOffline()) {
        finish(task, errorFor(*task, URLError::NotConnectedToInternet));
        return;
    }
    startHop(task);
}

bool URLSessionEngine::prepareBody(const URLSessionTaskPtr& task, URLTransfer& t) {
    t.body = nullptr;
    t.bodyLength = -1;
    t.bodyRead = 0;
    t.bodyError = nullptr;
    if (!t.sendBody) return true;
    if (task->bodySource_ == URLSessionTask::BodySource::Data) {
        t.body = InputStream::inputStreamWithData(task->uploadData_);
        t.bodyLength = static_cast<int64_t>(task->uploadData_.length());
    } else if (task->bodySource_ == URLSessionTask::BodySource::File) {
        auto size = FileManager::defaultManager().fileSizeAtPath(task->uploadFilePath_);
        t.body = InputStream::inputStreamWithFileAtPath(task->uploadFilePath_);
        t.body->open();
        if (!size || t.body->streamStatus() == StreamStatus::Error) {
            finish(task, errorFor(*task, URLError::FileDoesNotExist, t.body->streamError()));
            return false;
        }
        t.bodyLength = static_cast<int64_t>(*size);
    } else if (t.request.httpBodyStream()) {
        const InputStreamPtr& stream = t.request.httpBodyStream();
        if (stream.get() == t.consumedStream) {
            // Sent once already: only the delegate can give the bytes again.
            t.awaitingBodyStream = true;
            deliver(*task, [task, answer = answerOnce<InputStreamPtr>(
                                      [this, task](InputStreamPtr s) { onBodyStreamAnswer(task, s); },
                                      [this](std::function<void()> w) { return post(std::move(w)); })](
                               const URLSessionPtr& session, URLSessionDelegate* delegate) {
                if (auto* d = dynamic_cast<URLSessionTaskDelegate*>(delegate)) d->needNewBodyStream(session, task, answer);
                else answer(nullptr);
            });
            return false;
        }
        t.body = stream;
        if (auto length = t.request.valueForHTTPHeaderField("Content-Length")) {
            std::string digits = StringUtils::trim(*length);
            if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos)
                t.bodyLength = NumberParsing::longLongValue(digits);
        }
    } else if (t.request.httpBody()) {
        t.body = InputStream::inputStreamWithData(*t.request.httpBody());
        t.bodyLength = static_cast<int64_t>(t.request.httpBody()->length());
    } else {
        return true;
    }
    t.body->open();
    task->setBytesExpectedToSend(t.bodyLength);
    return true;
}

bool URLSessionEngine::startHop(URLSessionTaskPtr task) {
    URLTransfer& t = *task->transfer_;
    releaseCurl(t);
    t.status = 0;
    t.headers = HTTPHeaders();
    t.response = nullptr;
    t.redirectPending = t.awaitingRedirect = t.awaitingDisposition = t.doneWhileAwaiting = false;
    t.awaitingBodyStream = t.awaitingTrust = t.trustRefused = false;
    t.presentedChain.reset();
    t.heldBody = Data();
    t.errorText.clear();

    const auto& url = t.request.url();
    if (!url) {
        finish(task, errorFor(*task, URLError::BadURL));
        return false;
    }
    t.urlText = url->absoluteString();
    std::string scheme = StringUtils::lowercase(url->scheme().value_or(""));
    if ((scheme != "http" && scheme != "https") || !url->host()) {
        finish(task, errorFor(*task, URLError::UnsupportedURL));
        return false;
    }
    t.host = *url->host();
    if (t.host.size() > 2 && t.host.front() == '[' && t.host.back() == ']') t.host = t.host.substr(1, t.host.size() - 2);
    t.port = url->port().value_or(scheme == "https" ? 443 : 80);
    if (!prepareBody(task, t)) return false;

    URLSession& session = *task->session_;
    if (!session.share_) session.share_ = makeShare();
    t.askDelegateForTrust = scheme == "https" && session.delegate() != nullptr;

    t.errorText.assign(CURL_ERROR_SIZE, '\0');
    t.headerList = makeCurlHeaderList(t.request.allHTTPHeaderFields(), session.configuration().HTTPAdditionalHeaders());
    CURL* easy = static_cast<CURL*>(takeEasy(session.share_));
    t.easy = easy;
    t.share = session.share_;
    t.ended = false;
    CurlRequestSetUp setUp;
    setUp.url = t.urlText.c_str();
    setUp.errorBuffer = t.errorText.data();
    setUp.owner = &t;
    setUp.onHeader = &URLSessionEngine::onHeader;
    setUp.onBody = &URLSessionEngine::onBody;
    setUp.onSSLContext = &sslContextThunk;
    setUp.sslContextData = reinterpret_cast<void*>(static_cast<uintptr_t>(t.id));
    setUp.acceptEncoding = "gzip, deflate";
    setUp.method = &t.request.httpMethod();
    setUp.hasBody = t.body != nullptr;
    setUp.bodyLength = t.bodyLength;
    setUp.onRead = &URLSessionEngine::onRead;
    setUp.onSeek = &seekThunk;
    setUp.headerList = static_cast<curl_slist*>(t.headerList);
    applyCurlRequestSetUp(easy, setUp);
    curl_easy_setopt(easy, CURLOPT_SHARE, static_cast<CURLSH*>(session.share_));

    t.lastActivity = SteadyClock::now();
    t.hostKey = scheme + "://" + t.host + ":" + std::to_string(t.port);
    enterMulti(task, t);
    return true;
}

bool URLSessionEngine::enterMulti(const URLSessionTaskPtr& task, URLTransfer& t) {
    HostConnections& host = hostConnections_[{task->session_.get(), t.hostKey}];
    host.limit = task->session_->configuration().HTTPMaximumConnectionsPerHost();
    // Those already waiting go first.
    if (host.inUse >= host.limit || !host.waiting.empty()) {
        host.waiting.push_back(t.id);
        t.waitingForConnection = true;
        return false;
    }
    ++host.inUse;
    t.holdsConnection = true;
    addToMulti(t);
    return true;
}

void URLSessionEngine::addToMulti(URLTransfer& t) {
    curl_multi_add_handle(static_cast<CURLM*>(multi_), easyOf(t));
    t.inMulti = true;
    applyPause(t);
}

void URLSessionEngine::releaseConnection(URLTransfer& t) {
    if (!t.holdsConnection && !t.waitingForConnection) return;
    auto it = hostConnections_.find({t.task->session_.get(), t.hostKey});
    if (it != hostConnections_.end()) {
        HostConnections& host = it->second;
        if (t.holdsConnection) {
            --host.inUse;
            connectionsFreed_ = true;
        } else {
            std::erase(host.waiting, t.id);
        }
        if (host.inUse == 0 && host.waiting.empty()) hostConnections_.erase(it);
    }
    t.holdsConnection = t.waitingForConnection = false;
}

void URLSessionEngine::admitWaiting() {
    // Started here, between libcurl's calls, never from inside them.
    if (!connectionsFreed_) return;
    connectionsFreed_ = false;
    for (auto it = hostConnections_.begin(); it != hostConnections_.end();) {
        HostConnections& host = it->second;
        while (host.inUse < host.limit && !host.waiting.empty()) {
            URLSessionTaskPtr task = activeTask(host.waiting.front());
            host.waiting.pop_front();
            URLTransfer* t = task ? task->transfer_.get() : nullptr;
            if (!t || !t->waitingForConnection) continue;
            t->waitingForConnection = false;
            t->holdsConnection = true;
            ++host.inUse;
            // The idle timeout runs from the connection on.
            t->lastActivity = SteadyClock::now();
            addToMulti(*t);
        }
        if (host.inUse == 0 && host.waiting.empty()) it = hostConnections_.erase(it);
        else ++it;
    }
}

void URLSessionEngine::releaseCurl(URLTransfer& t) {
    if (t.easy) {
        if (t.inMulti && multi_) curl_multi_remove_handle(static_cast<CURLM*>(multi_), easyOf(t));
        // Only a handle whose transfer curl saw to its end serves again (one
        // cut off mid-way, paused perhaps, goes); a few per session suffice,
        // as its transfers to one host run a few at a time.
        std::vector<void*>* idle = nullptr;
        if (t.ended && keepsIdleEasy_ && shares_.count(t.share)) idle = &idleEasy_[t.share];
        if (idle && idle->size() < kIdleHandlesPerSession) idle->push_back(t.easy);
        else curl_easy_cleanup(easyOf(t));
    }
    releaseConnection(t);
    t.easy = nullptr;
    t.inMulti = false;
    curl_slist_free_all(static_cast<curl_slist*>(t.headerList));
    t.headerList = nullptr;
}

void URLSessionEngine::applyPause(URLTransfer& t) {
    if (!t.inMulti) return;
    int bits = CURLPAUSE_CONT;
    if (t.suspended) bits = CURLPAUSE_ALL;
    else if (t.awaitingDisposition) bits = CURLPAUSE_RECV;
    curl_easy_pause(easyOf(t), bits);
}

// --- libcurl callbacks ----------------------------------------------------

size_t URLSessionEngine::onHeader(char* buffer, size_t size, size_t count, void* transfer) {
    auto& t = *static_cast<URLTransfer*>(transfer);
    size_t length = size * count;
    t.lastActivity = SteadyClock::now();
    std::string_view line(buffer, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        // A new response (after an interim one): start over.
        t.headers = HTTPHeaders();
        t.response = nullptr;
        auto space = line.find(' ');
        t.status = space == std::string_view::npos ? 0 : NumberParsing::longLongValue(line.substr(space + 1));
    } else if (line.empty()) {
        // The end of the final response's header (trailers end the same way
        // and are not a new response).
        if (t.status >= 200 && !t.response && !shared().headersDone(t)) return 0;
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        t.headers.add(StringUtils::trim(line.substr(0, colon)), StringUtils::trim(line.substr(colon + 1)));
    }
    return length;
}

bool URLSessionEngine::headersDone(URLTransfer& t) {
    t.response = std::make_shared<HTTPURLResponse>(t.request.url(), t.status, t.headers);
    if (isRedirectStatus(t.status) && t.headers.has("Location")) {
        t.redirectPending = true;
        return true;
    }
    URLSessionTaskPtr task = activeTask(t.id);
    return task && beginResponse(task);
}

bool URLSessionEngine::beginResponse(const URLSessionTaskPtr& task) {
    URLTransfer& t = *task->transfer_;
    task->setResponse(t.response);
    task->setBytesExpectedToReceive(t.response->expectedContentLength());
    if (task->kind() == URLSessionTask::Kind::Download) {
        if (t.resumeOffset >= 0) continueResumedDownload(task, t);
        if (!openDownloadFile(t)) t.fileFailed = true;
        return !t.fileFailed;
    }
    decideCacheability(*task, t);
    auto dataTask = std::static_pointer_cast<URLSessionDataTask>(task);
    if (auto observer = dataTask->headObserver()) observer(t.response);
    auto delegate = task->session_->delegate();
    auto* dataDelegate = dynamic_cast<URLSessionDataDelegate*>(delegate.get());
    if (!dataDelegate || !dataDelegate->implementsDidReceiveResponse()) return true;
    t.awaitingDisposition = true;
    auto response = std::static_pointer_cast<URLResponse>(t.response);
    auto answer = answerOnce<URLSessionResponseDisposition>(
        [this, task](URLSessionResponseDisposition d) { onDisposition(task, d); },
        [this](std::function<void()> w) { return post(std::move(w)); });
    deliver(*task, [dataTask, response, answer](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionDataDelegate*>(delegate)) d->didReceiveResponse(session, dataTask, response, answer);
        else answer(URLSessionResponseDisposition::Allow);
    });
    return true;
}

size_t URLSessionEngine::onBody(char* buffer, size_t size, size_t count, void* transfer) {
    auto& t = *static_cast<URLTransfer*>(transfer);
    size_t length = size * count;
    t.lastActivity = SteadyClock::now();
    if (t.redirectPending) {
        // Kept in case the delegate declines the redirect; past the limit the
        // body is not worth keeping.
        if (t.heldBody.length() + length <= kHeldBodyLimit) t.heldBody.append(buffer, length);
        return length;
    }
    if (t.awaitingDisposition) {
        // Held rather than paused while it fits: a small body is then read
        // whole, and reaches the delegate with its end in one go once the
        // answer comes, with no pause and resume of the transfer between.
        if (t.heldBody.length() + length > kHeldBodyLimit) return CURL_WRITEFUNC_PAUSE;
        t.heldBody.append(buffer, length);
        return length;
    }
    if (!shared().deliverBody(t, reinterpret_cast<const uint8_t*>(buffer), length)) return 0;
    return length;
}

bool URLSessionEngine::deliverBody(URLTransfer& t, const uint8_t* bytes, size_t length) {
    URLSessionTask& task = *t.task;
    if (length == 0) return true;
    task.addBytesReceived(static_cast<int64_t>(length));
    if (task.kind() == URLSessionTask::Kind::Download) {
        if (!t.file || std::fwrite(bytes, 1, length, t.file) != length) {
            t.fileFailed = true;
            return false;
        }
        t.written += static_cast<int64_t>(length);
        auto downloadTask = std::static_pointer_cast<URLSessionDownloadTask>(activeTask(t.id));
        int64_t written = t.written;
        int64_t expected = task.countOfBytesExpectedToReceive();
        deliver(task, [downloadTask, length, written, expected](const URLSessionPtr& session, URLSessionDelegate* delegate) {
            if (auto* d = dynamic_cast<URLSessionDownloadDelegate*>(delegate))
                d->didWriteData(session, downloadTask, static_cast<int64_t>(length), written, expected);
        });
        return true;
    }
    if (t.cacheable) keepForCache(t, bytes, length);
    auto dataTask = std::static_pointer_cast<URLSessionDataTask>(activeTask(t.id));
    deliver(task, [dataTask, data = Data(bytes, length)](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionDataDelegate*>(delegate)) d->didReceiveData(session, dataTask, data);
    });
    return true;
}

size_t URLSessionEngine::onRead(char* buffer, size_t size, size_t count, void* transfer) {
    auto& t = *static_cast<URLTransfer*>(transfer);
    if (!t.body) return 0;
    long n = t.body->read(reinterpret_cast<uint8_t*>(buffer), size * count);
    if (n < 0) {
        t.bodyError = t.body->streamError();
        return CURL_READFUNC_ABORT;
    }
    if (n == 0) return 0;
    t.lastActivity = SteadyClock::now();
    t.bodyRead += n;
    if (t.request.httpBodyStream() && t.body == t.request.httpBodyStream()) t.consumedStream = t.body.get();
    URLSessionTask& task = *t.task;
    task.addBytesSent(n);
    auto taskPtr = shared().activeTask(t.id);
    int64_t total = task.countOfBytesSent();
    int64_t expected = task.countOfBytesExpectedToSend();
    deliver(task, [taskPtr, n, total, expected](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionTaskDelegate*>(delegate)) d->didSendBodyData(session, taskPtr, n, total, expected);
    });
    return static_cast<size_t>(n);
}

int URLSessionEngine::onSeek(void* transfer, int64_t offset, int origin) {
    auto& t = *static_cast<URLTransfer*>(transfer);
    // libcurl rewinds to send a body again on a fresh connection.
    if (origin != SEEK_SET || offset != 0) return CURL_SEEKFUNC_CANTSEEK;
    if (t.bodyRead == 0) return CURL_SEEKFUNC_OK;
    URLSessionTask& task = *t.task;
    if (task.bodySource_ == URLSessionTask::BodySource::Data) {
        t.body = InputStream::inputStreamWithData(task.uploadData_);
    } else if (task.bodySource_ == URLSessionTask::BodySource::File) {
        t.body = InputStream::inputStreamWithFileAtPath(task.uploadFilePath_);
    } else if (t.request.httpBody() && !t.request.httpBodyStream()) {
        t.body = InputStream::inputStreamWithData(*t.request.httpBody());
    } else {
        return CURL_SEEKFUNC_CANTSEEK;
    }
    t.body->open();
    t.bodyRead = 0;
    return CURL_SEEKFUNC_OK;
}

int URLSessionEngine::onSSLContext(void* easy, void* sslContext, void* transferId) {
    (void)easy;
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(sslContext), &verifyThunk, transferId);
    return CURLE_OK;
}

int URLSessionEngine::verifyChain(void* storeContext, void* transferId) {
    auto* context = static_cast<X509_STORE_CTX*>(storeContext);
    URLSessionTaskPtr task = shared().activeTask(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(transferId)));
    if (!task || !task->transfer_) {
        X509_STORE_CTX_set_error(context, X509_V_ERR_APPLICATION_VERIFICATION);
        return 0;
    }
    URLTransfer& t = *task->transfer_;
    std::vector<Data> chain = presentedChainOf(context);
    bool decided = !t.askDelegateForTrust || (t.trust != URLTransfer::Trust::Undecided && chain == t.decidedChain);
    if (!decided) {
        // Noted for the delegate; this handshake ends here.
        t.presentedChain = std::move(chain);
        X509_STORE_CTX_set_error(context, X509_V_ERR_APPLICATION_VERIFICATION);
        return 0;
    }
    if (t.trust == URLTransfer::Trust::Accept || ServerTrust(t.host, chain).evaluateDefault()) return 1;
    t.trustRefused = true;
    t.refusedChain = std::move(chain);
    X509_STORE_CTX_set_error(context, X509_V_ERR_CERT_UNTRUSTED);
    return 0;
}

// --- The end of a transfer ------------------------------------------------

void URLSessionEngine::transferDone(void* easy, int result) {
    URLTransfer* t = nullptr;
    curl_easy_getinfo(static_cast<CURL*>(easy), CURLINFO_PRIVATE, &t);
    URLSessionTaskPtr task = t ? activeTask(t->id) : nullptr;
    if (!task) return;
    curl_multi_remove_handle(static_cast<CURLM*>(multi_), static_cast<CURL*>(easy));
    t->inMulti = false;
    t->ended = true;
    // The connection is back in the session's cache for the next in line,
    // whatever the delegate still has to decide about this task.
    releaseConnection(*t);
    auto code = static_cast<CURLcode>(result);
    if (t->trustRefused) {
        finish(task, makeUntrustedCertificateError(t->urlText, t->host, std::move(t->refusedChain)));
        return;
    }
    if (code != CURLE_OK && t->presentedChain) {
        askTrust(task);
        return;
    }
    if (code != CURLE_OK) {
        std::string detail = t->errorText.c_str();
        if (detail.empty()) detail = curl_easy_strerror(code);
        ErrorPtr underlying = Error::withDescription("libcurl", code, detail);
        int64_t urlCode = codeForCurlResult(code);
        if (t->fileFailed) urlCode = t->file ? URLError::CannotWriteToFile : URLError::CannotCreateFile;
        if (t->bodyError) {
            urlCode = URLError::RequestBodyStreamExhausted;
            underlying = t->bodyError;
        }
        finish(task, errorFor(*task, urlCode, underlying));
        return;
    }
    if (t->redirectPending) {
        redirect(task);
        return;
    }
    if (t->awaitingDisposition) {
        t->doneWhileAwaiting = true;
        return;
    }
    succeed(task);
}

void URLSessionEngine::succeed(URLSessionTaskPtr task) {
    URLTransfer& t = *task->transfer_;
    if (task->kind() == URLSessionTask::Kind::Download) {
        if (!t.file && !openDownloadFile(t)) {
            finish(task, errorFor(*task, URLError::CannotCreateFile));
            return;
        }
        bool closed = std::fclose(t.file) == 0;
        t.file = nullptr;
        if (!closed) {
            finish(task, errorFor(*task, URLError::CannotWriteToFile));
            return;
        }
        // The file is the delegate's until its callback returns, then it goes.
        std::string path = std::move(t.filePath);
        t.filePath.clear();
        auto downloadTask = std::static_pointer_cast<URLSessionDownloadTask>(task);
        deliver(*task, [downloadTask, path](const URLSessionPtr& session, URLSessionDelegate* delegate) {
            if (auto* d = dynamic_cast<URLSessionDownloadDelegate*>(delegate))
                d->didFinishDownloadingToURL(session, downloadTask, URL::fileURLWithPath(path));
            std::remove(path.c_str());
        });
    }
    if (task->kind() == URLSessionTask::Kind::Data && t.cacheable) offerToCache(task, t);
    finish(task, nullptr);
}

void URLSessionEngine::finish(URLSessionTaskPtr task, ErrorPtr error) {
    if (auto& t = task->transfer_) {
        releaseCurl(*t);
        if (t->file) std::fclose(t->file);
        t->file = nullptr;
        if (!t->filePath.empty()) std::remove(t->filePath.c_str());
        if (t->body) t->body->close();
        active_.erase(t->id);
        t.reset();
    }
    if (!task->markCompleted(error)) return;
    task->session_->taskDidComplete(task, error);
}

void URLSessionEngine::checkTimeouts() {
    auto now = SteadyClock::now();
    std::vector<URLSessionTaskPtr> expired;
    for (const auto& [id, task] : active_) {
        const URLTransfer* t = task->transfer_.get();
        if (!t || !(t->inMulti || t->waitingForConnection) || t->suspended || t->awaitingDisposition) continue;
        if (now - t->lastActivity >= std::chrono::duration<double>(t->timeout)) expired.push_back(task);
    }
    for (auto& task : expired) finish(task, errorFor(*task, URLError::TimedOut));
}

long URLSessionEngine::millisecondsToNextTimeout() const {
    long next = kIdlePollMilliseconds;
    auto now = SteadyClock::now();
    for (const auto& [id, task] : active_) {
        const URLTransfer* t = task->transfer_.get();
        if (!t || !(t->inMulti || t->waitingForConnection) || t->suspended || t->awaitingDisposition) continue;
        auto deadline = t->lastActivity + std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(t->timeout));
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
        next = std::min(next, static_cast<long>(std::max<int64_t>(left, 0)));
    }
    return next;
}

// --- Questions to the delegate ---------------------------------------------

void URLSessionEngine::onDisposition(URLSessionTaskPtr task, URLSessionResponseDisposition disposition) {
    URLTransfer* t = task->transfer_.get();
    if (!t || !t->awaitingDisposition) return;
    t->awaitingDisposition = false;
    if (disposition == URLSessionResponseDisposition::Cancel) {
        finish(task, errorFor(*task, URLError::Cancelled));
        return;
    }
    if (disposition == URLSessionResponseDisposition::BecomeDownload) {
        task = becomeDownload(task);
        if (!task) return;
    }
    flushHeldBody(*t);
    if (!task->transfer_) return;
    if (t->doneWhileAwaiting) succeed(task);
    else applyPause(*t);
}

void URLSessionEngine::flushHeldBody(URLTransfer& t) {
    if (t.heldBody.empty()) return;
    Data held = std::move(t.heldBody);
    t.heldBody = Data();
    if (!deliverBody(t, held.bytes(), held.length())) {
        URLSessionTaskPtr task = activeTask(t.id);
        if (task) finish(task, errorFor(*task, URLError::CannotWriteToFile));
    }
}

bool URLSessionEngine::openDownloadFile(URLTransfer& t) {
    if (t.file) return true;
    return makeTemporaryFile(t.filePath, t.file);
}

URLSessionTaskPtr URLSessionEngine::becomeDownload(URLSessionTaskPtr dataTask) {
    URLSessionPtr session = dataTask->session_;
    URLSessionDownloadTaskPtr download = session->makeDownloadTaskFrom(dataTask);
    URLTransfer& t = *dataTask->transfer_;
    t.cacheable = false;
    t.cacheBody = Data();
    download->transfer_ = std::move(dataTask->transfer_);
    t.task = download.get();
    active_[t.id] = download;
    if (dataTask->markCompleted(nullptr)) session->taskDidComplete(dataTask, nullptr, true);
    auto data = std::static_pointer_cast<URLSessionDataTask>(dataTask);
    deliver(*download, [data, download](const URLSessionPtr& s, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionDataDelegate*>(delegate)) d->didBecomeDownloadTask(s, data, download);
    });
    if (!openDownloadFile(t)) {
        finish(download, errorFor(*download, URLError::CannotCreateFile));
        return nullptr;
    }
    return download;
}

void URLSessionEngine::redirect(URLSessionTaskPtr task) {
    URLTransfer& t = *task->transfer_;
    auto location = t.headers.get("Location");
    std::optional<URL> next = location && t.request.url() ? URL::URLWithString(*location, *t.request.url()) : std::nullopt;
    if (!next) {
        stopRedirect(task);
        return;
    }
    if (++t.redirects > kMaxRedirects) {
        finish(task, errorFor(*task, URLError::HTTPTooManyRedirects));
        return;
    }
    URLRequest proposed = t.request;
    proposed.setURL(URL::URLWithString(next->absoluteString()));
    // Credentials were meant for the origin that was asked, not wherever it
    // points to.
    if (!t.request.url() || !next->isSameOriginAs(*t.request.url())) proposed.setValue(std::nullopt, "Authorization");
    const std::string method = proposed.httpMethod();
    // What browsers do: a 303 always, and a 301 or 302 after a POST, become a GET without body.
    if ((t.status == 303 && method != "GET" && method != "HEAD") ||
        ((t.status == 301 || t.status == 302) && method == "POST")) {
        proposed.setHTTPMethod("GET");
        proposed.setHTTPBody(std::nullopt);
        proposed.setHTTPBodyStream(nullptr);
        proposed.setValue(std::nullopt, "Content-Type");
        proposed.setValue(std::nullopt, "Content-Length");
    }
    t.awaitingRedirect = true;
    auto delegate = task->session_->delegate();
    auto* taskDelegate = dynamic_cast<URLSessionTaskDelegate*>(delegate.get());
    if (!taskDelegate || !taskDelegate->implementsWillPerformHTTPRedirection()) {
        onRedirectAnswer(task, proposed);
        return;
    }
    auto answer = answerOnce<std::optional<URLRequest>>(
        [this, task](std::optional<URLRequest> r) { onRedirectAnswer(task, std::move(r)); },
        [this](std::function<void()> w) { return post(std::move(w)); });
    auto response = t.response;
    deliver(*task, [task, response, proposed, answer](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionTaskDelegate*>(delegate)) d->willPerformHTTPRedirection(session, task, response, proposed, answer);
        else answer(proposed);
    });
}

void URLSessionEngine::onRedirectAnswer(URLSessionTaskPtr task, std::optional<URLRequest> request) {
    URLTransfer* t = task->transfer_.get();
    if (!t || !t->awaitingRedirect) return;
    t->awaitingRedirect = false;
    if (!request) {
        stopRedirect(task);
        return;
    }
    // The body goes along only when the method still carries one.
    t->sendBody = request->httpMethod() != "GET" && request->httpMethod() != "HEAD";
    t->request = *request;
    task->setCurrentRequest(*request);
    startHop(task);
}

void URLSessionEngine::stopRedirect(URLSessionTaskPtr task) {
    URLTransfer& t = *task->transfer_;
    t.redirectPending = false;
    if (!beginResponse(task)) {
        finish(task, errorFor(*task, URLError::CannotCreateFile));
        return;
    }
    if (t.awaitingDisposition) {
        t.doneWhileAwaiting = true;
        return;
    }
    flushHeldBody(t);
    if (task->transfer_) succeed(task);
}

void URLSessionEngine::onBodyStreamAnswer(URLSessionTaskPtr task, InputStreamPtr stream) {
    URLTransfer* t = task->transfer_.get();
    if (!t || !t->awaitingBodyStream) return;
    t->awaitingBodyStream = false;
    if (!stream) {
        finish(task, errorFor(*task, URLError::RequestBodyStreamExhausted));
        return;
    }
    t->request.setHTTPBodyStream(std::move(stream));
    task->setCurrentRequest(t->request);
    startHop(task);
}

void URLSessionEngine::askTrust(URLSessionTaskPtr task) {
    URLTransfer& t = *task->transfer_;
    if (++t.challenges > kMaxChallenges) {
        finish(task, errorFor(*task, URLError::SecureConnectionFailed));
        return;
    }
    t.awaitingTrust = true;
    auto trust = std::make_shared<const ServerTrust>(t.host, *t.presentedChain);
    auto challenge = std::make_shared<const URLAuthenticationChallenge>(
        URLProtectionSpace(t.host, t.port, "https", kURLAuthenticationMethodServerTrust, trust), 0);
    auto answer = answerOnce<URLSessionAuthChallengeDisposition, URLCredentialPtr>(
        [this, task](URLSessionAuthChallengeDisposition d, URLCredentialPtr c) { onTrustAnswer(task, d, c); },
        [this](std::function<void()> w) { return post(std::move(w)); });
    deliver(*task, [task, challenge, answer](const URLSessionPtr& session, URLSessionDelegate* delegate) {
        if (auto* d = dynamic_cast<URLSessionTaskDelegate*>(delegate)) d->taskDidReceiveChallenge(session, task, challenge, answer);
        else if (delegate) delegate->didReceiveChallenge(session, challenge, answer);
        else answer(URLSessionAuthChallengeDisposition::PerformDefaultHandling, nullptr);
    });
}

void URLSessionEngine::onTrustAnswer(URLSessionTaskPtr task, URLSessionAuthChallengeDisposition disposition,
                                     URLCredentialPtr credential) {
    URLTransfer* t = task->transfer_.get();
    if (!t || !t->awaitingTrust) return;
    t->awaitingTrust = false;
    switch (disposition) {
        case URLSessionAuthChallengeDisposition::CancelAuthenticationChallenge:
            // The delegate refused the server's certificate: the task is
            // cancelled, as on the platform, and the refusal rides beneath
            // so that whoever reports it can say why.
            finish(task, errorFor(*task, URLError::Cancelled,
                                  makeUntrustedCertificateError(t->urlText, t->host, std::move(*t->presentedChain))));
            return;
        case URLSessionAuthChallengeDisposition::RejectProtectionSpace:
            finish(task, makeUntrustedCertificateError(t->urlText, t->host, std::move(*t->presentedChain)));
            return;
        case URLSessionAuthChallengeDisposition::UseCredential:
            t->trust = credential && credential->serverTrust() ? URLTransfer::Trust::Accept : URLTransfer::Trust::Default;
            break;
        case URLSessionAuthChallengeDisposition::PerformDefaultHandling:
            t->trust = URLTransfer::Trust::Default;
            break;
    }
    t->decidedChain = std::move(*t->presentedChain);
    startHop(task);
}

}  // namespace foundation

// The connection stand-in over libcurl. Each thread that runs connections
// has one driver: a curl multi handle pumped by tasks posted to that thread's
// run loop while transfers are active, polling briefly between pumps so
// other posted work (starts, cancels) keeps flowing. Delegate calls happen
// inside curl's callbacks, on that thread, so a challenge is answered before
// the handshake goes on and a cancel from a delegate call takes effect at
// once (the callbacks then abort the transfer).
#include "foundation/URLConnection.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "foundation/CurlRequest.h"
#include "foundation/Exception.h"
#include "foundation/InputStream.h"
#include "foundation/NetworkConditions.h"
#include "foundation/RunLoop.h"
#include "foundation/ServerTrust.h"
#include "foundation/URLCache.h"
#include "foundation/URLErrors.h"

namespace foundation {

namespace {

// Time a pump waits for network activity before letting other posted work run.
constexpr int kPollMilliseconds = 5;

int64_t codeFor(CURLcode code) {
    switch (code) {
        case CURLE_UNSUPPORTED_PROTOCOL: return URLError::UnsupportedURL;
        case CURLE_URL_MALFORMAT: return URLError::BadURL;
        case CURLE_COULDNT_RESOLVE_HOST: return URLError::CannotFindHost;
        case CURLE_COULDNT_CONNECT: return URLError::CannotConnectToHost;
        case CURLE_OPERATION_TIMEDOUT: return URLError::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION: return URLError::ServerCertificateUntrusted;
        case CURLE_SSL_CONNECT_ERROR: return URLError::SecureConnectionFailed;
        case CURLE_GOT_NOTHING:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE: return URLError::NetworkConnectionLost;
        case CURLE_WEIRD_SERVER_REPLY: return URLError::BadServerResponse;
        case CURLE_ABORTED_BY_CALLBACK:
        case CURLE_READ_ERROR: return URLError::RequestBodyStreamExhausted;
        default: return URLError::Unknown;
    }
}

bool isRedirect(int64_t status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

struct URLConnection::Transfer {
    enum class Answer { None, Use, Continue, Cancel };

    URLConnection* owner = nullptr;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    std::string urlText;
    std::string host;
    char errorText[CURL_ERROR_SIZE] = {};
    bool cancelled = false;
    bool inMulti = false;

    // Body to send.
    InputStreamPtr bodyStream;
    Data bodyData;
    size_t bodyOffset = 0;
    int64_t bodyLength = -1;
    int64_t sent = 0;

    // Response of this hop.
    int64_t status = 0;
    HTTPHeaders headers;
    std::optional<URLRequest> redirect;  // to follow once this hop ends
    std::shared_ptr<HTTPURLResponse> response;
    // The body kept for the URL cache while the response may be kept.
    bool cacheable = false;
    Data cacheBody;

    Answer answer = Answer::None;
    bool trustCancelled = false;
    // The chain the delegate refused, for the error that reports it.
    std::vector<Data> refusedChain;

    void setUp(const URLRequest& request);
    void release();

    static size_t onHeader(char* buffer, size_t size, size_t count, void* self);
    static size_t onBody(char* buffer, size_t size, size_t count, void* self);
    static size_t onRead(char* buffer, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow);
    static CURLcode onSSLContext(CURL*, void* context, void* self);
    static int onVerify(X509_STORE_CTX* context, void* self);
};

class URLConnectionDriver {
public:
    static URLConnectionDriver& current() {
        thread_local URLConnectionDriver driver;
        return driver;
    }

    void add(const URLConnectionPtr& connection) {
        auto& t = *connection->transfer_;
        curl_multi_add_handle(multi_, t.easy);
        t.inMulti = true;
        if (std::find(active_.begin(), active_.end(), connection) == active_.end()) active_.push_back(connection);
        schedule();
    }

    // Removal waits while curl is inside its callbacks.
    void sweep() {
        if (performing_) return;
        std::vector<URLConnectionPtr> gone;
        for (auto& c : active_)
            if (c->transfer_->cancelled) gone.push_back(c);
        for (auto& c : gone) retire(c);
    }

private:
    URLConnectionDriver() {
        static std::once_flag once;
        std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        multi_ = curl_multi_init();
    }

    void schedule() {
        if (scheduled_) return;
        scheduled_ = true;
        RunLoop::current()->post([this] { pump(); });
    }

    void retire(const URLConnectionPtr& connection) {
        auto keep = connection;
        auto& t = *connection->transfer_;
        if (t.inMulti) curl_multi_remove_handle(multi_, t.easy);
        t.inMulti = false;
        active_.erase(std::remove(active_.begin(), active_.end(), connection), active_.end());
        auto delegate = std::move(connection->delegate_);
        (void)delegate;  // released here, outside any of its own calls
    }

    void pump() {
        scheduled_ = false;
        sweep();
        if (active_.empty()) return;
        int running = 0;
        performing_ = true;
        curl_multi_perform(multi_, &running);
        performing_ = false;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            URLConnection::Transfer* t = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &t);
            if (t) done(*t, message->data.result);
        }
        sweep();
        if (active_.empty()) return;
        curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
        schedule();
    }

    void done(URLConnection::Transfer& t, CURLcode result) {
        URLConnectionPtr connection = t.owner->shared_from_this();
        curl_multi_remove_handle(multi_, t.easy);
        t.inMulti = false;
        if (t.cancelled) return;
        if (result == CURLE_OK && t.redirect) {
            connection->current_ = *t.redirect;
            t.setUp(connection->current_);
            add(connection);
            return;
        }
        auto delegate = connection->delegate_;
        retire(connection);
        if (!delegate) return;
        if (result == CURLE_OK) {
            if (t.cacheable && t.response) {
                auto proposed = std::make_shared<const CachedURLResponse>(t.response, std::move(t.cacheBody));
                t.cacheBody = Data();
                if (auto kept = delegate->connectionWillCacheResponse(*connection, proposed))
                    URLCache::sharedURLCache()->storeCachedResponse(std::move(kept), connection->original_);
            }
            delegate->connectionDidFinishLoading(*connection);
        } else {
            int64_t code = t.trustCancelled ? URLError::Cancelled : codeFor(result);
            ErrorPtr underlying = Error::withDescription("curl", result, t.errorText[0] ? t.errorText
                                                                                        : curl_easy_strerror(result));
            // A certificate the delegate refused: the refusal rides beneath the cancellation.
            if (t.trustCancelled)
                underlying = makeUntrustedCertificateError(t.urlText, t.host, std::move(t.refusedChain), underlying);
            delegate->connectionDidFailWithError(*connection, makeURLError(code, t.urlText, t.host, underlying));
        }
    }

    CURLM* multi_ = nullptr;
    std::vector<URLConnectionPtr> active_;
    bool scheduled_ = false;
    bool performing_ = false;
};

void URLConnection::Transfer::release() {
    if (headerList) curl_slist_free_all(headerList);
    headerList = nullptr;
    if (easy) curl_easy_cleanup(easy);
    easy = nullptr;
}

void URLConnection::Transfer::setUp(const URLRequest& request) {
    release();
    status = 0;
    headers = HTTPHeaders();
    redirect.reset();
    sent = 0;
    bodyOffset = 0;
    errorText[0] = 0;
    urlText = request.url() ? request.url()->absoluteString() : std::string();
    host = request.url() ? request.url()->host().value_or("") : std::string();
    bodyStream = request.httpBodyStream();
    bodyData = request.httpBody().value_or(Data());
    bool hasBody = bodyStream || request.httpBody();
    if (hasBody) {
        bodyLength = bodyStream ? -1 : static_cast<int64_t>(bodyData.length());
        if (auto length = request.valueForHTTPHeaderField("Content-Length")) bodyLength = std::stoll(*length);
        if (bodyStream) bodyStream->open();
    }
    headerList = makeCurlHeaderList(request.allHTTPHeaderFields());
    easy = curl_easy_init();
    CurlRequestSetUp setUp;
    setUp.url = urlText.c_str();
    setUp.errorBuffer = errorText;
    setUp.owner = this;
    setUp.onHeader = &Transfer::onHeader;
    setUp.onBody = &Transfer::onBody;
    setUp.onSSLContext = &Transfer::onSSLContext;
    setUp.sslContextData = this;
    // A request that asks for compressed content gets the body decoded, as
    // the platform's connection hands it over; its own header is sent.
    if (request.valueForHTTPHeaderField("Accept-Encoding")) setUp.acceptEncoding = "";
    setUp.method = &request.httpMethod();
    setUp.hasBody = hasBody;
    setUp.bodyLength = bodyLength;
    setUp.onRead = &Transfer::onRead;
    setUp.headerList = headerList;
    applyCurlRequestSetUp(easy, setUp);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    // One connection per load: a cancelled or paused load must not leave a
    // half-read connection for the next one, and trust is judged afresh.
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    double timeout = request.timeoutInterval() > 0 ? request.timeoutInterval() : 60.0;
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout * 1000));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(timeout)));
}

size_t URLConnection::Transfer::onHeader(char* buffer, size_t size, size_t count, void* self) {
    auto& t = *static_cast<Transfer*>(self);
    const size_t length = size * count;
    if (t.cancelled) return 0;
    std::string line(buffer, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.rfind("HTTP/", 0) == 0) {
        auto space = line.find(' ');
        t.status = space == std::string::npos ? 0 : std::atoll(line.c_str() + space + 1);
        t.headers = HTTPHeaders();
        return length;
    }
    if (!line.empty()) {
        auto colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            t.headers.add(line.substr(0, colon), value);
        }
        return length;
    }
    // The end of a response's header block.
    if (t.status >= 100 && t.status < 200) return length;
    URLConnection& c = *t.owner;
    auto delegate = c.delegate_;
    auto response = std::make_shared<HTTPURLResponse>(c.current_.url(), t.status, t.headers);
    if (isRedirect(t.status) && t.headers.get("Location") && c.current_.url()) {
        auto target = URL::URLWithString(*t.headers.get("Location"), *c.current_.url());
        if (target) {
            URLRequest next = c.current_;
            next.setURL(*target);
            // Credentials were meant for the origin that was asked.
            if (!target->isSameOriginAs(*c.current_.url())) next.setValue(std::nullopt, "Authorization");
            if (t.status == 303 || ((t.status == 301 || t.status == 302) && next.httpMethod() == "POST")) {
                if (next.httpMethod() != "HEAD") next.setHTTPMethod("GET");
                next.setHTTPBody(std::nullopt);
                next.setHTTPBodyStream(nullptr);
                next.setValue(std::nullopt, "Content-Type");
                next.setValue(std::nullopt, "Content-Length");
            }
            t.redirect = delegate ? delegate->connectionWillSendRequest(c, next, response) : next;
            if (t.cancelled) return 0;
            if (t.redirect) return length;
        }
    }
    t.response = response;
    t.cacheable = URLCache::allowsStoring(c.current_, *response);
    t.cacheBody = Data();
    if (delegate) delegate->connectionDidReceiveResponse(c, response);
    return t.cancelled ? 0 : length;
}

size_t URLConnection::Transfer::onBody(char* buffer, size_t size, size_t count, void* self) {
    auto& t = *static_cast<Transfer*>(self);
    const size_t length = size * count;
    if (t.cancelled) return 0;
    if (t.redirect) return length;  // the body of a redirect that is followed
    if (t.cacheable) {
        if (t.cacheBody.length() + length > URLCache::sharedURLCache()->memoryCapacity() / 20) {
            t.cacheable = false;
            t.cacheBody = Data();
        } else {
            t.cacheBody.append(buffer, length);
        }
    }
    if (auto delegate = t.owner->delegate_) delegate->connectionDidReceiveData(*t.owner, Data(buffer, length));
    return t.cancelled ? 0 : length;
}

size_t URLConnection::Transfer::onRead(char* buffer, size_t size, size_t count, void* self) {
    auto& t = *static_cast<Transfer*>(self);
    const size_t capacity = size * count;
    if (t.cancelled) return CURL_READFUNC_ABORT;
    if (t.bodyStream) {
        long n = t.bodyStream->read(reinterpret_cast<uint8_t*>(buffer), capacity);
        return n < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(n);
    }
    size_t n = std::min(capacity, t.bodyData.length() - t.bodyOffset);
    std::memcpy(buffer, t.bodyData.bytes() + t.bodyOffset, n);
    t.bodyOffset += n;
    return n;
}

int URLConnection::Transfer::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow) {
    auto& t = *static_cast<Transfer*>(self);
    if (t.cancelled) return 1;
    if (ulnow > t.sent) {
        int64_t delta = ulnow - t.sent;
        t.sent = ulnow;
        int64_t expected = t.bodyLength >= 0 ? t.bodyLength : static_cast<int64_t>(ultotal);
        if (auto delegate = t.owner->delegate_) delegate->connectionDidSendBodyData(*t.owner, delta, t.sent, expected);
    }
    return t.cancelled ? 1 : 0;
}

CURLcode URLConnection::Transfer::onSSLContext(CURL*, void* context, void* self) {
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(context), &Transfer::onVerify, self);
    return CURLE_OK;
}

int URLConnection::Transfer::onVerify(X509_STORE_CTX* context, void* self) {
    auto& t = *static_cast<Transfer*>(self);
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
        for (int i = 0; i < sk_X509_num(sent); ++i)
            if (!leaf || X509_cmp(sk_X509_value(sent, i), leaf) != 0) add(sk_X509_value(sent, i));
    }
    auto trust = std::make_shared<const ServerTrust>(t.host, chain);
    URLConnection& c = *t.owner;
    int port = c.current_.url() ? c.current_.url()->port().value_or(443) : 443;
    auto challenge = std::make_shared<const URLAuthenticationChallenge>(
        URLProtectionSpace(t.host, port, "https", kURLAuthenticationMethodServerTrust, trust), 0);
    t.answer = Answer::None;
    if (auto delegate = c.delegate_) delegate->connectionWillSendRequestForAuthenticationChallenge(c, challenge);
    if (t.cancelled) return 0;
    switch (t.answer) {
        case Answer::Use: return 1;
        case Answer::Cancel:
            t.trustCancelled = true;
            t.refusedChain = trust->certificateChain();
            return 0;
        default: return trust->evaluateDefault() ? 1 : 0;
    }
}

URLConnectionPtr URLConnection::connectionWithRequest(const URLRequest& request,
                                                      std::shared_ptr<URLConnectionDelegate> delegate) {
    return URLConnectionPtr(new URLConnection(request, std::move(delegate)));
}

URLConnection::URLConnection(const URLRequest& request, std::shared_ptr<URLConnectionDelegate> delegate)
    : original_(request), current_(request), delegate_(std::move(delegate)), transfer_(new Transfer()) {
    transfer_->owner = this;
}

URLConnection::~URLConnection() {
    transfer_->release();
}

void URLConnection::scheduleInRunLoop(RunLoop& loop) {
    loop_ = &loop;
}

void URLConnection::start() {
    if (!loop_) loop_ = RunLoop::current();
    if (!loop_ || loop_ != RunLoop::current())
        raise(kInternalInconsistencyException, "URLConnection::start called off the thread it is scheduled on");
    if (started_ || transfer_->cancelled) return;
    started_ = true;
    if (NetworkConditions::isOffline()) {
        // Fails as a load would, after start() returned.
        loop_->post([self = shared_from_this()] {
            if (self->transfer_->cancelled) return;
            auto delegate = std::move(self->delegate_);
            auto url = self->current_.url();
            if (delegate)
                delegate->connectionDidFailWithError(
                    *self, makeURLError(URLError::NotConnectedToInternet, url ? url->absoluteString() : ""));
        });
        return;
    }
    if (current_.httpMethod() == "GET") {
        CachedURLResponsePtr cached = URLCache::sharedURLCache()->usableResponseForRequest(current_);
        if (cached || current_.cachePolicy() == URLRequest::CachePolicy::ReturnCacheDataDontLoad) {
            loop_->post([self = shared_from_this(), cached] { self->answerFromCache(cached); });
            return;
        }
    }
    transfer_->setUp(current_);
    URLConnectionDriver::current().add(shared_from_this());
}

void URLConnection::answerFromCache(const CachedURLResponsePtr& cached) {
    if (transfer_->cancelled) return;
    auto delegate = delegate_;
    if (!delegate) return;
    auto url = current_.url();
    if (!cached) {
        delegate_.reset();
        delegate->connectionDidFailWithError(
            *this, makeURLError(URLError::ResourceUnavailable, url ? url->absoluteString() : ""));
        return;
    }
    delegate->connectionDidReceiveResponse(*this, cached->response());
    if (transfer_->cancelled) return;
    delegate->connectionDidReceiveData(*this, cached->data());
    if (transfer_->cancelled) return;
    delegate_.reset();
    delegate->connectionDidFinishLoading(*this);
}

void URLConnection::cancel() {
    if (transfer_->cancelled) return;
    transfer_->cancelled = true;
    if (transfer_->easy) URLConnectionDriver::current().sweep();
    else delegate_.reset();
}

void URLConnection::useCredential(const URLCredentialPtr& credential, const URLAuthenticationChallengePtr&) {
    transfer_->answer = credential && credential->serverTrust() ? Transfer::Answer::Use : Transfer::Answer::Continue;
}

void URLConnection::continueWithoutCredential(const URLAuthenticationChallengePtr&) {
    transfer_->answer = Transfer::Answer::Continue;
}

void URLConnection::cancelAuthenticationChallenge(const URLAuthenticationChallengePtr&) {
    transfer_->answer = Transfer::Answer::Cancel;
}

}  // namespace foundation

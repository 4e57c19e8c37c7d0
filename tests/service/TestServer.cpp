// The test server over cpp-httplib. Every method goes through one handler
// that records the request and plays the script. Held requests (delays,
// "never answer") wait on the server's condition, which stop() signals
// before it shuts the listener, so no worker outlives stop().
#ifndef CPPHTTPLIB_ZLIB_SUPPORT
#define CPPHTTPLIB_ZLIB_SUPPORT  // the installed library is built with it; the
#endif                           // declarations must match (and give gzip)
#ifndef CPPHTTPLIB_BROTLI_SUPPORT
#define CPPHTTPLIB_BROTLI_SUPPORT
#endif
#include <httplib.h>

#include "service/TestServer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <zlib.h>

namespace testservice {

namespace {

// A worker serves one connection until the client closes it or it has idled
// for the keep-alive timeout. With a fixed number of workers, a connection
// that arrives while all of them sit on idle kept-alive connections waits
// out their timeout: a burst of requests on fresh connections is answered in
// waves a timeout apart. So a connection that finds no worker free gets a
// new one, up to a bound far above what a client here opens at once; the
// workers stay until the server stops.
constexpr size_t kMostWorkers = 1024;

// The CPU clocks of the server's threads, read while they run; a thread's
// time is kept when it ends.
class ThreadClocks {
public:
    class Scope {
    public:
        explicit Scope(ThreadClocks& clocks) : clocks_(clocks) { clocks_.enter(); }
        ~Scope() { clocks_.leave(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ThreadClocks& clocks_;
    };

    double seconds() const {
        std::lock_guard lock(mutex_);
        double total = ended_;
        for (const auto& [thread, clock] : running_) total += secondsOf(clock);
        return total;
    }

private:
    static double secondsOf(clockid_t clock) {
        timespec time{};
        if (clock_gettime(clock, &time) != 0) return 0;
        return static_cast<double>(time.tv_sec) + 1e-9 * static_cast<double>(time.tv_nsec);
    }
    void enter() {
        clockid_t clock{};
        if (pthread_getcpuclockid(pthread_self(), &clock) != 0) return;
        std::lock_guard lock(mutex_);
        running_[std::this_thread::get_id()] = clock;
    }
    void leave() {
        std::lock_guard lock(mutex_);
        auto it = running_.find(std::this_thread::get_id());
        if (it == running_.end()) return;
        ended_ += secondsOf(it->second);
        running_.erase(it);
    }

    mutable std::mutex mutex_;
    std::map<std::thread::id, clockid_t> running_;
    double ended_ = 0;
};

class TestServerWorkers : public httplib::TaskQueue {
public:
    explicit TestServerWorkers(std::shared_ptr<ThreadClocks> clocks) : clocks_(std::move(clocks)) {}
    ~TestServerWorkers() override { shutdown(); }

    void enqueue(std::function<void()> connection) override {
        std::lock_guard lock(mutex_);
        connections_.push_back(std::move(connection));
        if (idle_ < connections_.size() && threads_.size() < kMostWorkers)
            threads_.emplace_back([this] { work(); });
        else
            wake_.notify_one();
    }

    void shutdown() override {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            threads.swap(threads_);
        }
        wake_.notify_all();
        for (auto& thread : threads) thread.join();
    }

private:
    void work() {
        ThreadClocks::Scope counted(*clocks_);
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            wake_.wait(lock, [this] { return stopping_ || !connections_.empty(); });
            --idle_;
            // Connections already accepted are still served.
            if (connections_.empty()) return;
            auto connection = std::move(connections_.front());
            connections_.pop_front();
            lock.unlock();
            connection();
            lock.lock();
        }
    }

    const std::shared_ptr<ThreadClocks> clocks_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> connections_;
    std::vector<std::thread> threads_;
    size_t idle_ = 0;
    bool stopping_ = false;
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string gzipped(const std::string& body) {
    std::string out;
    httplib::detail::gzip_compressor compressor;
    compressor.compress(body.data(), body.size(), true, [&](const char* data, size_t length) {
        out.append(data, length);
        return true;
    });
    return out;
}

// JSON and text as the library would compress them for a client that
// accepts gzip, but at zlib's fastest level: at the default level a page of
// the generated meeting's participants costs the service more than the
// client's whole handling of it.
bool compressedForClient(const httplib::Request& req, const std::string& contentType) {
    const std::string accepted = req.get_header_value("Accept-Encoding");
    if (accepted.find("gzip") == std::string::npos || accepted.find("br") != std::string::npos) return false;
    return contentType.rfind("application/json", 0) == 0 || contentType.rfind("text/", 0) == 0;
}

// One compressor per server thread, reset for each body: setting one up
// allocates and clears a few hundred kilobytes, far more than a small
// listing page costs to compress.
class ServerThreadDeflater {
public:
    ServerThreadDeflater() {
        // 15 window bits, +16 for the gzip wrapper.
        ready_ = deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~ServerThreadDeflater() {
        if (ready_) deflateEnd(&stream_);
    }
    ServerThreadDeflater(const ServerThreadDeflater&) = delete;
    ServerThreadDeflater& operator=(const ServerThreadDeflater&) = delete;

    std::string gzipped(const std::string& body) {
        if (!ready_ || deflateReset(&stream_) != Z_OK) return {};
        std::string out(deflateBound(&stream_, body.size()), '\0');
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
        stream_.avail_in = static_cast<uInt>(body.size());
        stream_.next_out = reinterpret_cast<Bytef*>(out.data());
        stream_.avail_out = static_cast<uInt>(out.size());
        const int status = deflate(&stream_, Z_FINISH);
        out.resize(stream_.total_out);
        return status == Z_STREAM_END ? out : std::string();
    }

private:
    z_stream stream_{};
    bool ready_ = false;
};

std::string fastGzipped(const std::string& body) {
    thread_local ServerThreadDeflater deflater;
    return deflater.gzipped(body);
}

std::string pathWithoutQuery(const std::string& target) {
    return target.substr(0, target.find('?'));
}

}  // namespace

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
    for (const auto& [n, v] : headers)
        if (sameName(n, name)) return v;
    return std::nullopt;
}

Reply Reply::text(std::string body, int status) {
    Reply r;
    r.status = status;
    r.body = std::move(body);
    return r;
}

Reply Reply::redirect(int status, std::string location) {
    Reply r;
    r.status = status;
    r.headers.emplace_back("Location", std::move(location));
    r.body = "moved";
    return r;
}

Reply Reply::resource(const RecordedRequest& request, std::string body, std::string etag, std::string contentType) {
    Reply r;
    r.contentType = std::move(contentType);
    r.headers.emplace_back("ETag", etag);
    r.headers.emplace_back("Accept-Ranges", "bytes");
    auto range = request.header("Range");
    auto ifRange = request.header("If-Range");
    const std::string prefix = "bytes=";
    bool ranged = range && range->rfind(prefix, 0) == 0 && range->back() == '-' && (!ifRange || *ifRange == etag);
    if (!ranged) {
        r.body = std::move(body);
        return r;
    }
    size_t from = std::stoull(range->substr(prefix.size()));
    if (from >= body.size()) {
        r.status = 416;
        r.headers.emplace_back("Content-Range", "bytes */" + std::to_string(body.size()));
        return r;
    }
    r.status = 206;
    r.headers.emplace_back("Content-Range", "bytes " + std::to_string(from) + "-" + std::to_string(body.size() - 1) +
                                                "/" + std::to_string(body.size()));
    r.body = body.substr(from);
    return r;
}

struct TestServer::Impl {
    std::optional<TLSFiles> tls;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    const std::shared_ptr<ThreadClocks> clocks = std::make_shared<ThreadClocks>();
    int port = 0;
    int listeningSocket = -1;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    bool running = false;
    bool stopping = false;
    uint64_t stallGeneration = 0;  // bumped by resumeStalledReplies()
    std::vector<RecordedRequest> requests;
    std::map<std::pair<std::string, std::string>, Handler> scripts;
    Handler fallback;

    void handle(const httplib::Request& req, httplib::Response& res);
};

void TestServer::Impl::handle(const httplib::Request& req, httplib::Response& res) {
    RecordedRequest recorded;
    recorded.method = req.method;
    recorded.path = req.target.empty() ? req.path : req.target;
    for (const auto& [name, value] : req.headers) recorded.headers.emplace_back(name, value);
    recorded.body = req.body;
    recorded.remotePort = req.remote_port;
    for (const auto& [name, part] : req.files)
        recorded.formParts.push_back({part.name, part.filename, part.content_type, part.content});
    std::string path = pathWithoutQuery(recorded.path);

    Handler handler;
    // A reply stalls until the resume after its request was counted: a test
    // that sees the request and resumes must release this reply too.
    uint64_t generation;
    {
        std::lock_guard lock(mutex);
        requests.push_back(recorded);
        generation = stallGeneration;
        auto it = scripts.find({recorded.method, path});
        if (it == scripts.end() && recorded.method == "HEAD") it = scripts.find({"GET", path});
        if (it == scripts.end()) it = scripts.find({"*", path});
        if (it != scripts.end()) handler = it->second;
        else handler = fallback;
    }
    changed.notify_all();
    Reply reply = handler ? handler(recorded) : Reply::text("not found", 404);

    if (reply.neverAnswer || reply.delaySeconds > 0) {
        std::unique_lock lock(mutex);
        auto stopped = [this] { return stopping; };
        if (reply.neverAnswer) changed.wait(lock, stopped);
        else changed.wait_for(lock, std::chrono::duration<double>(reply.delaySeconds), stopped);
        if (stopping) {
            res.status = 503;
            return;
        }
    }

    // Ranges are the scripts' business (Reply::resource): the library must not
    // cut a body that a script already cut, or one it answers whole.
    const_cast<httplib::Request&>(req).ranges.clear();
    res.status = reply.status;
    for (const auto& [name, value] : reply.headers) res.set_header(name, value);
    std::string body = reply.gzip ? gzipped(reply.body) : reply.body;
    if (reply.gzip) res.set_header("Content-Encoding", "gzip");
    if (reply.dropConnection) {
        size_t announced = body.size() + 4096;
        res.set_content_provider(announced, reply.contentType,
                                 [body](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0 && !body.empty()) {
                                         sink.write(body.data(), body.size());
                                         return true;
                                     }
                                     return false;  // the connection closes here
                                 });
        return;
    }
    if (reply.stallAfterBytes > 0 && reply.stallAfterBytes < body.size()) {
        size_t stallAt = reply.stallAfterBytes;
        res.set_content_provider(body.size(), reply.contentType,
                                 [this, body, stallAt, generation](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset < stallAt) {
                                         sink.write(body.data(), stallAt);
                                         return true;
                                     }
                                     std::unique_lock lock(mutex);
                                     changed.wait(lock, [&] { return stopping || stallGeneration != generation; });
                                     if (stopping) return false;
                                     lock.unlock();
                                     sink.write(body.data() + offset, body.size() - offset);
                                     return true;
                                 });
        return;
    }
    if (!reply.gzip && !body.empty() && compressedForClient(req, reply.contentType)) {
        if (std::string packed = fastGzipped(body); !packed.empty()) {
            res.set_header("Content-Encoding", "gzip");
            body = std::move(packed);
            // Or the library compresses it once more.
            const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        }
    }
    res.set_content(body, reply.contentType.c_str());
}

namespace {

// The file's own problem (missing, unreadable, a folder), else empty.
std::string tlsFileProblem(const std::string& path, std::FILE*& file) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return path + ": " + std::strerror(errno);
    if (S_ISDIR(status.st_mode)) return path + " is a folder, not a file";
    file = std::fopen(path.c_str(), "r");
    if (!file) return path + ": " + std::strerror(errno);
    return {};
}

// A key that wants a pass phrase is refused rather than asked for on the terminal.
int tlsNoPassPhrase(char*, int, int, void*) { return 0; }

}  // namespace

std::string TestServer::unusableTLSFiles(const TLSFiles& files) {
    std::FILE* file = nullptr;
    if (auto problem = tlsFileProblem(files.certificateFile, file); !problem.empty()) return problem;
    X509* certificate = PEM_read_X509(file, nullptr, tlsNoPassPhrase, nullptr);
    std::fclose(file);
    file = nullptr;
    std::string problem;
    if (!certificate) {
        problem = files.certificateFile + " holds no PEM certificate";
    } else if (problem = tlsFileProblem(files.keyFile, file); problem.empty()) {
        EVP_PKEY* key = PEM_read_PrivateKey(file, nullptr, tlsNoPassPhrase, nullptr);
        std::fclose(file);
        if (!key)
            problem = files.keyFile + " holds no PEM private key (or one that wants a pass phrase)";
        else if (X509_check_private_key(certificate, key) != 1)
            problem = files.keyFile + " is not the key of the certificate in " + files.certificateFile;
        EVP_PKEY_free(key);
    }
    X509_free(certificate);
    // What OpenSSL noted of the failures is not left for this thread's next TLS call.
    ERR_clear_error();
    return problem;
}

TestServer::TestServer() : impl_(new Impl()) {}

TestServer::TestServer(TLSFiles tls) : impl_(new Impl()) {
    impl_->tls = std::move(tls);
}

TestServer::~TestServer() {
    stop();
}

bool TestServer::start() {
    Impl& d = *impl_;
    if (d.server) return d.running;
    if (d.tls) d.server = std::make_unique<httplib::SSLServer>(d.tls->certificateFile.c_str(), d.tls->keyFile.c_str());
    else d.server = std::make_unique<httplib::Server>();
    if (!d.server->is_valid()) return false;
    // Headers and body go out in two writes; without this, the second waits
    // for the client's delayed acknowledgement (about 40 ms a request).
    d.server->set_tcp_nodelay(true);
    // stop() waits for every kept-alive connection to idle out; clients here
    // (a process-wide URL session) never close theirs, so keep the wait short.
    d.server->set_keep_alive_timeout(1);
    // The library closes a connection after its fifth request by default; a
    // listing walks hundreds of pages over one connection, and a service in
    // front of a real meeting keeps it open that long (a thousand requests is
    // the usual bound), so a new connection every fifth page is not what the
    // app meets.
    d.server->set_keep_alive_max_count(1000);
    d.server->new_task_queue = [clocks = d.clocks] { return new TestServerWorkers(clocks); };
    // The library listens with room for only 5 connections waiting to be
    // accepted. A client that opens more at once (a delta run starts all its
    // calls together) overflows that queue; the kernel drops the handshake
    // and the client tries again only after TCP's first retransmission
    // timeout, a stall of a second. The socket is noted as it is made so that
    // the queue can be widened once it listens.
    //
    // The library's own options share the port (SO_REUSEPORT): a second
    // service asking for a port another one listens on would get it too and
    // take half of its connections. Only a port left waiting after an earlier
    // service's close is taken over.
    d.server->set_socket_options([&d](socket_t sock) {
        int on = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        d.listeningSocket = static_cast<int>(sock);
    });
    auto handler = [this](const httplib::Request& req, httplib::Response& res) { impl_->handle(req, res); };
    d.server->Get(".*", handler);
    d.server->Post(".*", handler);
    d.server->Put(".*", handler);
    d.server->Patch(".*", handler);
    d.server->Delete(".*", handler);
    d.server->Options(".*", handler);
    if (d.port > 0) d.port = d.server->bind_to_port("127.0.0.1", d.port) ? d.port : -1;
    else d.port = d.server->bind_to_any_port("127.0.0.1");
    if (d.port <= 0) return false;
    // Listening again on a listening socket only changes its queue length
    // (the kernel caps it at its own limit).
    if (d.listeningSocket >= 0) ::listen(d.listeningSocket, SOMAXCONN);
    d.thread = std::thread([server = d.server.get(), clocks = d.clocks] {
        ThreadClocks::Scope counted(*clocks);
        server->listen_after_bind();
    });
    // The listening socket already takes connections; stop() must not come
    // before the accept loop has begun, or it would not end that loop.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!d.server->is_running() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    std::lock_guard lock(d.mutex);
    d.running = d.server->is_running();
    return d.running;
}

void TestServer::stop() {
    Impl& d = *impl_;
    if (!d.server) return;
    {
        std::lock_guard lock(d.mutex);
        d.stopping = true;
    }
    d.changed.notify_all();
    d.server->stop();
    if (d.thread.joinable()) d.thread.join();
    std::lock_guard lock(d.mutex);
    d.running = false;
}

void TestServer::setPort(int port) {
    impl_->port = port;
}

double TestServer::cpuSeconds() const {
    return impl_->clocks->seconds();
}

int TestServer::port() const {
    return impl_->port;
}

std::string TestServer::baseURL() const {
    return std::string(impl_->tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(impl_->port);
}

std::string TestServer::urlFor(std::string_view pathAndQuery) const {
    return baseURL() + std::string(pathAndQuery);
}

void TestServer::on(std::string method, std::string path, Reply reply) {
    on(std::move(method), std::move(path), [reply](const RecordedRequest&) { return reply; });
}

void TestServer::on(std::string method, std::string path, Handler handler) {
    std::lock_guard lock(impl_->mutex);
    impl_->scripts[{std::move(method), std::move(path)}] = std::move(handler);
}

void TestServer::setFallback(Handler handler) {
    std::lock_guard lock(impl_->mutex);
    impl_->fallback = std::move(handler);
}

std::vector<RecordedRequest> TestServer::requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

size_t TestServer::requestCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests.size();
}

std::optional<RecordedRequest> TestServer::lastRequest() const {
    std::lock_guard lock(impl_->mutex);
    if (impl_->requests.empty()) return std::nullopt;
    return impl_->requests.back();
}

void TestServer::clearRequests() {
    std::lock_guard lock(impl_->mutex);
    impl_->requests.clear();
}

void TestServer::resumeStalledReplies() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stallGeneration++;
    }
    impl_->changed.notify_all();
}

bool TestServer::waitForRequestCount(size_t count, double timeoutSeconds) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::duration<double>(timeoutSeconds),
                                   [&] { return impl_->requests.size() >= count; });
}

}  // namespace testservice

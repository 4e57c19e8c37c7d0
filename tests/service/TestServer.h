// A small HTTP/1.1 server on 127.0.0.1 that tests start in-process on a port
// the system picks, over plain HTTP or over HTTPS (with certificate files,
// e.g. from TestCertificateAuthority). It records every request it gets and
// answers from scripts: per method and path, a fixed reply or a handler.
// Requests nothing matches get 404 "not found" unless a fallback says
// otherwise. The meeting service builds on this with its own handlers.
// Invariants: start() returns once the server accepts connections; stop()
// (and the destructor) releases requests held on purpose, waits for the
// server's threads and returns with none left; the recorded requests and
// the scripts may be read and changed from any thread at any time.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testservice {

// One part of a "multipart/form-data" body, as the server parsed it.
struct FormPart {
    std::string name;
    std::string filename;
    std::string contentType;
    std::string content;
};

struct RecordedRequest {
    std::string method;
    // As sent: the path with its query.
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // A multipart form body arrives here, by field name, instead of in `body`.
    std::vector<FormPart> formParts;
    // The client's port: requests that share it came over one connection.
    int remotePort = -1;

    // The first value of a field, names compared without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

struct Reply {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string contentType = "text/plain";
    std::string body;
    // Sent compressed, with "Content-Encoding: gzip".
    bool gzip = false;
    // Real time before answering: only for tests about time.
    double delaySeconds = 0;
    // Holds the request without an answer until the server stops.
    bool neverAnswer = false;
    // Announces a longer body than it sends, then closes the connection.
    bool dropConnection = false;
    // When above 0: sends this many bytes of the body, then waits for
    // resumeStalledReplies() (or stop) before sending the rest.
    size_t stallAfterBytes = 0;

    static Reply text(std::string body, int status = 200);
    static Reply redirect(int status, std::string location);
    // A resource with an entity tag: 200 with the whole body and "ETag", or,
    // for "Range: bytes=N-" without "If-Range" or with the current tag, 206
    // with the rest from N and "Content-Range" (416 past the end).
    static Reply resource(const RecordedRequest& request, std::string body, std::string etag,
                          std::string contentType = "application/octet-stream");
};

class TestServer {
public:
    using Handler = std::function<Reply(const RecordedRequest& request)>;
    struct TLSFiles {
        std::string certificateFile;
        std::string keyFile;
    };
    // Why the files cannot serve TLS, naming the file at fault ("cert.pem:
    // No such file or directory", "... holds no PEM certificate", a key
    // that is not the certificate's); empty when they can.
    static std::string unusableTLSFiles(const TLSFiles& files);

    TestServer();
    explicit TestServer(TLSFiles tls);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // Listen on this port instead of one the system picks (before start()).
    void setPort(int port);
    // False when the server could not listen (or its TLS files were bad).
    bool start();
    void stop();
    int port() const;
    // "http://127.0.0.1:PORT" (or https), without a trailing "/".
    std::string baseURL() const;
    // The base URL followed by `pathAndQuery` (which starts with "/").
    std::string urlFor(std::string_view pathAndQuery) const;

    // Scripts for a method ("*" for any) and a path without query; a later
    // script for the same pair replaces the earlier one.
    void on(std::string method, std::string path, Reply reply);
    void on(std::string method, std::string path, Handler handler);
    void setFallback(Handler handler);

    std::vector<RecordedRequest> requests() const;
    size_t requestCount() const;
    std::optional<RecordedRequest> lastRequest() const;
    void clearRequests();
    // Lets every reply stalled by stallAfterBytes send the rest of its body.
    void resumeStalledReplies();
    // Waits, in real time, until at least `count` requests were recorded.
    bool waitForRequestCount(size_t count, double timeoutSeconds) const;
    // The CPU time the server's own threads (the listener and the workers
    // that read, answer and write) have used since it started: what a
    // benchmark subtracts from its process's CPU to leave the client's.
    double cpuSeconds() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testservice

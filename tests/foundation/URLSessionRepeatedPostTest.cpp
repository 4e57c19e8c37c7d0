// A POST whose connection dies after the server read it is sent once: the
// session does not send it again behind the caller's back, and the caller
// learns of the failure.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Data.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/URLSession.h"

using namespace foundation;

namespace {

// Answers a GET and keeps its connection; reads a POST whole and closes its
// connection without a word, as a service that crashed behind a proxy would.
class DroppingServer {
public:
    DroppingServer() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] {
            for (int fd; (fd = ::accept(listener_, nullptr, nullptr)) >= 0;) {
                std::lock_guard lock(mutex_);
                connections_.push_back(fd);
                workers_.emplace_back([this, fd] { serve(fd); });
            }
        });
    }
    ~DroppingServer() {
        ::shutdown(listener_, SHUT_RDWR);
        acceptor_.join();
        for (int fd : connections_) ::shutdown(fd, SHUT_RDWR);
        for (auto& worker : workers_) worker.join();
        for (int fd : connections_) ::close(fd);
        ::close(listener_);
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::atomic<int> postsRead{0};

private:
    void serve(int fd) {
        std::string pending;
        char buffer[4096];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof(buffer), 0)) > 0;) {
            pending.append(buffer, static_cast<size_t>(n));
            const auto end = pending.find("\r\n\r\n");
            if (end == std::string::npos) continue;
            const auto length = pending.find("Content-Length: ");
            const size_t body = length < end ? std::stoul(pending.substr(length + 16)) : 0;
            if (pending.size() < end + 4 + body) continue;
            if (pending.rfind("POST ", 0) == 0) {
                ++postsRead;
                ::shutdown(fd, SHUT_RDWR);
                return;
            }
            pending.clear();
            const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
            ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        }
    }

    int listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
    std::mutex mutex_;
    std::vector<int> connections_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// Notes each task's end, on the main queue.
class Completions : public URLSessionDataDelegate {
public:
    void didCompleteWithError(const URLSessionPtr&, const URLSessionTaskPtr& task, const ErrorPtr& error) override {
        ended[task->taskIdentifier()] = error;
    }
    std::map<uint64_t, ErrorPtr> ended;
};

// Runs the request to its end; its error.
ErrorPtr runToEnd(const URLSessionPtr& session, Completions& completions, const URLRequest& request) {
    auto task = session->dataTaskWithRequest(request);
    task->resume();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return completions.ended.count(task->taskIdentifier()) > 0; }, 10.0));
    return completions.ended[task->taskIdentifier()];
}

}  // namespace

TEST(URLSessionRepeatedPost, APostWhoseConnectionDiesAfterItWasReadIsSentOnceAndFails) {
    DroppingServer server;
    auto completions = std::make_shared<Completions>();
    auto session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration(),
                                                        completions, OperationQueue::mainQueue());
    // A kept-alive connection in the session's cache, as a sync leaves it.
    ASSERT_EQ(runToEnd(session, *completions, URLRequest(*URL::URLWithString(server.url("/warm")))), nullptr);

    URLRequest post(*URL::URLWithString(server.url("/messages")));
    post.setHTTPMethod("POST");
    post.setValue("row-1", "Idempotency-Key");
    post.setHTTPBody(Data::fromString(R"({"subject":"Agenda"})"));
    EXPECT_NE(runToEnd(session, *completions, post), nullptr);
    EXPECT_EQ(server.postsRead.load(), 1);
    session->invalidateAndCancel();
}

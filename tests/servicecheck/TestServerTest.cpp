// The test server under many connections at once: each is served as it
// arrives, however many others the clients keep open.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "service/TestServer.h"

using testservice::RecordedRequest;
using testservice::Reply;
using testservice::TestServer;

namespace {

size_t appendToTestServerBody(char* bytes, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(bytes, size * count);
    return size * count;
}

// The body of a plain GET of `url`, empty when it failed.
std::string bodyOfGet(const std::string& url) {
    std::string body;
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendToTestServerBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(easy) != CURLE_OK) body.clear();
    curl_easy_cleanup(easy);
    return body;
}

double threadCPUSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Keeps this thread busy for `seconds` of its own CPU time.
void spin(double seconds) {
    const double until = threadCPUSeconds() + seconds;
    volatile uint64_t sink = 0;
    while (threadCPUSeconds() < until) sink = sink + 1;
}

}  // namespace

TEST(TestServer, AnswersMoreConnectionsAtOnceThanItStartedWorkersFor) {
    TestServer server;
    ASSERT_TRUE(server.start());
    // Each request is answered only once all of them are in the server at
    // the same time: a connection left waiting for a worker keeps them all
    // from it.
    constexpr int kConnections = 48;
    std::mutex mutex;
    std::condition_variable arrived;
    int inside = 0;
    server.on("GET", "/together", [&](const RecordedRequest&) {
        std::unique_lock lock(mutex);
        ++inside;
        arrived.notify_all();
        bool all = arrived.wait_for(lock, std::chrono::seconds(20), [&] { return inside >= kConnections; });
        return Reply::text(all ? "together" : "alone");
    });

    std::vector<std::string> bodies(kConnections);
    std::vector<std::thread> clients;
    const std::string url = server.urlFor("/together");
    for (auto& body : bodies) {
        clients.emplace_back([&url, &body] { body = bodyOfGet(url); });
    }
    for (auto& client : clients) client.join();
    for (const auto& body : bodies) EXPECT_EQ(body, "together");
}

TEST(TestServer, CountsTheCPUOfItsOwnThreadsOnlyAndKeepsItAfterStopping) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/busy", [](const RecordedRequest&) {
        spin(0.03);
        return Reply::text("done");
    });
    const double before = server.cpuSeconds();
    // The client's own work, in the same process, is not the server's.
    spin(0.1);
    ASSERT_EQ(bodyOfGet(server.urlFor("/busy")), "done");
    const double served = server.cpuSeconds() - before;
    EXPECT_GE(served, 0.03);
    EXPECT_LT(served, 0.09);
    server.stop();
    EXPECT_GE(server.cpuSeconds() - before, served);
}

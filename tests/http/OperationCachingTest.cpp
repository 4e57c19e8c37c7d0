// Request operations and the shared URL cache: a fresh GET response answers
// the next operation for the same URL; the cache block decides what is kept,
// and a copy of an operation keeps that block.
#include <gtest/gtest.h>

#include <unistd.h>

#include "foundation/RunLoop.h"
#include "foundation/URLCache.h"
#include "http/QNHTTPRequestOperation.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;

namespace {

bool runToEnd(const std::shared_ptr<QNURLConnectionOperation>& operation) {
    operation->start();
    return RunLoop::main().runUntil([&] { return operation->isFinished(); }, 20);
}

}  // namespace

TEST(OperationCaching, FreshResponsesAnswerLaterOperationsUnlessTheBlockKeepsNothing) {
    TestServer server;
    Reply fresh = Reply::text("kept for a while");
    fresh.headers.emplace_back("Cache-Control", "max-age=600");
    // Paths of their own: the cache is shared by the whole process.
    const std::string kept = "/op-cache-kept-" + std::to_string(::getpid());
    const std::string refused = "/op-cache-refused-" + std::to_string(::getpid());
    server.on("GET", kept, fresh);
    server.on("GET", refused, fresh);
    ASSERT_TRUE(server.start());
    auto request = [&](const std::string& path) { return URLRequest(*URL::URLWithString(server.urlFor(path))); };
    auto count = [&](const std::string& path) {
        size_t n = 0;
        for (const auto& r : server.requests()) n += r.path == path;
        return n;
    };

    auto first = QNHTTPRequestOperation::operationWithRequest(request(kept));
    ASSERT_TRUE(runToEnd(first));
    auto second = QNHTTPRequestOperation::operationWithRequest(request(kept));
    ASSERT_TRUE(runToEnd(second));
    EXPECT_EQ(count(kept), 1u);
    EXPECT_EQ(second->responseData().value_or(Data()).toString(), "kept for a while");
    EXPECT_EQ(second->response()->statusCode(), 200);

    int asked = 0;
    auto refusing = QNHTTPRequestOperation::operationWithRequest(request(refused));
    refusing->setCacheResponseBlock([&](URLConnection&, const CachedURLResponsePtr& proposed) {
        ++asked;
        EXPECT_EQ(proposed->data().toString(), "kept for a while");
        return CachedURLResponsePtr();
    });
    auto copied = refusing->copy();
    ASSERT_TRUE(runToEnd(refusing));
    ASSERT_TRUE(runToEnd(copied));
    EXPECT_EQ(count(refused), 2u);
    EXPECT_EQ(asked, 2) << "the copy carries the cache block";
    URLCache::sharedURLCache()->removeAllCachedResponses();
}

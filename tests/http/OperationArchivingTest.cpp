// Operations archived and read back: an executing download comes back ready
// to continue where it stopped, a finished one keeps its data and error, and
// a request operation keeps its response serializer's settings.
#include <gtest/gtest.h>

#include "foundation/KeyedArchiver.h"
#include "foundation/RunLoop.h"
#include "foundation/URLErrors.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNJSONResponseSerializer.h"
#include "http/QNURLLoadingArchives.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::RecordedRequest;
using testservice::Reply;
using testservice::TestServer;

namespace {

constexpr double kArchivingWait = 20;

URLRequest archivedRequestFor(const TestServer& server, const std::string& path) {
    return URLRequest(*URL::URLWithString(server.urlFor(path)));
}

template <class T>
std::shared_ptr<T> roundTrip(const std::shared_ptr<QNURLConnectionOperation>& operation) {
    QNURLConnectionOperation::registerArchiveClasses();
    Data archive = KeyedArchiver::archivedDataWithRootObject(Value(operation->archivable()));
    return KeyedUnarchiver::unarchiveObjectOfClass<T>(archive);
}

// An archive that claims an executing operation, as no operation writes one.
class ExecutingArchive : public Coding {
public:
    std::string className() const override { return "QNURLConnectionOperation"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        QNEncodeURLRequest(coder, URLRequest(*URL::URLWithString("http://127.0.0.1:9/x")), "request");
        coder.encodeInt64(static_cast<int64_t>(QNOperationState::Executing), "state");
    }
};

}  // namespace

TEST(OperationArchiving, AnArchiveClaimingAnExecutingOperationReadsAsReady) {
    QNURLConnectionOperation::registerArchiveClasses();
    auto decoded = KeyedUnarchiver::unarchiveObjectOfClass<QNURLConnectionOperation>(
        KeyedArchiver::archivedDataWithRootObject(Value(std::make_shared<ExecutingArchive>())));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->state(), QNOperationState::Ready) << "no connection would stand behind it";
    EXPECT_EQ(decoded->request().url()->absoluteString(), "http://127.0.0.1:9/x");
}

TEST(OperationArchiving, AnExecutingDownloadComesBackReadyToContinue) {
    const std::string body(4096, 'z');
    TestServer server;
    server.on("GET", "/part", [&](const RecordedRequest& request) {
        Reply reply = Reply::resource(request, body, "\"p1\"", "application/json");
        if (!request.header("Range")) reply.stallAfterBytes = 1024;
        return reply;
    });
    ASSERT_TRUE(server.start());
    auto operation = QNHTTPRequestOperation::operationWithRequest(archivedRequestFor(server, "/part"));
    auto serializer = QNJSONResponseSerializer::serializer();
    serializer->setAcceptableContentTypes(std::set<std::string>{"application/vnd.quovana+json"});
    serializer->setAcceptableStatusCodes(std::set<int64_t>{200, 206, 299});
    operation->setResponseSerializer(serializer);
    operation->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return operation->totalBytesRead() == 1024; }, kArchivingWait));
    ASSERT_TRUE(operation->isExecuting());

    auto decoded = roundTrip<QNHTTPRequestOperation>(operation);
    server.resumeStalledReplies();
    EXPECT_TRUE(operation->isPaused()) << "archiving pauses first";
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->state(), QNOperationState::Ready);
    EXPECT_TRUE(decoded->isReady());
    EXPECT_EQ(decoded->request().url()->absoluteString(), server.urlFor("/part"));
    EXPECT_EQ(decoded->request().valueForHTTPHeaderField("Range").value_or(""), "bytes=1024-");
    EXPECT_EQ(decoded->request().valueForHTTPHeaderField("If-Range").value_or(""), "\"p1\"");
    EXPECT_EQ(decoded->totalBytesRead(), 1024);
    ASSERT_TRUE(decoded->response());
    EXPECT_EQ(decoded->response()->statusCode(), 200);
    EXPECT_EQ(decoded->response()->valueForHTTPHeaderField("ETag").value_or(""), "\"p1\"");
    EXPECT_FALSE(decoded->error());
    auto kept = std::dynamic_pointer_cast<QNJSONResponseSerializer>(decoded->responseSerializer());
    ASSERT_TRUE(kept) << "the serializer keeps its class";
    EXPECT_EQ(kept->acceptableContentTypes(), serializer->acceptableContentTypes());
    EXPECT_EQ(kept->acceptableStatusCodes(), serializer->acceptableStatusCodes());

    // A paused operation holds itself until it ends.
    operation->cancel();
    operation->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return operation->isFinished(); }, kArchivingWait));
}

TEST(OperationArchiving, AFinishedOperationKeepsItsDataAndErrorButNotItsState) {
    TestServer server;
    server.on("GET", "/done", Reply::text("all of it"));
    ASSERT_TRUE(server.start());
    auto finished = QNURLConnectionOperation::operationWithRequest(archivedRequestFor(server, "/done"));
    finished->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return finished->isFinished() && finished->totalBytesRead() == 9; }, kArchivingWait));

    auto decoded = roundTrip<QNURLConnectionOperation>(finished);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->className(), "QNURLConnectionOperation");
    EXPECT_FALSE(std::dynamic_pointer_cast<QNHTTPRequestOperation>(decoded));
    EXPECT_EQ(decoded->state(), QNOperationState::Ready) << "ready to finished is only for a cancelled operation";
    EXPECT_EQ(decoded->responseData().value_or(Data()).toString(), "all of it");
    EXPECT_EQ(decoded->totalBytesRead(), 9);
    EXPECT_TRUE(finished->isFinished()) << "pausing a finished operation does nothing";

    auto cancelled = QNHTTPRequestOperation::operationWithRequest(archivedRequestFor(server, "/done"));
    cancelled->cancel();
    cancelled->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return cancelled->isFinished(); }, kArchivingWait));
    auto decodedCancelled = roundTrip<QNHTTPRequestOperation>(cancelled);
    ASSERT_TRUE(decodedCancelled);
    ASSERT_TRUE(decodedCancelled->error());
    EXPECT_EQ(decodedCancelled->error()->domain(), kURLErrorDomain);
    EXPECT_EQ(decodedCancelled->error()->code(), URLError::Cancelled);
    EXPECT_EQ(decodedCancelled->error()->failingURLString().value_or(""), server.urlFor("/done"));
    EXPECT_FALSE(decodedCancelled->response());
    EXPECT_FALSE(decodedCancelled->responseData());

    // Foreign bytes read as nothing.
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectOfClass<QNHTTPRequestOperation>(Data::fromString("QVKA junk")));
}

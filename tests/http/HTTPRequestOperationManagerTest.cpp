// The operation manager: base-URL handling, verbs queued with the manager's
// serializers, HEAD, multipart POST and requests that cannot be built.
#include <gtest/gtest.h>

#include "foundation/RunLoop.h"
#include "http/QNHTTPRequestOperationManager.h"
#include "http/QNMultipartFormData.h"
#include "http/QNNetworking.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;

namespace {
constexpr double kOperationManagerWait = 20;
}

TEST(HTTPRequestOperationManager, BaseURLsAndRequestsThatCannotBeBuilt) {
    QNHTTPRequestOperationManager withPath(URL::URLWithString("http://127.0.0.1:1/api"));
    EXPECT_EQ(withPath.baseURL()->absoluteString(), "http://127.0.0.1:1/api/");
    QNHTTPRequestOperationManager bare(URL::URLWithString("http://127.0.0.1:1"));
    EXPECT_EQ(bare.baseURL()->absoluteString(), "http://127.0.0.1:1");
    auto operation = withPath.HTTPRequestOperationWithHTTPMethod("GET", "v1/items", Value(), nullptr, nullptr);
    ASSERT_TRUE(operation);
    EXPECT_EQ(operation->request().url()->absoluteString(), "http://127.0.0.1:1/api/v1/items");
    EXPECT_EQ(withPath.description().find("<QNHTTPRequestOperationManager: 0x"), 0u);
    EXPECT_NE(withPath.description().find("baseURL: http://127.0.0.1:1/api/"), std::string::npos);

    withPath.requestSerializer()->setQueryStringSerializationWithBlock(
        [](const URLRequest&, const Value&, ErrorPtr* error) -> std::optional<std::string> {
            *error = Error::make(kQNURLRequestSerializationErrorDomain, 1);
            return std::nullopt;
        });
    int failures = 0;
    bool noOperation = false;
    auto refused = withPath.GET("v1/items", Value::dictionary({{"a", 1}}), nullptr,
                                [&](const QNHTTPRequestOperationPtr& op, const ErrorPtr& error) {
                                    failures++;
                                    noOperation = !op && error;
                                });
    EXPECT_FALSE(refused);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return failures > 0; }, kOperationManagerWait));
    RunLoop::main().runUntil([] { return false; }, 0.05);
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(noOperation);
    EXPECT_EQ(withPath.operationQueue()->operationCount(), 0u);

    // Archives and copies keep the base URL and the serializers' settings.
    withPath.requestSerializer()->setValue("v", "X-Test");
    QNHTTPRequestOperationManager::registerArchiveClass();
    auto decoded = KeyedUnarchiver::unarchiveObjectOfClass<QNHTTPRequestOperationManager>(
        KeyedArchiver::archivedDataWithRootObject(Value(std::make_shared<QNHTTPRequestOperationManager>(withPath))));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->baseURL()->absoluteString(), "http://127.0.0.1:1/api/");
    EXPECT_EQ(decoded->requestSerializer()->valueForHTTPHeaderField("X-Test"), "v");
    EXPECT_EQ(decoded->responseSerializer()->className(), "QNJSONResponseSerializer");
    auto copied = withPath.copy();
    EXPECT_EQ(copied->requestSerializer()->valueForHTTPHeaderField("X-Test"), "v");
    EXPECT_NE(copied->requestSerializer(), withPath.requestSerializer());
}

TEST(HTTPRequestOperationManager, VerbsRunOnTheQueue) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/api/items", Reply{200, {}, "application/json", R"({"n":1})"});
    server.on("POST", "/api/upload", Reply{201, {}, "application/json", R"({"ok":true})"});
    QNHTTPRequestOperationManager manager(URL::URLWithString(server.urlFor("/api")));

    Value object;
    manager.GET("items", Value::dictionary({{"q", "x"}}),
                [&](const QNHTTPRequestOperationPtr&, const Value& value) {
                    EXPECT_TRUE(isMainThread());
                    object = value;
                },
                nullptr);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return bool(object); }, kOperationManagerWait));
    EXPECT_EQ(object, Value::dictionary({{"n", 1}}));
    EXPECT_EQ(server.lastRequest()->path, "/api/items?q=x");

    QNHTTPRequestOperationPtr headed;
    manager.HEAD("items", Value(), [&](const QNHTTPRequestOperationPtr& op) { headed = op; }, nullptr);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return bool(headed); }, kOperationManagerWait));
    EXPECT_EQ(headed->response()->statusCode(), 200);
    EXPECT_EQ(server.lastRequest()->method, "HEAD");

    bool uploaded = false;
    manager.POST(
        "upload", Value::dictionary({{"a", "x"}}),
        [](QNMultipartFormData& form) { form.appendPartWithFileData(Data::fromString("PNG"), "f", "f.png", "image/png"); },
        [&](const QNHTTPRequestOperationPtr&, const Value&) { uploaded = true; }, nullptr);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return uploaded; }, kOperationManagerWait));
    auto upload = server.lastRequest();
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->header("Content-Type").value_or("").rfind("multipart/form-data; boundary=Boundary+", 0), 0u);
    ASSERT_EQ(upload->formParts.size(), 2u);
    EXPECT_EQ(upload->formParts[0].name, "a");
    EXPECT_EQ(upload->formParts[0].content, "x");
    EXPECT_EQ(upload->formParts[1].filename, "f.png");
    EXPECT_EQ(upload->formParts[1].contentType, "image/png");
    EXPECT_EQ(upload->formParts[1].content, "PNG");
}

// The web view's loading conversation: the delegate decides, start and end
// come on later turns of the main loop, and http requests are answered by
// whatever server is there.
#include <gtest/gtest.h>

#include "foundation/HTTPURLResponse.h"
#include "foundation/RunLoop.h"
#include "service/TestServer.h"
#include "uikit/UIWebView.h"

namespace {

using namespace uikit;

struct WebViewRecorder : UIWebViewDelegate {
    bool allowLinks = false;
    std::vector<std::string> calls;
    foundation::ErrorPtr error;
    bool webViewShouldStartLoadWithRequest(UIWebView&, const foundation::URLRequest& request,
                                           UIWebViewNavigationType type) override {
        calls.push_back("should " + request.url()->absoluteString() + " " + std::to_string(int(type)));
        return type != UIWebViewNavigationType::LinkClicked || allowLinks;
    }
    void webViewDidStartLoad(UIWebView&) override { calls.push_back("start"); }
    void webViewDidFinishLoad(UIWebView&) override { calls.push_back("finish"); }
    void webViewDidFailLoadWithError(UIWebView&, const foundation::ErrorPtr& e) override {
        calls.push_back("fail");
        error = e;
    }
    bool ended() const { return !calls.empty() && (calls.back() == "finish" || calls.back() == "fail"); }
};

const std::string kNote =
    "<div>If you have been provided with a passcode please use our "
    "<a style='color:#409ED2' href=\"login:goToPasscodeLogin\">passcode login</a></div>";

TEST(UIWebView, HTMLLoadsFinishOnALaterTurnAndRefusedLinksLoadNothing) {
    auto web = std::make_shared<UIWebView>();
    auto delegate = std::make_shared<WebViewRecorder>();
    web->setDelegate(delegate);
    web->scrollView().setScrollEnabled(false);
    web->scrollView().setBounces(false);
    auto base = foundation::URL::fileURLWithPath("/app/Resources", true);
    web->loadHTMLString(kNote, base);
    EXPECT_TRUE(web->isLoading());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should " + base.absoluteString() + " 5"}));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate->ended(); }, 5));
    EXPECT_EQ(delegate->calls.back(), "finish");
    EXPECT_FALSE(web->isLoading());
    EXPECT_EQ(web->HTMLString(), kNote);
    EXPECT_EQ(web->baseURL()->absoluteString(), base.absoluteString());
    EXPECT_EQ(web->linkURLs(), (std::vector<std::string>{"login:goToPasscodeLogin"}));

    delegate->calls.clear();
    EXPECT_FALSE(web->clickLink("login:goToPasscodeLogin"));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should login:goToPasscodeLogin 0"}));
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(delegate->calls.size(), 1u);
    EXPECT_FALSE(web->isLoading());
    EXPECT_EQ(web->HTMLString(), kNote);  // still the page

    // Allowed, a scheme nothing here loads fails with the URL-loading error.
    delegate->allowLinks = true;
    delegate->calls.clear();
    EXPECT_TRUE(web->clickLink("login:goToPasscodeLogin"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate->ended(); }, 5));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should login:goToPasscodeLogin 0", "start", "fail"}));
    EXPECT_EQ(delegate->error->domain(), foundation::kURLErrorDomain);
    EXPECT_EQ(delegate->error->code(), foundation::URLError::UnsupportedURL);

    // Data loads keep their type; stopping ends a load without a report.
    delegate->calls.clear();
    web->loadData(foundation::Data::fromString("%PDF"), "application/pdf", "utf-8", std::nullopt);
    web->stopLoading();
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should about:blank 5"}));
    EXPECT_EQ(web->MIMEType(), "application/pdf");
    EXPECT_FALSE(web->isLoading());
}

TEST(UIWebView, RequestsEndAsTheServerAnswers) {
    testservice::TestServer server;
    server.on("GET", "/page", testservice::Reply::text("<html>hello</html>"));
    ASSERT_TRUE(server.start());
    auto web = std::make_shared<UIWebView>();
    auto delegate = std::make_shared<WebViewRecorder>();
    web->setDelegate(delegate);

    auto missing = *foundation::URL::URLWithString(server.urlFor("/missing"));
    web->loadRequest(foundation::URLRequest(missing));
    EXPECT_EQ(delegate->calls.size(), 1u);  // nothing more before the loop turns
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate->ended(); }, 10));
    EXPECT_EQ(delegate->calls.back(), "finish");  // a 404 page is still a page
    auto response = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(web->response());
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->statusCode(), 404);
    EXPECT_EQ(web->request()->url()->absoluteString(), missing.absoluteString());
    EXPECT_EQ(server.lastRequest()->path, "/missing");

    delegate->calls.clear();
    web->loadRequest(foundation::URLRequest(*foundation::URL::URLWithString(server.urlFor("/page"))));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate->ended(); }, 10));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should " + server.urlFor("/page") + " 5", "start", "finish"}));
    ASSERT_TRUE(web->data().has_value());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(web->data()->bytes()), web->data()->length()),
              "<html>hello</html>");

    // Nobody listening: the load fails with the transport's error.
    std::string closed = server.urlFor("/page");
    server.stop();
    delegate->calls.clear();
    web->loadRequest(foundation::URLRequest(*foundation::URL::URLWithString(closed)));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate->ended(); }, 10));
    EXPECT_EQ(delegate->calls.back(), "fail");
    EXPECT_EQ(delegate->error->domain(), foundation::kURLErrorDomain);
    EXPECT_EQ(web->lastError(), delegate->error);
}

}  // namespace

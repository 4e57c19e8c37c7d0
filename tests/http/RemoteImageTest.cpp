// Remote images of image views and buttons against the local test server:
// the cache, stale results, failures, memory warnings and button state slots.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "foundation/RunLoop.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNImageCache.h"
#include "http/UIButtonQNNetworking.h"
#include "http/UIButton_QNNetworking.h"
#include "http/UIImageViewQNNetworking.h"
#include "http/UIImageView_QNNetworking.h"
#include "service/TestImages.h"
#include "service/TestServer.h"
#include "uikit/UIApplication.h"
#include "uikit/UIButton.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;
using uikit::UIImagePtr;

namespace {

constexpr double kImageWait = 20;

bool waitForImage(const std::function<bool()>& predicate) { return RunLoop::main().runUntil(predicate, kImageWait); }

// Waits for work off the main thread while the main loop stands still, so
// what the finished operation posts to it stays queued.
bool waitWithoutMainLoop(const std::function<bool()>& predicate) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(int(kImageWait));
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

Reply png(int width, int height) {
    Reply reply;
    reply.contentType = "image/png";
    reply.body = testservice::makePNG(width, height);
    return reply;
}

Reply held() {
    Reply reply = png(2, 2);
    reply.neverAnswer = true;
    return reply;
}

URL imageURLOf(const TestServer& server, const std::string& path) { return *URL::URLWithString(server.urlFor(path)); }

int pixelWidth(const UIImagePtr& image) { return image && image->bitmap() ? image->bitmap()->width() : -1; }

// Each test has caches of its own on the classes it uses, and leaves none behind.
class RemoteImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        UIImageViewQNNetworking::setSharedImageCache(viewCache);
        UIButtonQNNetworking::setSharedImageCache(buttonCache);
    }
    void TearDown() override {
        UIImageViewQNNetworking::setSharedImageCache(nullptr);
        UIButtonQNNetworking::setSharedImageCache(nullptr);
        server.stop();
    }

    TestServer server;
    std::shared_ptr<QNImageCache> viewCache = std::make_shared<QNImageCache>();
    std::shared_ptr<QNImageCache> buttonCache = std::make_shared<QNImageCache>();
};

TEST_F(RemoteImageTest, TheSameURLTwiceMakesOneRequestAndPolicyOneAlwaysLoads) {
    server.on("GET", "/a.png", png(5, 3));
    auto view = std::make_shared<uikit::UIImageView>();
    UIImageViewQNNetworking::setImageWithURL(view, imageURLOf(server, "/a.png"));
    ASSERT_TRUE(waitForImage([&] { return view->image() != nullptr; }));
    EXPECT_EQ(pixelWidth(view->image()), 5);
    EXPECT_EQ(server.lastRequest()->header("Accept"), "image/*");
    EXPECT_FALSE(UIImageView_QNNetworking::qn_imageRequestOperation(*view));

    int hits = 0;
    auto other = std::make_shared<uikit::UIImageView>();
    URLRequest again(imageURLOf(server, "/a.png"));
    UIImageViewQNNetworking::setImageWithURLRequest(
        other, again, nullptr,
        [&](const std::optional<URLRequest>& request, const std::shared_ptr<HTTPURLResponse>& response,
            const UIImagePtr& image) {
            ++hits;
            EXPECT_FALSE(request);
            EXPECT_FALSE(response);
            EXPECT_EQ(pixelWidth(image), 5);
        },
        nullptr);
    EXPECT_EQ(hits, 1);
    EXPECT_FALSE(other->image());  // the success block sets it, or not
    EXPECT_EQ(server.requestCount(), 1u);

    server.on("GET", "/a.png", png(7, 3));
    URLRequest reload(imageURLOf(server, "/a.png"));
    reload.setCachePolicy(URLRequest::CachePolicy::ReloadIgnoringLocalCacheData);
    UIImageViewQNNetworking::setImageWithURLRequest(view, reload, nullptr, nullptr, nullptr);
    ASSERT_TRUE(waitForImage([&] { return pixelWidth(view->image()) == 7; }));
    EXPECT_EQ(server.requestCount(), 2u);
    EXPECT_EQ(pixelWidth(viewCache->cachedImageForRequest(URLRequest(imageURLOf(server, "/a.png")))), 7);
    EXPECT_FALSE(viewCache->cachedImageForRequest(reload));
}

TEST_F(RemoteImageTest, ANewerRequestWinsAndTheStaleImageIsOnlyCached) {
    server.on("GET", "/a.png", png(4, 4));
    server.on("GET", "/b.png", png(9, 9));
    auto view = std::make_shared<uikit::UIImageView>();
    UIImageViewQNNetworking::setImageWithURL(view, imageURLOf(server, "/a.png"));
    auto first = UIImageView_QNNetworking::qn_imageRequestOperation(*view);
    ASSERT_TRUE(first);
    // A is done, but its result still waits for the main loop.
    ASSERT_TRUE(waitWithoutMainLoop([&] { return first->isFinished(); }));
    UIImageViewQNNetworking::setImageWithURL(view, imageURLOf(server, "/b.png"));
    ASSERT_TRUE(waitForImage([&] { return viewCache->count() == 2; }));
    EXPECT_EQ(pixelWidth(view->image()), 9);
    EXPECT_EQ(pixelWidth(viewCache->cachedImageForRequest(URLRequest(imageURLOf(server, "/a.png")))), 4);
}

TEST_F(RemoteImageTest, AFailedLoadLeavesThePlaceholderOrTheEarlierImage) {
    server.on("GET", "/gone.png", Reply::text("no such picture", 404));
    auto placeholder = uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(1, 1));
    auto view = std::make_shared<uikit::UIImageView>();
    int failures = 0;
    ErrorPtr error;
    UIImageViewQNNetworking::setImageWithURLRequest(
        view, URLRequest(imageURLOf(server, "/gone.png")), placeholder, nullptr,
        [&](const URLRequest& request, const std::shared_ptr<HTTPURLResponse>& response, const ErrorPtr& e) {
            ++failures;
            error = e;
            EXPECT_EQ(request.url()->path(), "/gone.png");
            EXPECT_EQ(response->statusCode(), 404);
        });
    EXPECT_EQ(view->image(), placeholder);
    ASSERT_TRUE(waitForImage([&] { return failures == 1; }));
    EXPECT_EQ(view->image(), placeholder);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_EQ(viewCache->count(), 0u);

    auto earlier = uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(3, 3));
    view->setImage(earlier);
    UIImageViewQNNetworking::setImageWithURL(view, imageURLOf(server, "/gone.png"));
    auto operation = UIImageView_QNNetworking::qn_imageRequestOperation(*view);
    ASSERT_TRUE(waitForImage([&] { return !UIImageView_QNNetworking::qn_imageRequestOperation(*view); }));
    EXPECT_TRUE(operation->isFinished());
    EXPECT_EQ(view->image(), earlier);
}

// A class with a cache of its own, which memory warnings leave alone.
class BadgeView : public uikit::UIImageView {
public:
    std::string className() const override { return "BadgeView"; }
};

TEST_F(RemoteImageTest, AMemoryWarningEmptiesOnlyTheDefaultCache) {
    server.on("GET", "/a.png", png(2, 2));
    UIImageViewQNNetworking::setSharedImageCache(nullptr);
    auto badges = std::make_shared<QNImageCache>();
    UIImageViewQNNetworking::setSharedImageCache(badges, "BadgeView");
    auto defaultCache = UIImageViewQNNetworking::sharedImageCache();
    ASSERT_NE(defaultCache, badges);

    auto plain = std::make_shared<uikit::UIImageView>();
    auto badge = std::make_shared<BadgeView>();
    UIImageViewQNNetworking::setImageWithURL(plain, imageURLOf(server, "/a.png"));
    UIImageViewQNNetworking::setImageWithURL(badge, imageURLOf(server, "/a.png"));
    ASSERT_TRUE(waitForImage([&] { return plain->image() && badge->image(); }));
    URLRequest a(imageURLOf(server, "/a.png"));
    EXPECT_TRUE(defaultCache->cachedImageForRequest(a));
    EXPECT_TRUE(badges->cachedImageForRequest(a));

    uikit::UIApplication::sharedApplication().simulateMemoryWarning();
    EXPECT_TRUE(waitForImage([&] { return defaultCache->count() == 0; }));
    EXPECT_EQ(badges->count(), 1u);
    UIImageViewQNNetworking::setSharedImageCache(nullptr, "BadgeView");
}

TEST_F(RemoteImageTest, ButtonStatesShareTheNormalSlotAndStaleImagesAreOnlyCached) {
    using UIButton_QNNetworking::qn_imageRequestOperationForState;
    server.on("GET", "/held.png", held());
    server.on("GET", "/a.png", png(4, 4));
    server.on("GET", "/b.png", png(6, 6));
    auto button = std::make_shared<uikit::UIButton>();
    const unsigned combined = uikit::UIControlStateHighlighted | uikit::UIControlStateSelected;

    UIButtonQNNetworking::setImageForState(button, uikit::UIControlStateNormal, imageURLOf(server, "/held.png"));
    auto first = qn_imageRequestOperationForState(*button, uikit::UIControlStateNormal);
    ASSERT_TRUE(first);
    UIButtonQNNetworking::setImageForState(button, combined, imageURLOf(server, "/a.png"));
    EXPECT_TRUE(first->isCancelled());
    auto second = qn_imageRequestOperationForState(*button, uikit::UIControlStateNormal);
    EXPECT_EQ(second, qn_imageRequestOperationForState(*button, combined));
    EXPECT_NE(second, first);
    EXPECT_FALSE(qn_imageRequestOperationForState(*button, uikit::UIControlStateHighlighted));
    ASSERT_TRUE(waitForImage([&] { return button->imageForState(combined) != nullptr; }));
    EXPECT_EQ(pixelWidth(button->imageForState(combined)), 4);

    // A finished load the slot no longer wants: cached, not shown.
    UIButtonQNNetworking::setBackgroundImageForState(button, uikit::UIControlStateSelected, imageURLOf(server, "/b.png"));
    auto stale = UIButton_QNNetworking::qn_backgroundImageRequestOperationForState(*button, uikit::UIControlStateSelected);
    ASSERT_TRUE(waitWithoutMainLoop([&] { return stale->isFinished(); }));
    server.on("GET", "/c.png", held());
    UIButtonQNNetworking::setBackgroundImageForState(button, uikit::UIControlStateSelected, imageURLOf(server, "/c.png"));
    ASSERT_TRUE(waitForImage([&] { return buttonCache->cachedImageForRequest(URLRequest(imageURLOf(server, "/b.png"))) != nullptr; }));
    EXPECT_FALSE(button->backgroundImageForState(uikit::UIControlStateSelected));
    UIButtonQNNetworking::cancelBackgroundImageRequestOperationForState(*button, uikit::UIControlStateSelected);
    EXPECT_FALSE(UIButton_QNNetworking::qn_backgroundImageRequestOperationForState(*button, uikit::UIControlStateSelected));
}

TEST_F(RemoteImageTest, AButtonCacheHitHasNoRequestAndTheImageViewCacheIsTheFallback) {
    server.on("GET", "/a.png", png(3, 3));
    auto image = uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(8, 8));
    URLRequest request(imageURLOf(server, "/a.png"));
    buttonCache->cacheImage(image, request);
    auto button = std::make_shared<uikit::UIButton>();
    int hits = 0;
    UIButtonQNNetworking::setImageForState(
        button, uikit::UIControlStateDisabled, request, nullptr,
        [&](const std::optional<URLRequest>& r, const std::shared_ptr<HTTPURLResponse>& response, const UIImagePtr& i) {
            ++hits;
            EXPECT_FALSE(r);
            EXPECT_FALSE(response);
            EXPECT_EQ(i, image);
        },
        nullptr);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(server.requestCount(), 0u);
    UIButtonQNNetworking::setImageForState(button, uikit::UIControlStateDisabled, request, nullptr, nullptr, nullptr);
    EXPECT_EQ(button->imageForState(uikit::UIControlStateDisabled), image);

    // Without a cache of its own the button uses the image views'.
    UIButtonQNNetworking::setSharedImageCache(nullptr);
    EXPECT_EQ(UIButtonQNNetworking::sharedImageCache(), viewCache);
}

}  // namespace

// The web and image screens: the progress cover of the web page ending on
// finish and on failure, the picture page with and without a picture, the
// full-screen push refused without an address, and the picture segment's
// placeholder (taps ignored) or remote picture (taps open it full screen).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "api/LocalServiceTest.h"
#include "analytics/AnalyticsUtils.h"
#include "app/AppStoryboards.h"
#include "app/ImageViewController.h"
#include "app/ImageWebViewController.h"
#include "app/LoginScenes.h"
#include "app/WebViewController.h"
#include "foundation/Clock.h"
#include "service/TestImages.h"
#include "service/TestServer.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIWindow.h"

namespace {

constexpr double kWebImageStartInstant = 447669000;

class WebImageScreensTest : public apitest::LocalServiceTest {
protected:
    void SetUp() override {
        LocalServiceTest::SetUp();
        foundation::Clock::useVirtual(kWebImageStartInstant);
        app().resetForTests();
        uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
        AppStoryboards::registerStoryboards();
        LoginScenes::registerScenes(*uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName));
        AnalyticsUtils::initializeAnalytics();
        home = std::make_shared<BaseViewController>();
        navigation = std::make_shared<uikit::UINavigationController>();
        navigation->setViewControllers({home}, false);
        app().keyWindow()->setRootViewController(navigation);
        app().keyWindow()->makeKeyAndVisible();
        driver.settle();
    }
    void TearDown() override {
        app().keyWindow()->setRootViewController(nullptr);
        app().resetForTests();
        loop.runDueTasks();
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }
    static uikit::UIApplication& app() { return uikit::UIApplication::sharedApplication(); }
    void push(const uikit::UIViewControllerPtr& screen) {
        navigation->pushViewController(screen, false);
        driver.settle();
    }
    static bool tap(uikit::UIImageView& view) {
        for (const auto& recognizer : view.gestureRecognizers())
            if (auto tapRecognizer = std::dynamic_pointer_cast<uikit::UITapGestureRecognizer>(recognizer))
                return tapRecognizer->fireAtPoint({1, 1});
        return false;
    }

    std::shared_ptr<BaseViewController> home;
    std::shared_ptr<uikit::UINavigationController> navigation;
    uikit::ScreenDriver driver;
};

TEST_F(WebImageScreensTest, TheWebPagesProgressCoverEndsWhenThePageFinishesOrFails) {
    service->server().on("GET", "/feedback", testservice::Reply::text("<html><body>Feedback</body></html>"));
    auto page = BaseViewController::instantiateViewController<WebViewController>();
    ASSERT_NE(page, nullptr);
    page->setSiteUrl(service->baseURL() + "/feedback");
    navigation->pushViewController(page, false);
    EXPECT_NE(page->loadingView(), nullptr);
    ASSERT_TRUE(loop.runUntil([&] { return !page->webView()->isLoading(); }, apitest::kWait));
    driver.settle();
    EXPECT_EQ(page->loadingView(), nullptr);
    EXPECT_EQ(page->edgesForExtendedLayout(), uikit::UIRectEdgeNone);
    auto events = AnalyticsUtils::queuedEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().name, "View event feedback");

    // Nothing listens on this port any more: the load fails, silently.
    auto failing = BaseViewController::instantiateViewController<WebViewController>();
    failing->setSiteUrl(std::string("http://127.0.0.1:1/feedback"));
    navigation->pushViewController(failing, false);
    EXPECT_NE(failing->loadingView(), nullptr);
    ASSERT_TRUE(loop.runUntil([&] { return !failing->webView()->isLoading(); }, apitest::kWait));
    driver.settle();
    EXPECT_NE(failing->webView()->lastError(), nullptr);
    EXPECT_EQ(failing->loadingView(), nullptr);
}

TEST_F(WebImageScreensTest, ThePicturePageShowsNoMapAtOnceAndCentresAGivenPicture) {
    auto empty = BaseViewController::instantiateViewController<ImageWebViewController>();
    ASSERT_NE(empty, nullptr);
    empty->setLocationTitle(std::string("Hall A"));
    empty->loadViewIfNeeded();
    EXPECT_NE(empty->webView()->HTMLString()->find("No map available"), std::string::npos);
    EXPECT_TRUE(empty->activityIndicator()->isHidden());
    EXPECT_FALSE(empty->activityIndicator()->isAnimating());
    EXPECT_EQ(empty->titleLabel()->text(), std::optional<std::string>("Hall A"));

    ImageWebViewController::navigateWithImageUrl(std::nullopt, std::string("Hall A"), home);
    driver.settle();
    EXPECT_EQ(navigation->viewControllers().size(), 1u);

    ImageWebViewController::navigateWithImageUrl(std::string("http://x/plan.png"), std::string("Hall B"), home);
    driver.settle();
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    auto shown = std::dynamic_pointer_cast<ImageWebViewController>(navigation->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->locationTitle(), std::optional<std::string>("Hall B"));
    EXPECT_NE(shown->webView()->HTMLString()->find("<img src=\"http://x/plan.png\" />"), std::string::npos);
    // The page is HTML: it finishes, and the spinner ends with it.
    EXPECT_FALSE(shown->activityIndicator()->isAnimating());
    EXPECT_TRUE(shown->activityIndicator()->isHidden());

    shown->setSegmentedControlImageName(std::string("placeholder_no_image_for_location.png"));
    EXPECT_NE(shown->segmentedControlImage(), nullptr);
    EXPECT_EQ(empty->segmentedControlImage(), nullptr);
}

TEST_F(WebImageScreensTest, ThePictureSegmentShowsThePlaceholderOrLoadsThePictureAndOpensIt) {
    auto placeholder = BaseViewController::instantiateViewController<ImageViewController>();
    ASSERT_NE(placeholder, nullptr);
    push(placeholder);
    auto view = placeholder->imageView();
    ASSERT_NE(view->image(), nullptr);
    EXPECT_EQ(view->image()->name(), std::optional<std::string>(ImageViewController::kPlaceholderImageName));
    EXPECT_EQ(view->contentMode(), uikit::UIViewContentMode::Center);
    EXPECT_TRUE(view->isUserInteractionEnabled());
    EXPECT_TRUE(tap(*view));
    driver.settle();
    EXPECT_EQ(navigation->topViewController(), placeholder);

    testservice::Reply png;
    png.contentType = "image/png";
    png.body = testservice::makePNG(8, 6);
    service->server().on("GET", "/room.png", png);
    auto picture = BaseViewController::instantiateViewController<ImageViewController>();
    picture->setImageUrl(service->baseURL() + "/room.png");
    picture->setImageTitle(std::string("Room 1"));
    push(picture);
    ASSERT_TRUE(loop.runUntil([&] { return picture->imageView()->image() != nullptr; }, apitest::kWait));
    EXPECT_EQ(picture->imageView()->image()->size().width * picture->imageView()->image()->scale(), 8);
    EXPECT_TRUE(tap(*picture->imageView()));
    driver.settle();
    auto full = std::dynamic_pointer_cast<ImageWebViewController>(navigation->topViewController());
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->imageUri(), picture->imageUrl());
    EXPECT_EQ(full->locationTitle(), std::optional<std::string>("Room 1"));
}

}  // namespace

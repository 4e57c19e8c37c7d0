// The start tutorial: the download's progress in the bar and label and the
// Skip button's arrival, the progress display hidden before the view loads,
// the lazily built pages and their renewal by a later layout pass, Skip's
// glide to the last page and its close there, entering and leaving the last
// page (dots, phone, the notification request), and the parallax.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/ScreenTest.h"
#include "app/QVAStartTutorialViewController.h"
#include "app/StartTutorialStrings.h"
#include "foundation/Bundle.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UIButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIProgressView.h"
#include "uikit/UIView.h"
#include "uikit/UIViewAnimation.h"

namespace {

size_t imageViewsIn(const uikit::UIView& view) {
    size_t count = 0;
    for (const auto& subview : view.subviews())
        if (std::dynamic_pointer_cast<uikit::UIImageView>(subview)) ++count;
    return count;
}

std::shared_ptr<uikit::UILabel> titleLabelOf(const uikit::UIViewControllerPtr& page) {
    return std::dynamic_pointer_cast<uikit::UILabel>(page->view()->subviews().at(0));
}

class StartTutorialTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        foundation::Bundle::mainBundle().setStringTable("", StartTutorialStrings::entries());
        ApplicationSettingsStore::sharedApplicationSettingsStore().setSettingsShowTutorial(true);
        uikit::UIView::clearRecordedAnimations();
    }
    void TearDown() override {
        foundation::Bundle::mainBundle().setStringTable("", {});
        ScreenTest::TearDown();
    }

    // Presented over a plain root, as the help screen does.
    std::shared_ptr<QVAStartTutorialViewController> present(bool hideProgress) {
        host_ = std::make_shared<uikit::UIViewController>();
        showRoot(host_);
        auto tutorial = std::make_shared<QVAStartTutorialViewController>();
        if (hideProgress) tutorial->hideProgressBar();
        host_->presentViewController(tutorial, false);
        settle();
        return tutorial;
    }
    double pageWidth(const QVAStartTutorialViewController& tutorial) const {
        return tutorial.scrollView()->frame().size.width;
    }

    uikit::UIViewControllerPtr host_;
};

TEST_F(StartTutorialTest, ProgressFillsTheLabelAndBringsSkipAtTheEnd) {
    auto tutorial = present(false);
    ASSERT_TRUE(tutorial->progressView());
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content ");
    EXPECT_EQ(tutorial->skipButton()->alpha(), 0);

    tutorial->progressAt(0);
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content (0%)");
    tutorial->progressAt(static_cast<float>(11) / 22);
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content (50%)");
    EXPECT_DOUBLE_EQ(tutorial->progressView()->progress(), 0.5);
    EXPECT_EQ(tutorial->skipButton()->alpha(), 0);
    EXPECT_TRUE(uikit::UIView::recordedAnimations().empty());

    tutorial->progressAt(1.0);
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content (100%)");
    ASSERT_EQ(uikit::UIView::recordedAnimations().size(), 1u);
    EXPECT_DOUBLE_EQ(uikit::UIView::recordedAnimations().back().duration, 1.5);
    EXPECT_EQ(tutorial->skipButton()->alpha(), 1);
    EXPECT_EQ(tutorial->progressLabel()->alpha(), 0);
    EXPECT_EQ(tutorial->progressView()->alpha(), 0);
}

TEST_F(StartTutorialTest, ProgressBeforeTheViewLoadsIsShownOnceItLoads) {
    auto tutorial = std::make_shared<QVAStartTutorialViewController>();
    tutorial->progressAt(0.5);
    EXPECT_FALSE(tutorial->isViewLoaded());
    tutorial->loadViewIfNeeded();
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content (50%)");
    EXPECT_EQ(tutorial->skipButton()->alpha(), 0);

    auto complete = std::make_shared<QVAStartTutorialViewController>();
    complete->progressAt(1.0);
    complete->loadViewIfNeeded();
    EXPECT_EQ(complete->progressLabel()->text(), "Downloading content (100%)");
    EXPECT_EQ(complete->skipButton()->alpha(), 1);
}

TEST_F(StartTutorialTest, HiddenProgressBeforeLoadingGivesNoBarAndAVisibleSkip) {
    auto tutorial = present(true);
    EXPECT_TRUE(tutorial->isProgressHidden());
    EXPECT_FALSE(tutorial->progressView());
    EXPECT_FALSE(tutorial->progressLabel());
    EXPECT_EQ(tutorial->skipButton()->alpha(), 1);
    EXPECT_NE(dump().find("Skip"), std::string::npos);
    EXPECT_EQ(dump().find("Downloading content"), std::string::npos);
    EXPECT_TRUE(tutorial->prefersStatusBarHidden());
    EXPECT_TRUE(uikit::UIApplication::sharedApplication().isStatusBarHidden());
}

TEST_F(StartTutorialTest, PagesAreBuiltLazilyWithTheirTextsAndRenewedWithoutPilingUp) {
    auto tutorial = present(true);
    for (int page : {0, 1, 5}) EXPECT_TRUE(tutorial->pageControllerAt(page)) << page;
    for (int page : {2, 3, 4}) EXPECT_FALSE(tutorial->pageControllerAt(page)) << page;
    EXPECT_EQ(titleLabelOf(tutorial->pageControllerAt(0))->text(), "WELCOME");
    EXPECT_EQ(tutorial->pageControllerAt(5)->view()->frame().origin.x, 5 * pageWidth(*tutorial));
    EXPECT_EQ(imageViewsIn(*tutorial->iphoneScrollView()), 3u);

    ASSERT_TRUE(scroll(0, 2 * pageWidth(*tutorial), std::string("scrollView")));
    EXPECT_EQ(tutorial->pageControl()->currentPage(), 2);
    for (int page : {0, 1, 2, 3, 5}) EXPECT_TRUE(tutorial->pageControllerAt(page)) << page;
    EXPECT_FALSE(tutorial->pageControllerAt(4));
    EXPECT_EQ(imageViewsIn(*tutorial->iphoneScrollView()), 5u);

    // A key the table lacks shows itself.
    foundation::Bundle::mainBundle().setStringTable("", {});
    tutorial->view()->setNeedsLayout();
    tutorial->view()->layoutIfNeeded();
    EXPECT_EQ(titleLabelOf(tutorial->pageControllerAt(1))->text(), "START_TUTORIAL_TITLE_1");
    EXPECT_FALSE(tutorial->pageControllerAt(2));
    size_t pages = 0;
    for (const auto& view : tutorial->scrollView()->subviews())
        if (!std::dynamic_pointer_cast<uikit::UIImageView>(view)) ++pages;
    EXPECT_EQ(pages, 3u);
    EXPECT_EQ(imageViewsIn(*tutorial->iphoneScrollView()), 3u);

    tutorial->loadScrollViewWithPage(6);
    tutorial->loadScrollViewWithPage(-1);
    EXPECT_EQ(imageViewsIn(*tutorial->iphoneScrollView()), 3u);
}

TEST_F(StartTutorialTest, SkipGlidesToTheLastPageThenClosesTurningTheSettingOff) {
    auto tutorial = present(true);
    const double width = pageWidth(*tutorial);
    const double height = tutorial->view()->frame().size.height;

    ASSERT_TRUE(tapButton("Skip"));
    // The glide, and inside it the entry into the last page.
    bool glide = false;
    bool entry = false;
    for (const auto& animation : uikit::UIView::recordedAnimations()) {
        glide = glide || (animation.duration == 1.5 && animation.options == uikit::UIViewAnimationOptionCurveEaseOut);
        entry = entry || animation.duration == 1.0;
    }
    EXPECT_TRUE(glide);
    EXPECT_TRUE(entry);
    EXPECT_EQ(tutorial->scrollView()->contentOffset().x, 5 * width);
    EXPECT_EQ(tutorial->pageControl()->currentPage(), 5);
    EXPECT_EQ(host_->presentedViewController(), tutorial);
    EXPECT_TRUE(ApplicationSettingsStore::sharedApplicationSettingsStore().settingsShowTutorial());

    // Entering the last page: dots gone, phone up, notifications asked for.
    EXPECT_EQ(tutorial->pageControl()->alpha(), 0);
    EXPECT_EQ(uikit::UIApplication::sharedApplication().registeredUserNotificationTypes(), 7u);
    EXPECT_DOUBLE_EQ(tutorial->iphoneImageView()->transform().ty, -height);
    EXPECT_DOUBLE_EQ(tutorial->iphoneScrollView()->transform().ty, -height);

    // Back to page 5: dots and phone return.
    ASSERT_TRUE(scroll(0, 4 * width, std::string("scrollView")));
    EXPECT_DOUBLE_EQ(uikit::UIView::recordedAnimations().back().duration, 0.75);
    EXPECT_EQ(tutorial->pageControl()->currentPage(), 4);
    EXPECT_EQ(tutorial->pageControl()->alpha(), 1);
    EXPECT_DOUBLE_EQ(tutorial->iphoneImageView()->transform().ty, 0);
    EXPECT_DOUBLE_EQ(tutorial->iphoneScrollView()->transform().ty, 0);

    ASSERT_TRUE(scroll(0, 5 * width, std::string("scrollView")));
    ASSERT_TRUE(tapButton("Skip"));
    advance(1);
    EXPECT_FALSE(ApplicationSettingsStore::sharedApplicationSettingsStore().settingsShowTutorial());
    EXPECT_FALSE(host_->presentedViewController());
    EXPECT_FALSE(uikit::UIApplication::sharedApplication().isStatusBarHidden());
}

TEST_F(StartTutorialTest, BackgroundAndPhoneFollowThePages) {
    auto tutorial = present(true);
    const double width = pageWidth(*tutorial);
    const double backgroundX = tutorial->backgroundImageView()->frame().origin.x;
    EXPECT_DOUBLE_EQ(backgroundX, -6 * tutorial->view()->bounds().size.width / 10);
    EXPECT_FALSE(tutorial->pageControl()->isUserInteractionEnabled());

    ASSERT_TRUE(scroll(0, width, std::string("scrollView")));
    EXPECT_DOUBLE_EQ(tutorial->backgroundImageView()->frame().origin.x, backgroundX - width / 10);
    EXPECT_DOUBLE_EQ(tutorial->iphoneScrollView()->contentOffset().x, tutorial->iphoneScrollView()->frame().size.width);
    EXPECT_EQ(tutorial->pageControl()->currentPage(), 1);
}

}  // namespace

namespace {

class PadStartTutorialTest : public StartTutorialTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadStartTutorialTest, RotationLaysThePagesOutAgainAtTheNewWidth) {
    auto tutorial = present(true);
    EXPECT_EQ(tutorial->scrollView()->contentSize().width, 6 * 768);
    ASSERT_TRUE(rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    const double width = tutorial->view()->frame().size.width;
    ASSERT_EQ(width, 1024);
    EXPECT_EQ(tutorial->scrollView()->contentSize().width, 6 * width);
    EXPECT_EQ(tutorial->pageControllerAt(5)->view()->frame().origin.x, 5 * width);
    EXPECT_EQ(tutorial->skipButton()->frame().origin.x, width - 50);
    EXPECT_EQ(tutorial->pageControl()->center().y, 768 - 30);
    size_t pages = 0;
    for (const auto& view : tutorial->scrollView()->subviews())
        if (!std::dynamic_pointer_cast<uikit::UIImageView>(view)) ++pages;
    EXPECT_EQ(pages, 3u);
}

}  // namespace

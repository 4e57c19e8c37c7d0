// The tutorial pager on both idioms: dots and content follow the page list,
// the dots follow the pager to the nearest page and move it back, each page
// shows its model with the idiom's picture, and closing stops the pages' web
// views before the tutorial leaves (dismissed on the phone, handed to the
// host on the pad).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ScreenTest.h"
#include "app/TutorialDelegate.h"
#include "app/TutorialNibs.h"
#include "app/TutorialPage.h"
#include "app/TutorialPageModel.h"
#include "app/TutorialViewController.h"
#include "foundation/Bundle.h"
#include "graphics/Bitmap.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIWebView.h"

namespace {

uikit::UIImagePtr picture() { return uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(4, 4)); }

TutorialPageModelPtr page(const std::string& title, const std::string& text, bool ipadPicture = false,
                          bool iphonePicture = false) {
    auto model = TutorialPageModel::initWithTitle(title, text, std::nullopt, std::nullopt);
    if (ipadPicture) model->setIpadImage(picture());
    if (iphonePicture) model->setIphoneImage(picture());
    return model;
}

// A tutorial as the app makes one: pages and title come from the subclass.
class SampleTutorial : public TutorialViewController {
public:
    explicit SampleTutorial(std::vector<TutorialPageModelPtr> models) { setPages(std::move(models)); }
    std::string tutorialTitle() const override { return "Getting around"; }
};

std::shared_ptr<SampleTutorial> threePages() {
    return std::make_shared<SampleTutorial>(std::vector<TutorialPageModelPtr>{
        page("Home", "<p>Your day</p>", true), page("Programme", "<b>Sessions</b>"), page("People", "Meet")});
}

std::vector<TutorialPagePtr> pagesOf(TutorialViewController& tutorial) {
    std::vector<TutorialPagePtr> pages;
    const auto& pager = tutorial.tutorialScrollView();
    if (!pager || pager->subviews().empty()) return pages;
    for (const auto& view : pager->subviews().front()->subviews())
        if (auto tutorialPage = std::dynamic_pointer_cast<TutorialPage>(view)) pages.push_back(tutorialPage);
    return pages;
}

class RecordingHost : public TutorialDelegate {
public:
    void tutorialClosed() override { ++closed; }
    void closeTutorialAndNavigateHome() override {}
    void closeTutorialAndNavigateToProgramme() override {}
    void closeTutorialAndNavigateToParticipants() override {}
    void closeTutorialAndNavigateToAgenda() override {}
    void closeTutorialAndNavigateToMessages() override {}
    void closeTutorialAndNavigateToSettings() override {}
    int closed = 0;
};

class PadTutorialTest : public ScreenTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

class PhoneTutorialTest : public ScreenTest {};

}  // namespace

TEST_F(PadTutorialTest, ThreePagesGiveThreeDotsAndAPagerThatTheDotsFollowBothWays) {
    auto tutorial = threePages();
    showRoot(tutorial);

    EXPECT_EQ(tutorial->pageWidth(), 600);
    const auto& pager = tutorial->tutorialScrollView();
    const auto& dots = tutorial->tutorialPageControl();
    ASSERT_TRUE(pager && dots);
    EXPECT_EQ(dots->numberOfPages(), 3);
    EXPECT_DOUBLE_EQ(pager->contentSize().width, 1800);
    EXPECT_DOUBLE_EQ(pager->layer()->cornerRadius(), 10);
    EXPECT_TRUE(pager->layer()->masksToBounds());
    EXPECT_EQ(dots->currentPageIndicatorTintColor(), std::optional<graphics::Color>(uikit::UIColor::blackColor()));
    EXPECT_EQ(dots->pageIndicatorTintColor(), std::optional<graphics::Color>(uikit::UIColor::lightGrayColor()));
    EXPECT_EQ(tutorial->titleLabel()->text(), std::optional<std::string>("Getting around"));

    // Dragging rounds to the nearer page.
    pager->setContentOffset({700, 0});
    EXPECT_EQ(dots->currentPage(), 1);
    pager->setContentOffset({1000, 0});
    EXPECT_EQ(dots->currentPage(), 2);
    pager->setContentOffset({299, 0});
    EXPECT_EQ(dots->currentPage(), 0);

    // A tap left of the dots' middle goes back a page; the pager follows, animated.
    pager->setContentOffset({1200, 0});
    ASSERT_TRUE(dots->tapAtPoint({10, 10}));
    EXPECT_EQ(dots->currentPage(), 1);
    EXPECT_DOUBLE_EQ(pager->contentOffset().x, 600);
    EXPECT_TRUE(pager->lastContentOffsetAnimated());

    // Layout passes keep the page width and content size.
    tutorial->view()->setNeedsLayout();
    tutorial->view()->layoutIfNeeded();
    EXPECT_EQ(tutorial->pageWidth(), 600);
    EXPECT_DOUBLE_EQ(pager->contentSize().width, 1800);
}

TEST_F(PadTutorialTest, AnEmptyPageListGivesNoDotsNoPagesAndAZeroWidthContent) {
    auto tutorial = std::make_shared<SampleTutorial>(std::vector<TutorialPageModelPtr>{});
    showRoot(tutorial);
    EXPECT_EQ(tutorial->tutorialPageControl()->numberOfPages(), 0);
    EXPECT_DOUBLE_EQ(tutorial->tutorialScrollView()->contentSize().width, 0);
    EXPECT_TRUE(pagesOf(*tutorial).empty());
    // Scrolling an empty pager leaves the dots alone.
    tutorial->tutorialScrollView()->setContentOffset({0, 0});
    EXPECT_EQ(tutorial->tutorialPageControl()->currentPage(), 0);
}

TEST_F(PadTutorialTest, APageFileWithoutAPageViewLeavesItsSlotEmpty) {
    TutorialNibs::registerNibs();
    uikit::UINib::registerNib(TutorialNibs::kPagePad, [](const foundation::ObjectPtr&) {
        return std::vector<foundation::ObjectPtr>{std::make_shared<uikit::UIView>(), std::make_shared<uikit::UIView>()};
    });
    auto tutorial = threePages();
    showRoot(tutorial);
    EXPECT_TRUE(pagesOf(*tutorial).empty());
    EXPECT_DOUBLE_EQ(tutorial->tutorialScrollView()->contentSize().width, 1800);
    // The next tutorial gets the real page files back.
    uikit::UINib::unregisterNib(TutorialNibs::kPagePad);
    EXPECT_TRUE(TutorialPage::initTutorialPage(page("a", "b")));
}

TEST_F(PadTutorialTest, EachPageShowsItsModelWrappedAsADocumentOverTheResourceFolder) {
    auto tutorial = threePages();
    showRoot(tutorial);
    auto pages = pagesOf(*tutorial);
    ASSERT_EQ(pages.size(), 3u);

    const auto resources = foundation::URL::fileURLWithPath(foundation::Bundle::mainBundle().resourcePath(), true);
    const std::vector<std::string> titles{"Home", "Programme", "People"};
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages[i]->titleLabel()->text(), std::optional<std::string>(titles[i]));
        EXPECT_EQ(pages[i]->frame(), (graphics::Rect{600.0 * static_cast<double>(i), 0, 600,
                                                     tutorial->tutorialScrollView()->frame().size.height}));
        const auto& web = pages[i]->textWebView();
        ASSERT_TRUE(web);
        EXPECT_EQ(web->delegate(), std::dynamic_pointer_cast<uikit::UIWebViewDelegate>(tutorial));
        ASSERT_TRUE(web->baseURL());
        EXPECT_EQ(web->baseURL()->absoluteString(), resources.absoluteString());
    }
    EXPECT_EQ(pages[1]->textWebView()->HTMLString(),
              std::optional<std::string>(
                  "<html><head><title></title></head><body style=\"background:transparent;font-family:HelveticaNeue;"
                  "font-size:15px;\"><div style =\"text-align:center;\"><b>Sessions</b></div></body></html>"));

    // Only the first model has the pad's picture: it alone takes the layout with one.
    ASSERT_TRUE(pages[0]->tutorialImage());
    EXPECT_TRUE(pages[0]->tutorialImage()->image());
    EXPECT_FALSE(pages[1]->tutorialImage());

    // Rebuilding replaces the pages rather than adding to them.
    tutorial->refreshPages();
    EXPECT_EQ(tutorial->tutorialScrollView()->subviews().size(), 1u);
    EXPECT_EQ(pagesOf(*tutorial).size(), 3u);
}

TEST_F(PadTutorialTest, ClosingStopsTheWebViewsAndTellsTheHostWhenThereIsOne) {
    auto tutorial = threePages();
    showRoot(tutorial);
    auto pages = pagesOf(*tutorial);
    tutorial->refreshPages();  // loads under way again, not yet finished
    pages = pagesOf(*tutorial);
    std::vector<uikit::UIWebViewPtr> webViews;
    for (const auto& p : pages) webViews.push_back(p->textWebView());
    ASSERT_TRUE(webViews.front()->isLoading());

    // No host: only the web views stop; the tutorial stays.
    ASSERT_TRUE(tapButton("Close"));
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_FALSE(pages[i]->textWebView());
        EXPECT_FALSE(webViews[i]->isLoading());
        EXPECT_FALSE(webViews[i]->delegate());
    }
    EXPECT_EQ(window()->rootViewController(), tutorial);

    auto host = std::make_shared<RecordingHost>();
    tutorial->setTutorialDelegate(host);
    ASSERT_TRUE(tapButton("Close"));
    EXPECT_EQ(host->closed, 1);
}

TEST_F(PhoneTutorialTest, ThePhonePagerIsTheViewLessTwentyAndClosingDismissesIt) {
    auto presenter = std::make_shared<uikit::UIViewController>();
    showRoot(presenter);
    auto tutorial = threePages();
    presenter->presentViewController(tutorial, false);
    settle();

    EXPECT_EQ(tutorial->pageWidth(), 355);
    EXPECT_DOUBLE_EQ(tutorial->tutorialScrollView()->contentSize().width, 3 * 355);
    ASSERT_TRUE(tutorial->navigationBar());
    EXPECT_EQ(tutorial->navigationBar()->topItem()->title(), std::optional<std::string>("Getting around"));
    EXPECT_EQ(tutorial->navigationBar()->tintColor(), std::optional<graphics::Color>(uikit::UIColor::whiteColor()));
    EXPECT_DOUBLE_EQ(tutorial->tutorialScrollView()->layer()->cornerRadius(), 0);

    // A narrower view gives narrower pages at the next layout pass (truncated).
    tutorial->view()->setFrame({0, 0, 300.7, 600});
    tutorial->view()->layoutIfNeeded();
    EXPECT_EQ(tutorial->pageWidth(), 280);

    tutorial->refreshPages();
    auto webView = pagesOf(*tutorial).front()->textWebView();
    ASSERT_TRUE(webView->isLoading());
    ASSERT_TRUE(tapButton("Close"));
    EXPECT_FALSE(webView->isLoading());
    EXPECT_FALSE(webView->delegate());
    EXPECT_FALSE(presenter->presentedViewController());
    EXPECT_TRUE(presenter->lastTransitionAnimated());
}

TEST_F(PhoneTutorialTest, APageTakesThePictureLayoutForThePhonesOwnPicture) {
    auto onlyPhone = TutorialPage::initTutorialPage(page("a", "b", false, true));
    auto onlyPad = TutorialPage::initTutorialPage(page("a", "b", true, false));
    ASSERT_TRUE(onlyPhone && onlyPad);
    EXPECT_TRUE(onlyPhone->tutorialImage());
    EXPECT_FALSE(onlyPad->tutorialImage());

    auto tutorial = std::make_shared<SampleTutorial>(std::vector<TutorialPageModelPtr>{page("a", "b", true, true)});
    showRoot(tutorial);
    auto pages = pagesOf(*tutorial);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_TRUE(pages[0]->tutorialImage());
    EXPECT_EQ(pages[0]->tutorialImage()->image(), tutorial->pages()[0]->iphoneImage());
}

TEST(TutorialPageModel, PictureNamesThatAreAbsentOrEmptyLeaveNoPicture) {
    auto model = TutorialPageModel::initWithTitle("Title", "<p>x</p>", std::string(), std::nullopt);
    EXPECT_EQ(model->title(), std::optional<std::string>("Title"));
    EXPECT_EQ(model->text(), std::optional<std::string>("<p>x</p>"));
    EXPECT_FALSE(model->ipadImage());
    EXPECT_FALSE(model->iphoneImage());
}

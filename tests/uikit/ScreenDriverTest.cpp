// The screen driver acts as a person on the front screen: a row far down a
// long table is scrolled into view before its tap; typing goes through the
// field's delegate character by character; alerts answer by title or index;
// a pull drags the table past its top and the release brings it back; scenes
// open with the object hand-over before their views load; settling waits for
// work in flight and never moves the virtual clock. Each action answers NO,
// changing nothing, when its target is not there.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ScreenTestScreens.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"
#include "support/ScreenTest.h"
#include "uikit/UIAlertView.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UITextField.h"
#include "uikit/UIWebView.h"

namespace {

using screentest::TableScreen;
using uikit::NSIndexPath;
using uikit::ScreenDriver;
using uikit::UIViewController;

class ScreenDriverTest : public ScreenTest {
protected:
    // A "Go" button in `view` at `frame` that counts its taps in `taps`.
    static std::shared_ptr<uikit::UIButton> addGoButton(uikit::UIView& view, graphics::Rect frame, int& taps) {
        auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
        button->setFrame(frame);
        button->setTitle("Go", uikit::UIControlStateNormal);
        button->addTarget([&taps](uikit::UIControl&) { ++taps; }, uikit::UIControlEventTouchUpInside);
        view.addSubview(button);
        return button;
    }
};

TEST_F(ScreenDriverTest, TappingAFarRowScrollsItIntoViewSelectsItAndTheDumpShowsIt) {
    auto screen = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{std::nullopt, 10000}});
    showRoot(screen);
    EXPECT_NE(dump().find("rows 0\xE2\x80\x93" "15 of 10000\n"), std::string::npos) << dump();

    ASSERT_TRUE(tapRow(0, 9000));
    EXPECT_EQ(screen->willSelect, (std::vector<NSIndexPath>{{0, 9000}}));
    EXPECT_EQ(screen->didSelect, (std::vector<NSIndexPath>{{0, 9000}}));
    auto table = screen->tableView();
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 9000}));
    std::string text = dump();
    EXPECT_NE(text.find("row 9000 plainCell h=44 text=\"Row 0.9000\" accessory=disclosure selected\n"),
              std::string::npos)
        << text;
    EXPECT_LE(screen->cellsMade, 18);

    EXPECT_FALSE(tapRow(0, 10000));
    EXPECT_FALSE(tapRow(1, 0));
    EXPECT_EQ(screen->didSelect.size(), 1u);
}

struct CountingFieldDelegate : uikit::UITextFieldDelegate {
    std::vector<std::string> asked;
    bool returned = false;
    bool textFieldShouldChangeCharactersInRange(uikit::UITextField&, uikit::NSRange,
                                                const std::string& replacement) override {
        asked.push_back(replacement);
        return replacement != "!";
    }
    bool textFieldShouldReturn(uikit::UITextField&) override {
        returned = true;
        return true;
    }
};

struct FieldScreen : UIViewController {
    std::shared_ptr<uikit::UITextField> field;
    std::shared_ptr<CountingFieldDelegate> delegate = std::make_shared<CountingFieldDelegate>();
    void viewDidLoad() override {
        field = std::make_shared<uikit::UITextField>(graphics::Rect{20, 100, 300, 30});
        field->setPlaceholder("Your name");
        field->setOutletName("nameField");
        field->setDelegate(delegate);
        view()->addSubview(field);
    }
};

TEST_F(ScreenDriverTest, TypingGoesThroughTheDelegateOneCharacterAtATime) {
    auto screen = std::make_shared<FieldScreen>();
    showRoot(screen);
    ASSERT_TRUE(type("Your name", "Jo"));
    EXPECT_EQ(screen->delegate->asked, (std::vector<std::string>{"J", "o"}));
    ASSERT_TRUE(type("nameField", "!e"));
    EXPECT_EQ(screen->field->text(), "Joe");
    ASSERT_TRUE(pressReturn("nameField"));
    EXPECT_TRUE(screen->delegate->returned);
    ASSERT_TRUE(clear("Your name"));
    EXPECT_EQ(screen->field->text().value_or(""), "");
    EXPECT_FALSE(type("Nobody", "x"));
}

struct AlertTapRecorder : uikit::UIAlertViewDelegate {
    std::vector<int64_t> clicked;
    void alertViewClickedButtonAtIndex(uikit::UIAlertView&, int64_t index) override { clicked.push_back(index); }
};

TEST_F(ScreenDriverTest, ItemsBackAndAlertsAnswerByTitleOrIndex) {
    auto root = std::make_shared<UIViewController>();
    root->setTitle("Root");
    auto nav = uikit::UINavigationController::withRootViewController(root);
    auto recorder = std::make_shared<AlertTapRecorder>();
    std::shared_ptr<uikit::UIAlertView> shown;
    root->navigationItem()->setRightBarButtonItem(
        uikit::UIBarButtonItem::withTitle("Alert", uikit::UIBarButtonItemStyle::Plain, [&](uikit::UIBarButtonItem&) {
            shown = std::make_shared<uikit::UIAlertView>("Gallery", std::nullopt, recorder, "OK",
                                                         std::vector<std::string>{"Cancel"});
            shown->show();
        }));
    showRoot(nav);

    EXPECT_FALSE(back());
    EXPECT_FALSE(tapItem("Nothing"));
    ASSERT_TRUE(tapItem("Alert"));
    EXPECT_NE(dump().find("alert \"Gallery\" - [OK] [Cancel]\n"), std::string::npos) << dump();
    EXPECT_FALSE(tapItem("Alert"));
    EXPECT_FALSE(back());
    EXPECT_FALSE(alert("Maybe"));
    EXPECT_FALSE(alert("7"));
    ASSERT_TRUE(alert("1"));
    EXPECT_EQ(recorder->clicked, std::vector<int64_t>{1});
    EXPECT_FALSE(alert("OK"));
    ASSERT_TRUE(tapItem("Alert"));
    ASSERT_TRUE(alert("OK"));
    EXPECT_EQ(recorder->clicked, (std::vector<int64_t>{1, 0}));

    auto pushed = std::make_shared<UIViewController>();
    pushed->setTitle("Pushed");
    nav->pushViewController(pushed, true);
    settle();
    EXPECT_EQ(front(), pushed);
    ASSERT_TRUE(back());
    EXPECT_EQ(front(), root);
}

TEST_F(ScreenDriverTest, APullIsSeenAtEachStepAndReleasesToTheRestingOffset) {
    auto screen = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{std::nullopt, 40}});
    showRoot(screen);
    auto table = screen->tableView();
    table->setContentInset({64, 0, 0, 0});
    table->setContentOffset({0, -64});
    std::vector<double> seen;
    bool alwaysDragging = true;
    table->addObserverForKeyPath("contentOffset", [&](uikit::UIScrollView& view, const std::string&, const auto&) {
        seen.push_back(view.contentOffset().y);
        if (seen.size() <= 10) alwaysDragging = alwaysDragging && view.isDragging();
    });
    ASSERT_TRUE(pull());
    ASSERT_GE(seen.size(), 10u);
    EXPECT_TRUE(alwaysDragging);
    EXPECT_DOUBLE_EQ(seen[9], -64 - 150);
    EXPECT_DOUBLE_EQ(table->contentOffset().y, -64);

    ASSERT_TRUE(scroll(300));
    EXPECT_DOUBLE_EQ(table->contentOffset().y, 300);
    EXPECT_NE(dump().find("offset=0,300\n"), std::string::npos) << dump();
}

TEST_F(ScreenDriverTest, SwipesFireTheRecognisersUnderThePointInTheirDirection) {
    auto screen = std::make_shared<UIViewController>();
    showRoot(screen);
    int lefts = 0;
    auto recognizer = std::make_shared<uikit::UISwipeGestureRecognizer>([&](uikit::UIGestureRecognizer&) { ++lefts; });
    recognizer->setDirection(uikit::UISwipeGestureRecognizerDirectionLeft);
    screen->view()->addGestureRecognizer(recognizer);
    EXPECT_FALSE(swipe(ScreenDriver::SwipeDirection::Right));
    EXPECT_TRUE(swipe(ScreenDriver::SwipeDirection::Left));
    EXPECT_TRUE(swipe(ScreenDriver::SwipeDirection::Left, graphics::Point{10, 600}));
    EXPECT_EQ(lefts, 2);
}

TEST_F(ScreenDriverTest, TapsAtAPointReachTheControlOrRowThere) {
    auto screen = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{std::nullopt, 40}});
    showRoot(screen);
    ASSERT_TRUE(tapAt(100, 44 * 3 + 20));
    EXPECT_EQ(screen->didSelect, (std::vector<NSIndexPath>{{0, 3}}));

    auto plain = std::make_shared<UIViewController>();
    showRoot(plain);
    int taps = 0;
    auto button = addGoButton(*plain->view(), {20, 300, 100, 40}, taps);
    ASSERT_TRUE(tapAt(50, 320));
    ASSERT_TRUE(tapButton("Go"));
    EXPECT_EQ(taps, 2);
    EXPECT_FALSE(tapAt(50, 500));
    EXPECT_FALSE(tapButton("Stop"));
    // Two of one title: which one is meant is not known, so neither is
    // tapped; where each is tells a person how to pick one.
    auto second = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
    second->setFrame({20, 400, 100, 40});
    second->setTitle("Go", uikit::UIControlStateNormal);
    plain->view()->addSubview(second);
    EXPECT_FALSE(tapButton("Go"));
    EXPECT_EQ(taps, 2);
    auto places = driver().buttonsTitled("Go");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[1].point, (graphics::Point{70, 420}));
    EXPECT_FALSE(places[1].row);
    button->setHidden(true);
    ASSERT_TRUE(tapButton("Go"));
    EXPECT_EQ(taps, 2);
    EXPECT_EQ(driver().buttonsTitled("Go").size(), 1u);
}

// A person taps only what shows: a button fading in is out of reach while
// still fully transparent, and one partly under another view is offered
// where it shows.
TEST_F(ScreenDriverTest, AButtonTransparentOrCoveredTakesNoTapAndIsOfferedWhereItShows) {
    auto plain = std::make_shared<UIViewController>();
    showRoot(plain);
    int taps = 0;
    auto button = addGoButton(*plain->view(), {20, 300, 100, 40}, taps);
    button->setAlpha(0);
    uikit::UIView::animateWithDuration(1, [&] { button->setAlpha(1); });
    EXPECT_FALSE(tapButton("Go"));
    EXPECT_EQ(driver().buttonsTitled("Go").at(0).outOfReach, "fully transparent");
    advance(0.5);
    plain->view()->addSubview(std::make_shared<uikit::UIView>(graphics::Rect{0, 320, 375, 100}));
    const auto place = driver().buttonsTitled("Go").at(0);
    EXPECT_LT(place.point.y, 320);
    EXPECT_FALSE(tapAt(70, 320));
    ASSERT_TRUE(tapAt(place.point.x, place.point.y));
    ASSERT_TRUE(tapButton("Go"));
    EXPECT_EQ(taps, 2);
}

TEST_F(ScreenDriverTest, ALinkIsClickedInTheFrontWebViewEvenWhenItsDelegateKeepsIt) {
    struct Keeper : uikit::UIWebViewDelegate {
        std::vector<std::string> asked;
        bool webViewShouldStartLoadWithRequest(uikit::UIWebView&, const foundation::URLRequest& request,
                                               uikit::UIWebViewNavigationType) override {
            asked.push_back(request.url() ? request.url()->absoluteString() : "-");
            return false;
        }
    };
    auto plain = std::make_shared<UIViewController>();
    showRoot(plain);
    EXPECT_FALSE(link("app:next"));
    auto web = std::make_shared<uikit::UIWebView>(graphics::Rect{0, 0, 375, 600});
    auto keeper = std::make_shared<Keeper>();
    plain->view()->addSubview(web);
    web->loadHTMLString("<a href=\"app:next\">Next</a>", std::nullopt);
    settle();
    web->setDelegate(keeper);
    ASSERT_TRUE(link("app:next"));
    EXPECT_EQ(keeper->asked, std::vector<std::string>{"app:next"});
    // A link the page does not have is not there to click.
    EXPECT_FALSE(link("app:elsewhere"));
    EXPECT_EQ(keeper->asked.size(), 1u);
}

class PadScreenDriverTest : public ScreenTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

struct Named : UIViewController {
    explicit Named(std::string name) : name(std::move(name)) {}
    std::string name;
    std::string className() const override { return name; }
};

TEST_F(PadScreenDriverTest, TheFrontScreenIsThePopoverElseTheChosenSideOfTheSplitView) {
    auto master = std::make_shared<Named>("MasterScreen");
    auto detail = std::make_shared<Named>("DetailScreen");
    auto split = std::make_shared<uikit::UISplitViewController>();
    split->setViewControllers({uikit::UINavigationController::withRootViewController(master), detail});
    showRoot(split);
    EXPECT_NE(dump().find("split UISplitViewController master-hidden\n"), std::string::npos) << dump();
    ASSERT_TRUE(rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    EXPECT_EQ(front(), detail);
    driver().setSide(ScreenDriver::Side::Master);
    EXPECT_EQ(front(), master);

    auto content = std::make_shared<Named>("PopoverScreen");
    auto popover = std::make_shared<uikit::UIPopoverController>(content);
    popover->presentPopoverFromRect({10, 10, 20, 20}, detail->view(), uikit::UIPopoverArrowDirectionAny, true);
    settle();
    EXPECT_EQ(front(), content);
    std::string text = dump();
    EXPECT_NE(text.find("  split UISplitViewController\n"
                        "    master\n"
                        "      nav UINavigationController\n"
                        "        stack 0 MasterScreen -\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    detail\n"
                        "      screen DetailScreen -\n"
                        "  popover PopoverScreen\n"
                        "    screen PopoverScreen -\n"),
              std::string::npos)
        << text;
    // A tap outside closes it, as on the device.
    ASSERT_TRUE(driver().dismissPopover());
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(front(), master);
    EXPECT_FALSE(driver().dismissPopover());
}

// In portrait the master pane is hidden: chosen as the side to act on, it
// takes no taps until its popover shows it.
TEST_F(PadScreenDriverTest, AHiddenMasterPaneTakesNoTaps) {
    auto master = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{std::nullopt, 3}});
    auto split = std::make_shared<uikit::UISplitViewController>();
    split->setViewControllers({uikit::UINavigationController::withRootViewController(master),
                               std::make_shared<Named>("DetailScreen")});
    showRoot(split);
    ASSERT_TRUE(rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    driver().setSide(ScreenDriver::Side::Master);
    EXPECT_TRUE(driver().tapRow(0, 0));
    ASSERT_TRUE(rotate(uikit::UIDeviceOrientation::Portrait));
    ASSERT_TRUE(split->isMasterHidden());
    EXPECT_FALSE(driver().tapRow(0, 1));
    EXPECT_FALSE(driver().scroll(std::nullopt, 40));
    EXPECT_EQ(master->didSelect.size(), 1u);
    split->masterBarButtonItem()->tap();
    settle();
    EXPECT_TRUE(driver().tapRow(0, 2));
    EXPECT_EQ(master->didSelect.size(), 2u);
}

// A failed action on the hidden master pane leaves it as it was: its
// screen not even loaded, and nothing opened over it.
TEST_F(PadScreenDriverTest, AFailedActionOnTheHiddenMasterPaneNeitherLoadsNorOpensAnything) {
    auto master = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{std::nullopt, 3}});
    auto nav = uikit::UINavigationController::withRootViewController(master);
    auto split = std::make_shared<uikit::UISplitViewController>();
    split->setViewControllers({nav, std::make_shared<Named>("DetailScreen")});
    showRoot(split);
    driver().setSide(ScreenDriver::Side::Master);
    ASSERT_FALSE(master->isViewLoaded());
    EXPECT_FALSE(driver().tapRow(0, 0));
    EXPECT_FALSE(master->isViewLoaded());
    auto storyboard = uikit::UIStoryboard::registerStoryboard("DriverTestBoard");
    storyboard->addScene("plainScene", [](uikit::UIStoryboard&) { return std::make_shared<Named>("PlainScreen"); });
    EXPECT_EQ(driver().openScene("plainScene", {"DriverTestBoard"}), ScreenDriver::OpenResult::OutOfReach);
    settle();
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    uikit::UIStoryboard::unregisterStoryboard("DriverTestBoard");
}

TEST_F(PadScreenDriverTest, APopoverAPresentedScreenOpensIsInFrontOfItAndOneBeneathItIsNot) {
    auto root = std::make_shared<Named>("RootScreen");
    showRoot(root);
    auto beneath = std::make_shared<uikit::UIPopoverController>(std::make_shared<Named>("BeneathScreen"));
    beneath->presentPopoverFromRect({10, 10, 20, 20}, root->view(), uikit::UIPopoverArrowDirectionAny, false);
    settle();
    auto sheet = std::make_shared<Named>("SheetScreen");
    sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    root->presentViewController(sheet, false);
    settle();
    EXPECT_EQ(front(), sheet);
    auto content = std::make_shared<Named>("PickerScreen");
    auto above = std::make_shared<uikit::UIPopoverController>(content);
    above->presentPopoverFromRect({10, 10, 20, 20}, sheet->view(), uikit::UIPopoverArrowDirectionAny, false);
    settle();
    EXPECT_EQ(front(), content);
    above->dismissPopoverAnimated(false);
    settle();
    EXPECT_EQ(front(), sheet);
    beneath->dismissPopoverAnimated(false);
    settle();
}

struct ObjectScreen : UIViewController {
    std::vector<std::string>* journal = nullptr;
    void viewDidLoad() override { journal->push_back("viewDidLoad"); }
};

TEST_F(ScreenDriverTest, OpeningAScenePushesItAfterTheObjectHandOver) {
    std::vector<std::string> journal;
    auto storyboard = uikit::UIStoryboard::registerStoryboard("DriverTestBoard");
    storyboard->addScene("objectScene", [&](uikit::UIStoryboard&) {
        auto screen = std::make_shared<ObjectScreen>();
        screen->journal = &journal;
        return screen;
    });
    auto root = std::make_shared<UIViewController>();
    auto nav = uikit::UINavigationController::withRootViewController(root);
    showRoot(nav);
    const std::vector<std::string> boards{"NoSuchBoard", "DriverTestBoard"};
    auto object = std::make_optional(std::make_pair(std::string("QVACoreDataSession"), std::string("1")));

    EXPECT_EQ(driver().openScene("noSuchScene", boards), ScreenDriver::OpenResult::UnknownScene);
    EXPECT_EQ(driver().openScene("objectScene", boards, object), ScreenDriver::OpenResult::NoHandOver);
    EXPECT_EQ(nav->viewControllers().size(), 1u);

    ScreenDriver::setObjectHandOver([&](UIViewController& controller, const std::string& entity, const std::string& id) {
        if (!dynamic_cast<ObjectScreen*>(&controller)) return ScreenDriver::HandOver::TakesNoObject;
        journal.push_back("hand-over " + entity + " " + id + (controller.isViewLoaded() ? " loaded" : ""));
        return ScreenDriver::HandOver::Taken;
    });
    ASSERT_TRUE(open("objectScene", boards, object));
    EXPECT_EQ(journal, (std::vector<std::string>{"hand-over QVACoreDataSession 1", "viewDidLoad"}));
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<ObjectScreen>(front()));

    ScreenDriver::setObjectHandOver([](UIViewController&, const std::string&, const std::string&) {
        return ScreenDriver::HandOver::TakesNoObject;
    });
    EXPECT_EQ(driver().openScene("objectScene", boards, object), ScreenDriver::OpenResult::TakesNoObject);
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    // No such object: nothing opens either.
    ScreenDriver::setObjectHandOver([](UIViewController&, const std::string&, const std::string&) {
        return ScreenDriver::HandOver::NoSuchObject;
    });
    EXPECT_EQ(driver().openScene("objectScene", boards, object), ScreenDriver::OpenResult::NoSuchObject);
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    uikit::UIStoryboard::unregisterStoryboard("DriverTestBoard");
}

TEST_F(ScreenDriverTest, SettlingWaitsForWorkInFlightWithoutMovingTheVirtualClock) {
    showRoot(std::make_shared<UIViewController>());
    std::atomic<bool> busy{true};
    std::atomic<bool> postedBack{false};
    ScreenDriver::addBusyPredicate([&] { return busy.load(); });
    bool timerRan = false;
    auto timer = foundation::Timer::scheduledTimerWithTimeInterval(1, false, [&](foundation::Timer&) { timerRan = true; });
    std::thread worker([&] {
        foundation::RunLoop::main().post([&] { postedBack = true; });
        busy = false;
    });
    double before = foundation::Clock::now();
    EXPECT_TRUE(settle());
    worker.join();
    EXPECT_TRUE(postedBack);
    EXPECT_FALSE(timerRan);
    EXPECT_EQ(foundation::Clock::now(), before);

    busy = true;
    EXPECT_FALSE(driver().settle(0.01, 0.05));
    timer->invalidate();
}

}  // namespace

#include "lists/DetailsWithListBaseViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../support/TestDetailsWithList.h"
#include "PhoneScreenStoreTest.h"
#include "app/AppStoryboards.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "dispatch/Queue.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "lists/IdIndexPair.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "store/CoreDataStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

namespace {

using uikit::NSIndexPath;

// A parent list of a few ids: the next (or previous) one, wrapping.
class IdsParent : public SwipeParentControllerProtocol {
public:
    std::vector<std::string> ids;
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>&, const NSIndexPath& indexPath) override {
        if (ids.size() < 2) return nullptr;
        const auto count = static_cast<int64_t>(ids.size());
        const int64_t step = direction == kNextRowDirection ? 1 : -1;
        const int64_t row = (indexPath.row + step + count) % count;
        return std::make_shared<IdIndexPair>(NSIndexPath::indexPathForRow(row, 0), ids[row], std::nullopt);
    }
};

class DetailsWithListTest : public meetingtest::PhoneScreenStoreTest {
protected:
    void SetUp() override {
        PhoneScreenStoreTest::SetUp();
        TestDetailsWithList::registerScene(phoneStoryboard());
    }
    void releaseScreens() override { details_.reset(); }

    std::shared_ptr<coredata::ManagedObject> insertMain(const std::string& entity, const std::string& id,
                                                        const std::shared_ptr<CoreDataStack>& stack = nullptr) {
        auto& context = *(stack ? stack : stack_)->managedObjectContextMainQueue();
        auto object = coredata::EntityDescription::insertNewObjectForEntityForName(entity, context);
        object->setValue(foundation::Value(id), "itemId");
        EXPECT_EQ(context.save(), nullptr);
        return object;
    }

    // The scene's screen for that participant, in a navigation controller, shown.
    std::shared_ptr<TestDetailsWithListViewController> show(
        std::optional<std::string> id, const std::function<void(TestDetailsWithListViewController&)>& setUp = {}) {
        auto storyboard = uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName);
        details_ = std::dynamic_pointer_cast<TestDetailsWithListViewController>(
            storyboard->instantiateViewControllerWithIdentifier(TestDetailsWithList::kSceneIdentifier));
        details_->setEntityName(std::string("QVACoreDataParticipant"));
        details_->setSelectionPropertyId(std::move(id));
        if (setUp) setUp(*details_);
        navigation_ = uikit::UINavigationController::withRootViewController(details_);
        showAsRoot(navigation_);
        driver_.settle();
        return details_;
    }
    uikit::UINavigationBar& bar() { return *navigation_->navigationBar(); }
    void scrollTo(double y) {
        auto table = details_->tableView();
        table->setContentOffset({0, y});
        details_->scrollViewDidScroll(*table);
    }

    std::shared_ptr<CoreDataStack> stack_;
    std::shared_ptr<TestDetailsWithListViewController> details_;
    std::shared_ptr<uikit::UINavigationController> navigation_;
    uikit::ScreenDriver driver_;
};

TEST_F(DetailsWithListTest, loadingShowsTheObjectUnderATransparentBarWithoutStatusBar) {
    stack_ = openCurrent("token");
    insertMain("QVACoreDataParticipant", "p1");
    auto details = show(std::string("p1"));

    EXPECT_EQ(details->shownIds, (std::vector<std::optional<std::string>>{std::string("p1")}));
    auto table = details->tableView();
    EXPECT_FALSE(table->alwaysBounceVertical());
    EXPECT_NE(table->tableFooterView(), nullptr);
    EXPECT_EQ(table->backgroundColor(), graphics::Color::white());
    const auto& title = bar().titleTextAttributes();
    ASSERT_NE(title.font, nullptr);
    EXPECT_EQ(title.font->fontName(), "AvenirNext-Medium");
    EXPECT_EQ(title.font->pointSize(), 12);
    EXPECT_EQ(title.foregroundColor, graphics::Color::white());
    EXPECT_TRUE(bar().isTranslucent());
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::clear());
    ASSERT_NE(bar().shadowImage(), nullptr);
    EXPECT_TRUE(bar().shadowImage()->isEmpty());
    ASSERT_NE(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), nullptr);
    EXPECT_TRUE(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default)->isEmpty());
    // The header is the table's, at the table's width.
    ASSERT_NE(details->header(), nullptr);
    EXPECT_EQ(table->tableHeaderView(), details->header());

    auto& application = uikit::UIApplication::sharedApplication();
    EXPECT_TRUE(application.isStatusBarHidden());
    EXPECT_EQ(application.statusBarHiddenAnimation(), uikit::UIStatusBarAnimation::Slide);
    details->viewWillDisappear(false);
    EXPECT_FALSE(application.isStatusBarHidden());
}

TEST_F(DetailsWithListTest, anUnknownIdIsShownAsNoneNoIdShowsNothingAndTheBaseUpdateRaises) {
    stack_ = openCurrent("token");
    EXPECT_EQ(show(std::string("missing"))->shownIds, (std::vector<std::optional<std::string>>{std::nullopt}));
    EXPECT_TRUE(show(std::nullopt)->shownIds.empty());

    auto storyboard = uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName);
    auto bare = std::dynamic_pointer_cast<TestDetailsWithListViewController>(
        storyboard->instantiateViewControllerWithIdentifier(TestDetailsWithList::kSceneIdentifier));
    bare->useBaseUpdate = true;
    bare->setSelectionPropertyId(std::string("p1"));
    bare->setEntityName(std::string("QVACoreDataParticipant"));
    try {
        bare->loadViewIfNeeded();
        FAIL() << "the base's update must raise";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "Please implement this function");
        EXPECT_EQ(e.reason(),
                  "Set the ui for the details screen ONLY in this function please. E.x participantLabel.name = "
                  "self.managedObject.participantName");
    }
}

// 200-point header picture, 20-point status bar, 44-point bar: the switch at 136.
TEST_F(DetailsWithListTest, theBarTurnsWhiteWithTheHeaderStripPastTheHeaderAndBackAtOrBelowIt) {
    stack_ = openCurrent("token");
    insertMain("QVACoreDataParticipant", "p1");
    auto details = show(std::string("p1"));
    uikit::UIApplication::sharedApplication().setStatusBarHidden(false);
    ASSERT_EQ(uikit::UIApplication::sharedApplication().statusBarFrame().size.height, 20);
    ASSERT_EQ(bar().frame().size.height, 44);
    auto header = details->header();

    scrollTo(0);
    EXPECT_EQ(header->offsets.back(), -136);
    scrollTo(136);
    EXPECT_EQ(header->offsets.back(), 0);
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::clear());
    EXPECT_FALSE(details->navigationItem()->title());

    scrollTo(137);
    EXPECT_EQ(header->offsets.back(), 1);
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::white());
    EXPECT_FALSE(bar().isTranslucent());
    EXPECT_EQ(bar().shadowImage(), nullptr);
    EXPECT_EQ(details->navigationItem()->title(), std::optional<std::string>("Header title"));
    auto strip = bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default);
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(strip->bitmap(), nullptr);
    EXPECT_EQ(strip->size(), graphics::Size(375, 64));
    const graphics::Pixel red{255, 0, 0, 255};
    EXPECT_EQ(strip->bitmap()->pixel(0, 2), red);
    EXPECT_EQ(strip->bitmap()->pixel(374, 63), red);

    // Already white: neither strip nor title is made again.
    scrollTo(400);
    EXPECT_EQ(header->titleRequests, 1);
    EXPECT_EQ(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), strip);

    scrollTo(136);
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::clear());
    EXPECT_TRUE(bar().isTranslucent());
    EXPECT_TRUE(bar().shadowImage()->isEmpty());
    EXPECT_TRUE(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default)->isEmpty());
    EXPECT_FALSE(details->navigationItem()->title());

    // Pulled below the top: back at 0, the header still told the switch value.
    scrollTo(-50);
    EXPECT_EQ(details->tableView()->contentOffset().y, 0);
    EXPECT_EQ(header->offsets.back(), -136);
}

TEST_F(DetailsWithListTest, savesReloadTheScreenOnlyForItsObjectAndItsOwnStore) {
    stack_ = openCurrent("token");
    insertMain("QVACoreDataParticipant", "p1");
    auto details = show(std::string("p1"));
    ASSERT_EQ(details->shownIds.size(), 1u);

    insertMain("QVACoreDataParticipant", "p2");
    driver_.settle();
    EXPECT_EQ(details->shownIds.size(), 1u);

    // Another observed class, its object carrying the shown key.
    insertMain("QVACoreDataParticipantNote", "p1");
    driver_.settle();
    EXPECT_EQ(details->shownIds.size(), 2u);

    // The main-queue context of another store.
    auto other = open("other-token");
    insertMain("QVACoreDataParticipant", "p1", other);
    driver_.settle();
    EXPECT_EQ(details->shownIds.size(), 2u);
}

TEST_F(DetailsWithListTest, offTheMainThreadTheUpdateRaises) {
    stack_ = openCurrent("token");
    auto details = show(std::string("p1"));
    std::string raised;
    dispatch::Queue::createSerial("details-test")->sync([&] {
        try {
            details->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& e) {
            raised = e.name() + "|" + e.reason();
        }
    });
    EXPECT_EQ(raised, "Please call this method from main thread only|");
}

TEST_F(DetailsWithListTest, aLeftSwipeOpensTheNextObjectOnTheSameSceneWithSwipingOn) {
    stack_ = openCurrent("token");
    for (const char* id : {"p1", "p2", "p3"}) insertMain("QVACoreDataParticipant", id);
    auto parent = std::make_shared<IdsParent>();
    parent->ids = {"p1", "p2", "p3"};
    show(std::string("p1"), [&](TestDetailsWithListViewController& details) {
        details.setParentController(parent);
        details.setIndexPathInParentController(NSIndexPath::indexPathForRow(0, 0));
        details.setIsSwipeEnabled(true);
    });
    ASSERT_NE(details_->swipeHintLabel(), nullptr);
    // The table scrolls its last rows out from under the hint and the corner.
    const double bottom = details_->view()->bounds().size.height;
    EXPECT_EQ(details_->tableView()->contentInset().bottom, bottom - details_->swipeHintLabel()->frame().origin.y);

    ASSERT_TRUE(driver_.swipe(uikit::ScreenDriver::SwipeDirection::Left));
    driver_.settle();
    auto next = std::dynamic_pointer_cast<TestDetailsWithListViewController>(driver_.frontViewController());
    ASSERT_NE(next, nullptr);
    ASSERT_NE(next, details_);
    EXPECT_EQ(next->selectionPropertyId(), std::optional<std::string>("p2"));
    EXPECT_EQ(next->entityName(), std::optional<std::string>("QVACoreDataParticipant"));
    EXPECT_EQ(next->indexPathInParentController().row, 1);
    EXPECT_EQ(next->parentController(), parent);
    EXPECT_TRUE(next->isSwipeEnabled());
    EXPECT_EQ(next->shownIds.back(), std::optional<std::string>("p2"));
    EXPECT_FALSE(settings.showSwipeHintLabel());
    ASSERT_NE(next->swipeHintCorner(), nullptr);
    EXPECT_FALSE(next->swipeHintCorner()->isHidden());
    EXPECT_TRUE(!next->swipeHintLabel() || next->swipeHintLabel()->isHidden());
    EXPECT_EQ(next->tableView()->contentInset().bottom, next->swipeHintCorner()->frame().size.height);
}

// Details screens restyle the bar of the stack they are pushed on; the screen
// under them gets its bar back as it left it, however many details screens
// were pushed on each other.
TEST_F(DetailsWithListTest, theBarGetsItsOwnLookBackWhenTheLastDetailsScreenLeaves) {
    stack_ = openCurrent("token");
    for (const char* id : {"p1", "p2"}) insertMain("QVACoreDataParticipant", id);
    auto root = std::make_shared<uikit::UIViewController>();
    navigation_ = uikit::UINavigationController::withRootViewController(root);
    showAsRoot(navigation_);
    driver_.settle();
    auto barImage = uikit::UIImage::imageNamed("iOS7_navigation_bar_background.png");
    ASSERT_NE(barImage, nullptr);
    bar().setBackgroundImage(barImage, uikit::UIBarMetrics::Default);
    bar().setTranslucent(false);
    uikit::TextAttributes rootTitle;
    rootTitle.foregroundColor = graphics::Color::black();
    bar().setTitleTextAttributes(rootTitle);

    auto storyboard = uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName);
    auto push = [&](const char* id) {
        auto details = std::dynamic_pointer_cast<TestDetailsWithListViewController>(
            storyboard->instantiateViewControllerWithIdentifier(TestDetailsWithList::kSceneIdentifier));
        details->setEntityName(std::string("QVACoreDataParticipant"));
        details->setSelectionPropertyId(std::string(id));
        navigation_->pushViewController(details, false);
        driver_.settle();
        return details;
    };
    auto expectTransparent = [&] {
        EXPECT_TRUE(bar().isTranslucent());
        EXPECT_EQ(bar().backgroundColor(), graphics::Color::clear());
        ASSERT_NE(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), nullptr);
        EXPECT_TRUE(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default)->isEmpty());
        EXPECT_EQ(bar().titleTextAttributes().foregroundColor, graphics::Color::white());
    };

    details_ = push("p1");
    expectTransparent();
    scrollTo(400);
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::white());

    auto second = push("p2");
    expectTransparent();
    navigation_->popViewControllerAnimated(false);
    driver_.settle();
    // The first screen, scrolled past its header, shows its strip again.
    EXPECT_EQ(bar().backgroundColor(), graphics::Color::white());
    EXPECT_FALSE(bar().isTranslucent());
    EXPECT_EQ(details_->navigationItem()->title(), std::optional<std::string>("Header title"));

    navigation_->popViewControllerAnimated(false);
    driver_.settle();
    EXPECT_EQ(bar().backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), barImage);
    EXPECT_FALSE(bar().isTranslucent());
    EXPECT_EQ(bar().titleTextAttributes().foregroundColor, graphics::Color::black());
    EXPECT_NE(bar().backgroundColor(), graphics::Color::clear());
}

}  // namespace

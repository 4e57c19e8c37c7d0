#include "lists/DetailsBaseViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/ScreenTest.h"
#include "../support/TestDetailsScenes.h"
#include "Utils/MeetingStoreTestSupport.h"
#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/MenuBarButtonItemProvider.h"
#include "coredata/Constants.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "lists/DetailsPageProtocol.h"
#include "lists/IdIndexPair.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboardSegue.h"

namespace {

ApplicationSettingsStore& settingsStore() { return ApplicationSettingsStore::sharedApplicationSettingsStore(); }

// --- Pages ---

// A page with a segment image, counting its analytics events.
class ImagePage : public BaseViewController {
public:
    explicit ImagePage(bool hasImage = true) : hasImage_(hasImage) {}
    int tracked = 0;
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override { return hasImage_ ? image_ : nullptr; }
    void trackAnalyticsEvent() override { ++tracked; }

private:
    bool hasImage_;
    std::shared_ptr<uikit::UIImage> image_ = uikit::UIImage::make();
};
class PageA : public ImagePage {};
class PageASub : public PageA {};
class PageB : public ImagePage {};
class PageC : public ImagePage {};
class PageD : public ImagePage {};

// A page answering the container's typed hooks.
class HookPage : public ImagePage, public DetailsPageProtocol {
public:
    std::vector<std::string> performed;
    std::vector<std::shared_ptr<coredata::ManagedObject>> updates;
    bool implementsUpdateUIContentForObject() const override { return true; }
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override {
        updates.push_back(object);
    }
    bool respondsToPageSelector(const std::string& selector) const override { return selector == "reload"; }
    void performPageSelector(const std::string& selector, const foundation::ObjectPtr&) override {
        performed.push_back(selector);
    }
};

// A details screen made in code whose pages tests choose.
class PagedDetails : public DetailsBaseViewController {
public:
    std::optional<Pages> pages;
    int shows = 0;
    std::optional<Pages> createSegmentedControllersForObject(const std::shared_ptr<coredata::ManagedObject>&) override {
        return pages;
    }
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>&) override { ++shows; }
};

class DetailsPagesTest : public ScreenTest {
protected:
    std::shared_ptr<PagedDetails> show(DetailsBaseViewController::Pages pages) {
        auto details = std::make_shared<PagedDetails>();
        details->pages = std::move(pages);
        showRoot(uikit::UINavigationController::withRootViewController(details));
        return details;
    }
    static uikit::UIViewControllerPtr shownChild(const DetailsBaseViewController& details) {
        const auto& children = details.childViewControllers();
        return children.size() == 1 ? children.front() : nullptr;
    }
};

TEST_F(DetailsPagesTest, theControlAppearsWithTwoOrMoreImagesAtTheFrameOfItsCountAsTheTitleView) {
    auto single = show({std::make_shared<PageA>()});
    EXPECT_FALSE(single->segmentedControl());
    EXPECT_FALSE(single->navigationItem()->titleView());
    EXPECT_EQ(shownChild(*single), single->retainedControllers().front());

    const std::vector<graphics::Rect> frames = {{125, 7, 100, 30}, {102, 7, 150, 30}, {79, 7, 200, 30}};
    for (size_t count = 2; count <= 4; ++count) {
        DetailsBaseViewController::Pages pages = {std::make_shared<PageA>(), std::make_shared<PageB>(),
                                                  std::make_shared<PageC>(), std::make_shared<PageD>()};
        pages.resize(count);
        // Outside a navigation bar the control keeps the frame it was given.
        auto details = std::make_shared<PagedDetails>();
        details->pages = pages;
        details->loadViewIfNeeded();
        auto control = details->segmentedControl();
        ASSERT_TRUE(control) << count;
        EXPECT_EQ(control->frame(), frames[count - 2]) << count;
        EXPECT_EQ(control->numberOfSegments(), count);
        EXPECT_EQ(control->selectedSegmentIndex(), 0);
        EXPECT_EQ(details->navigationItem()->titleView(), control);
    }
    // In the bar it is the title view, of the same size.
    auto inBar = show({std::make_shared<PageA>(), std::make_shared<PageB>()});
    ASSERT_TRUE(inBar->segmentedControl());
    EXPECT_EQ(inBar->navigationItem()->titleView(), inBar->segmentedControl());
    EXPECT_EQ(inBar->segmentedControl()->frame().size, graphics::Size(100, 30));

    // Pages without an image count for nothing.
    auto mixed = show({std::make_shared<PageA>(), std::make_shared<ImagePage>(false), std::make_shared<PageB>()});
    EXPECT_EQ(mixed->imagesArray().size(), 2u);
    EXPECT_EQ(mixed->segmentedControl()->numberOfSegments(), 2u);
}

TEST_F(DetailsPagesTest, insertingAHeldClassChangesNothingAndRemovingAPageBeforeTheShownOneMovesTheSelection) {
    auto a = std::make_shared<PageASub>();
    auto b = std::make_shared<PageB>();
    auto c = std::make_shared<PageC>();
    auto details = show({a, b, c});
    auto control = details->segmentedControl();

    // A page of a class already held, or of a base of a held page's class: nothing.
    details->insertController(std::make_shared<PageB>(), uikit::UIImage::make());
    details->insertController(std::make_shared<PageA>(), uikit::UIImage::make(), 0);
    EXPECT_EQ(details->retainedControllers(), (DetailsBaseViewController::Pages{a, b, c}));
    EXPECT_EQ(control->numberOfSegments(), 3u);

    // A new class at an index, and past the end.
    auto d = std::make_shared<PageD>();
    details->insertController(d, uikit::UIImage::make(), 1);
    EXPECT_EQ(details->retainedControllers(), (DetailsBaseViewController::Pages{a, d, b, c}));
    EXPECT_EQ(control->numberOfSegments(), 4u);
    EXPECT_FALSE(control->lastChangeAnimated());
    details->removeControllerOfType<PageD>();
    EXPECT_EQ(details->retainedControllers(), (DetailsBaseViewController::Pages{a, b, c}));

    // B shown, then A removed (by its base class): B is at 0 and so is the selection.
    ASSERT_TRUE(control->tapSegmentAtIndex(1));
    settle();
    EXPECT_EQ(details->displayedControllerIndex(), 1);
    EXPECT_EQ(shownChild(*details), b);
    details->removeControllerOfType<PageA>();
    EXPECT_EQ(details->retainedControllers(), (DetailsBaseViewController::Pages{b, c}));
    EXPECT_EQ(details->displayedControllerIndex(), 0);
    EXPECT_EQ(control->selectedSegmentIndex(), 0);
    EXPECT_EQ(control->numberOfSegments(), 2u);
}

TEST_F(DetailsPagesTest, showingAPageTracksItFirstAndSwapsTheChildIntoTheContainer) {
    auto a = std::make_shared<PageA>();
    auto b = std::make_shared<PageB>();
    auto details = show({a, b});
    auto container = std::make_shared<uikit::UIView>(graphics::Rect(0, 50, 300, 400));
    details->view()->addSubview(container);
    details->setContainerView(container);

    details->showControllerAtIndex(1);
    EXPECT_EQ(b->tracked, 1);
    EXPECT_EQ(shownChild(*details), b);
    EXPECT_FALSE(a->parentViewController());
    EXPECT_FALSE(a->view()->superview());
    EXPECT_EQ(b->view()->superview(), container);
    EXPECT_EQ(b->view()->frame(), graphics::Rect(0, 0, 300, 400));

    // Outside the pages: nothing.
    details->showControllerAtIndex(2);
    EXPECT_EQ(details->displayedControllerIndex(), 1);
    EXPECT_EQ(b->tracked, 1);
}

TEST_F(DetailsPagesTest, pagesHearTheirHooksOnALaterTurnUnlessWaitingAndADetailsPageIsLeftAlone) {
    auto hook = std::make_shared<HookPage>();
    auto nested = std::make_shared<PagedDetails>();
    auto details = show({hook, nested});
    details->performSelectorOnMainThread("reload", nullptr, 0, true);
    details->performSelectorOnMainThread("reload", nullptr, 0, false);
    details->performSelectorOnMainThread("unknown", nullptr, 0, true);
    details->updateChildControllersUIContentForObject(nullptr);
    EXPECT_EQ(hook->performed.size(), 1u);
    EXPECT_TRUE(hook->updates.empty());
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(hook->performed.size(), 2u);
    EXPECT_EQ(hook->updates.size(), 1u);
    EXPECT_EQ(nested->shows, 0);
}

TEST_F(DetailsPagesTest, loadingShowsTheObjectOnlyWithAnIdAndTheBaseRaisesForASubclassThatShowsNothing) {
    auto withoutId = std::make_shared<PagedDetails>();
    withoutId->loadViewIfNeeded();
    EXPECT_EQ(withoutId->shows, 0);
    EXPECT_EQ(withoutId->edgesForExtendedLayout(), uikit::UIRectEdgeNone);

    // No store is open: the object is not found and is shown as none.
    auto withId = std::make_shared<PagedDetails>();
    withId->setEntityName(std::string("QVACoreDataParticipant"));
    withId->setSelectionPropertyId(std::string("7"));
    withId->loadViewIfNeeded();
    EXPECT_EQ(withId->shows, 1);
    EXPECT_FALSE(withId->observedSaveContext());

    auto base = std::make_shared<DetailsBaseViewController>();
    base->setSelectionPropertyId(std::string("7"));
    try {
        base->loadViewIfNeeded();
        FAIL() << "the base shows nothing";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "Please implement this function");
        EXPECT_EQ(e.reason(),
                  "Set the ui for the details screen ONLY in this function please. E.x participantLabel.name = "
                  "self.managedObject.participantName");
    }
}

// --- Swiping, on the tests' list and details scenes ---

class DetailsSwipeTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        settingsStore().clear();
        storyboard_ = uikit::UIStoryboard::registerStoryboard("DetailsSwipeTest");
        TestDetailsScenes::addScenes(*storyboard_);
    }
    void TearDown() override {
        ScreenTest::TearDown();
        uikit::UIStoryboard::unregisterStoryboard("DetailsSwipeTest");
        settingsStore().clear();
    }
    // The list in a navigation controller, `rows` rows, row `row` tapped.
    std::shared_ptr<TestDetailsViewController> openDetails(size_t rows, int64_t row = 0) {
        list_ = std::dynamic_pointer_cast<TestDetailsListViewController>(
            storyboard_->instantiateViewControllerWithIdentifier(TestDetailsScenes::kListScene));
        list_->ids.resize(rows);
        for (size_t i = 0; i < rows; ++i) list_->ids[i] = std::to_string(i + 1);
        navigation_ = uikit::UINavigationController::withRootViewController(list_);
        showRoot(navigation_);
        EXPECT_TRUE(tapRow(0, row));
        return shownDetails();
    }
    std::shared_ptr<TestDetailsViewController> shownDetails() const {
        return std::dynamic_pointer_cast<TestDetailsViewController>(navigation_->topViewController());
    }
    static bool visible(const std::shared_ptr<uikit::UIView>& view) { return view && !view->isHidden(); }

    std::shared_ptr<uikit::UIStoryboard> storyboard_;
    std::shared_ptr<TestDetailsListViewController> list_;
    std::shared_ptr<uikit::UINavigationController> navigation_;
};

TEST_F(DetailsSwipeTest, leftSwipesStepThroughTheRowsWrappingAndTheHintGoesForGoodAfterTheFirst) {
    auto first = openDetails(3);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->selectionPropertyId(), "1");
    EXPECT_TRUE(visible(first->swipeHintCorner()));
    EXPECT_TRUE(visible(first->swipeHintLabel()));
    EXPECT_TRUE(settingsStore().showSwipeHintLabel());

    std::vector<std::string> ids;
    std::vector<int64_t> rows;
    auto previous = first;
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Left));
        auto next = shownDetails();
        ASSERT_NE(next, previous);
        ids.push_back(next->selectionPropertyId().value_or(""));
        rows.push_back(next->indexPathInParentController().row);
        EXPECT_EQ(next->entityName(), TestDetailsScenes::kEntityName);
        EXPECT_EQ(next->parentController(), list_);
        EXPECT_TRUE(next->isSwipeEnabled());
        EXPECT_TRUE(visible(next->swipeHintCorner()));
        EXPECT_FALSE(visible(next->swipeHintLabel()));
        EXPECT_FALSE(visible(previous->swipeHintLabel()));
        previous = next;
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(rows, (std::vector<int64_t>{1, 2, 0}));
    EXPECT_FALSE(settingsStore().showSwipeHintLabel());

    // A right swipe goes back one row.
    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Right));
    EXPECT_EQ(shownDetails()->selectionPropertyId(), "3");
}

TEST_F(DetailsSwipeTest, aRowlessStepSwitchesSwipingOffWithBothRecognisersAndTheCorner) {
    auto only = openDetails(1);
    ASSERT_TRUE(only);
    const size_t depth = navigation_->viewControllers().size();
    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Right));
    EXPECT_EQ(navigation_->viewControllers().size(), depth);
    EXPECT_FALSE(only->isSwipeEnabled());
    EXPECT_FALSE(only->swipeLeftRecognizer()->isEnabled());
    EXPECT_FALSE(only->swipeRightRecognizer()->isEnabled());
    EXPECT_FALSE(visible(only->swipeHintCorner()));
    EXPECT_FALSE(visible(only->swipeHintLabel()));
    // The hint setting is kept for a swipe that went somewhere.
    EXPECT_TRUE(settingsStore().showSwipeHintLabel());
    // Switched off, a swipe asks nothing.
    auto recognizer = only->swipeLeftRecognizer();
    EXPECT_FALSE(only->shouldPerformSegueWithIdentifier(TestDetailsScenes::kSwipeSegue, recognizer));
}

TEST_F(DetailsSwipeTest, aSwipeWithoutParentOrASegueWithoutAStepRaisesAndOtherSendersPass) {
    auto details = std::dynamic_pointer_cast<TestDetailsViewController>(
        storyboard_->instantiateViewControllerWithIdentifier(TestDetailsScenes::kDetailsScene));
    details->setIsSwipeEnabled(true);
    showRoot(uikit::UINavigationController::withRootViewController(details));
    auto recognizer = details->swipeLeftRecognizer();
    try {
        details->shouldPerformSegueWithIdentifier(TestDetailsScenes::kSwipeSegue, recognizer);
        FAIL() << "a swipe needs a parent";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "MISSING parent controller");
        EXPECT_EQ(e.reason(), "A parent controller must be set in order for swipe to work for TestDetailsViewController");
    }
    auto next = std::make_shared<TestDetailsViewController>();
    uikit::UIStoryboardSegue segue(TestDetailsScenes::kSwipeSegue, details, next);
    try {
        details->prepareForSegue(segue, recognizer);
        FAIL() << "a segue without a step";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "Next Id for swipe is 0");
        EXPECT_EQ(e.reason(), " Performing segue should have been prevented in this case in "
                              "shouldPerformSegueWithIdentifier for TestDetailsViewController");
    }
    // Another sender: allowed, and nothing handed on.
    EXPECT_TRUE(details->shouldPerformSegueWithIdentifier("other", nullptr));
    details->prepareForSegue(segue, nullptr);
    EXPECT_FALSE(next->selectionPropertyId());
}

TEST_F(DetailsSwipeTest, theHintsFollowTheViewsBoundsAndAPairWithoutEntityKeepsTheScreens) {
    auto details = openDetails(2);
    auto corner = details->swipeHintCorner();
    ASSERT_TRUE(corner);
    const graphics::Rect bounds = details->view()->bounds();
    // Laid out in the bounds the navigation controller gave the view.
    EXPECT_EQ(corner->frame(), graphics::Rect(bounds.size.width - 25, bounds.size.height - 25, 25, 25));
    auto hint = details->swipeHintLabel();
    ASSERT_TRUE(hint);
    auto label = std::dynamic_pointer_cast<uikit::UILabel>(hint->subviews().at(0));
    ASSERT_TRUE(label);
    EXPECT_EQ(hint->frame().size.width, label->frame().size.width + 3);
    EXPECT_DOUBLE_EQ(hint->frame().maxX(), bounds.size.width);
    EXPECT_DOUBLE_EQ(hint->frame().midY(), bounds.size.height * 0.75);

    // A list that leaves the entity unset: the next screen keeps this one's.
    list_->rowEntity = std::nullopt;
    list_->reloadDataSourceAndTable();
    details->setEntityName(std::string("QVACoreDataOrganization"));
    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Left));
    EXPECT_EQ(shownDetails()->entityName(), "QVACoreDataOrganization");
    EXPECT_EQ(shownDetails()->selectionPropertyId(), "2");
}

// --- The pad's split view ---

// The split view's delegate as the details navigation keeps it: in portrait
// the hidden master's popover and button.
class MenuKeeper : public uikit::UISplitViewControllerDelegate, public MenuBarButtonItemProvider {
public:
    std::shared_ptr<uikit::UIBarButtonItem> button;
    std::shared_ptr<uikit::UIBarButtonItem> menuBarButtonItem() const override { return button; }
    void splitViewControllerWillHideViewController(uikit::UISplitViewController& split, uikit::UIViewController&,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& item,
                                                   const std::shared_ptr<uikit::UIPopoverController>& popover) override {
        button = item;
        static_cast<EventsSplitViewController&>(split).setLeftPopoverMenuController(popover);
    }
    void splitViewControllerWillShowViewController(uikit::UISplitViewController& split, uikit::UIViewController&,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>&) override {
        button = nullptr;
        static_cast<EventsSplitViewController&>(split).setLeftPopoverMenuController(nullptr);
    }
};

class DetailsPadSwipeTest : public DetailsSwipeTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }

    std::shared_ptr<TestDetailsViewController> openInSplitView(size_t rows, int64_t row) {
        list_ = std::dynamic_pointer_cast<TestDetailsListViewController>(
            storyboard_->instantiateViewControllerWithIdentifier(TestDetailsScenes::kListScene));
        list_->ids.resize(rows);
        for (size_t i = 0; i < rows; ++i) list_->ids[i] = std::to_string(i + 1);
        navigation_ = uikit::UINavigationController::withRootViewController(list_);
        split_ = std::make_shared<EventsSplitViewController>();
        // The application's split view, as a screen not yet pushed finds it.
        auto delegate = std::make_shared<AppDelegate>();
        delegate->setEventsSplitVC(split_);
        uikit::UIApplication::sharedApplication().setDelegate(delegate);
        keeper_ = std::make_shared<MenuKeeper>();
        split_->setDelegate(keeper_);
        split_->setViewControllers({uikit::UINavigationController::withRootViewController(std::make_shared<BaseViewController>()),
                                    navigation_});
        showRoot(split_);
        EXPECT_TRUE(tapRow(0, row));
        return shownDetails();
    }
    bool popoverShows() const {
        return split_->leftPopoverMenuController() && split_->leftPopoverMenuController()->isPopoverVisible();
    }

    std::shared_ptr<EventsSplitViewController> split_;
    std::shared_ptr<MenuKeeper> keeper_;
};

TEST_F(DetailsPadSwipeTest, aRightSwipeOnThePortraitLeftHalfOpensTheMasterAndStepsElsewhere) {
    auto details = openInSplitView(3, 1);
    ASSERT_TRUE(details);
    // Swiping on: the split view's own gesture is off.
    EXPECT_FALSE(split_->presentsWithGesture());
    ASSERT_TRUE(split_->isMasterHidden());
    const double width = details->view()->bounds().size.width;
    const double y = details->view()->bounds().size.height / 2;
    auto inWindow = [&](double x) { return details->view()->convertPointToView({x, y}, nullptr); };

    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Right, inWindow(width / 2 - 1)));
    EXPECT_TRUE(popoverShows());
    EXPECT_EQ(shownDetails(), details);
    split_->hideLeftPopoverMenu();
    settle();

    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Right, inWindow(width / 2 + 1)));
    EXPECT_FALSE(popoverShows());
    ASSERT_NE(shownDetails(), details);
    EXPECT_EQ(shownDetails()->selectionPropertyId(), "1");

    // In landscape the left half steps too.
    auto stepped = shownDetails();
    ASSERT_TRUE(rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    ASSERT_FALSE(split_->isMasterHidden());
    ASSERT_TRUE(swipe(uikit::ScreenDriver::SwipeDirection::Right, stepped->view()->convertPointToView({10, y}, nullptr)));
    EXPECT_FALSE(popoverShows());
    EXPECT_EQ(shownDetails()->selectionPropertyId(), "3");

    // Swiping off gives the split view its gesture back.
    shownDetails()->setIsSwipeEnabled(false);
    EXPECT_TRUE(split_->presentsWithGesture());
}

// --- Over a store: the reload after a save ---

class DetailsSaveTest : public meetingtest::MeetingStoreTest {
protected:
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        details_.reset();
        MeetingStoreTest::TearDown();
    }
    // A details screen of `entity` showing `id`, observing `observed`.
    void load(const std::string& entity, const std::string& id, std::vector<std::string> observed) {
        details_ = std::make_shared<TestDetailsViewController>();
        details_->setEntityName(entity);
        details_->setSelectionPropertyId(id);
        details_->observed = std::move(observed);
        details_->loadViewIfNeeded();
    }
    void saveMain(const std::function<void(coredata::ManagedObjectContext&)>& change) {
        auto& context = *stack_->managedObjectContextMainQueue();
        change(context);
        ASSERT_EQ(context.save(), nullptr);
    }
    std::shared_ptr<coredata::ManagedObject> insertMain(const std::string& entity, const std::string& key,
                                                        const std::string& id) {
        std::shared_ptr<coredata::ManagedObject> object;
        saveMain([&](coredata::ManagedObjectContext& context) {
            object = coredata::EntityDescription::insertNewObjectForEntityForName(entity, context);
            object->setValue(foundation::Value(id), key);
        });
        return object;
    }
    // The updates that ran since loading.
    size_t updates() {
        foundation::RunLoop::main().runDueTasks();
        return details_->shown.size() - 1;
    }

    std::shared_ptr<CoreDataStack> stack_;
    std::shared_ptr<TestDetailsViewController> details_;
};

TEST_F(DetailsSaveTest, aSaveReloadsWhenAnySavedObjectOfAnObservedClassIsTheShownOne) {
    stack_ = openCurrent("token");
    auto other = insertMain("QVACoreDataSession", "itemId", "s1");
    auto shown = insertMain("QVACoreDataSession", "itemId", "s2");
    load("QVACoreDataSession", "s2", {"QVACoreDataBaseSession"});
    ASSERT_EQ(details_->shown.size(), 1u);
    EXPECT_EQ(details_->shown.front().second, shown);

    // Another key: nothing. The same key: one update, on a later turn.
    insertMain("QVACoreDataSession", "itemId", "s9");
    EXPECT_EQ(updates(), 0u);
    auto twin = insertMain("QVACoreDataSession", "itemId", "s2");
    EXPECT_EQ(details_->shown.size(), 1u);
    EXPECT_EQ(updates(), 1u);

    // Another session updated in the same save before the shown one.
    saveMain([&](coredata::ManagedObjectContext&) {
        other->setValue(foundation::Value("Opening"), "title");
        shown->setValue(foundation::Value("Keynote"), "title");
    });
    EXPECT_EQ(updates(), 2u);
    saveMain([&](coredata::ManagedObjectContext&) {
        shown->setValue(foundation::Value("Closing"), "title");
        other->setValue(foundation::Value("Panel"), "title");
    });
    EXPECT_EQ(updates(), 3u);
    EXPECT_EQ(details_->shown.back().second, shown);

    // Two matching saves before the loop turns: one update each.
    saveMain([&](coredata::ManagedObjectContext&) { shown->setValue(foundation::Value("A"), "title"); });
    saveMain([&](coredata::ManagedObjectContext&) { shown->setValue(foundation::Value("B"), "title"); });
    EXPECT_EQ(updates(), 5u);

    // The shown object deleted: the update finds nothing and shows nothing.
    saveMain([&](coredata::ManagedObjectContext& context) {
        context.deleteObject(twin);
        context.deleteObject(shown);
    });
    EXPECT_EQ(updates(), 5u);
}

TEST_F(DetailsSaveTest, objectsOfOtherClassesOrWithoutTheKeyAndOtherStoresSavesCauseNothing) {
    stack_ = openCurrent("token");
    // Agenda roles are keyed by agendaItemId: a session whose itemId is the
    // shown text is not the shown role.
    load("QVACoreDataAgendaRole", "a1", {"QVACoreDataAgendaRole"});
    insertMain("QVACoreDataSession", "itemId", "a1");
    EXPECT_EQ(updates(), 0u);
    insertMain("QVACoreDataAgendaRole", "agendaItemId", "a1");
    EXPECT_EQ(updates(), 1u);

    // A message (keyed by messageId, no itemId) saved beside observed sessions.
    load("QVACoreDataSession", "m1", {"QVACoreDataBaseSession", "NoSuchEntity"});
    EXPECT_NO_THROW(insertMain("QVACoreDataMessage", "messageId", "m1"));
    EXPECT_EQ(updates(), 0u);

    // The main-queue context of another store.
    auto otherStack = open("other-token");
    auto& context = *otherStack->managedObjectContextMainQueue();
    coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataSession", context)
        ->setValue(foundation::Value("m1"), "itemId");
    ASSERT_EQ(context.save(), nullptr);
    EXPECT_EQ(updates(), 0u);

    // A worker's write reaches the screen through the main context.
    insert("token", "QVACoreDataSession", {{{"itemId", foundation::Value("m1")}}});
    EXPECT_EQ(updates(), 1u);
}

TEST_F(DetailsSaveTest, aScreenLoadedWithoutAStoreObservesNothingAndOffTheMainThreadTheHandlersRaise) {
    load("QVACoreDataSession", "s1", {"QVACoreDataBaseSession"});
    EXPECT_FALSE(details_->observedSaveContext());
    stack_ = openCurrent("token");
    insertMain("QVACoreDataSession", "itemId", "s1");
    EXPECT_EQ(updates(), 0u);

    std::string saveRaised, updateRaised;
    auto worker = dispatch::Queue::createSerial("details-test");
    worker->sync([&] {
        try {
            details_->contextDidSave(foundation::Notification{coredata::kManagedObjectContextDidSaveNotification, {}, {}});
        } catch (const foundation::Exception& e) {
            saveRaised = e.name();
        }
        try {
            details_->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& e) {
            updateRaised = e.name();
        }
    });
    EXPECT_EQ(saveRaised, "New exception introduced for parent child core data contexts");
    EXPECT_EQ(updateRaised, "Please call this method from main thread only");
}

}  // namespace

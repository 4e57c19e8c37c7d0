// Storyboards and segues: scenes made from the registry hear awakeFromNib
// (children of a composite first) while controllers made in code do not; the
// scene's views load once, on first access, with their outlets named;
// unknown names raise naming them; triggers ask shouldPerform with their
// sender and performSegueWithIdentifier does not; the source prepares before
// the destination appears; an unwind finds the first controller up the chain
// (through a popover's segue source too) with its action and dismisses back
// to it.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/StoryboardUnwindSegue.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UITabBarController.h"
#include "uikit/UIView.h"

namespace {

using uikit::UIStoryboard;
using uikit::UIStoryboardSegueKind;
using uikit::UIStoryboardSegueTrigger;
using uikit::UIViewController;
using uikit::UIViewControllerPtr;

std::vector<std::string> events;

struct Screen : UIViewController {
    explicit Screen(std::string name) : name(std::move(name)) {}
    std::string name;
    int viewDidLoadCount = 0;
    bool allowSegues = true;
    std::vector<foundation::ObjectPtr> askedSenders;
    std::shared_ptr<uikit::UISwipeGestureRecognizer> swipeOutlet;
    std::shared_ptr<uikit::UIButton> addButtonOutlet;
    std::shared_ptr<uikit::UIBarButtonItem> editItemOutlet;
    std::shared_ptr<uikit::UIPopoverController> lastPopover;

    void awakeFromNib() override { events.push_back("awake " + name); }
    void viewDidLoad() override { ++viewDidLoadCount; }
    void viewWillAppear(bool) override { events.push_back("will appear " + name); }
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override {
        askedSenders.push_back(sender);
        events.push_back("should " + identifier);
        return allowSegues;
    }
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr&) override {
        if (auto popover = dynamic_cast<uikit::StoryboardPopoverSegue*>(&segue))
            lastPopover = popover->popoverController();
        events.push_back("prepare " + segue.identifier() + " to " +
                         std::static_pointer_cast<Screen>(segue.destinationViewController())->name);
    }
};

// A view of a scene that tells when it wakes.
struct WakingView : uikit::UIView {
    explicit WakingView(std::string name) : name(std::move(name)) {}
    std::string name;
    void awakeFromNib() override { events.push_back("awake view " + name); }
};

struct Navigation : uikit::UINavigationController {
    void awakeFromNib() override { events.push_back("awake navigation " + std::to_string(viewControllers().size())); }
};

struct Tabs : uikit::UITabBarController {
    void awakeFromNib() override { events.push_back("awake tabs"); }
};

// A segue class of the application's own.
struct RecordingSegue : uikit::UIStoryboardSegue {
    using UIStoryboardSegue::UIStoryboardSegue;
    void perform() override { events.push_back("custom perform " + identifier()); }
};

void turnRunLoop() {
    for (int i = 0; i < 4; ++i) foundation::RunLoop::main().runDueTasks();
}

class UIStoryboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        events.clear();
        uikit::UIApplication::sharedApplication().resetForTests();
        board_ = UIStoryboard::registerStoryboard("Storyboard_Test");
        board_->addScene(
            "list", [](UIStoryboard&) { return std::make_shared<Screen>("list"); },
            [](UIViewController& owner, uikit::SceneOutlets& outlets) {
                auto& screen = static_cast<Screen&>(owner);
                auto view = std::make_shared<uikit::UIView>(graphics::Rect{{0, 0}, {375, 667}});
                screen.swipeOutlet = outlets.connect("swipeLeft", std::make_shared<uikit::UISwipeGestureRecognizer>());
                screen.swipeOutlet->setDirection(uikit::UISwipeGestureRecognizerDirectionLeft);
                view->addGestureRecognizer(screen.swipeOutlet);
                screen.addButtonOutlet =
                    outlets.connect("addButton", uikit::UIButton::buttonWithType(uikit::UIButtonType::System));
                screen.addButtonOutlet->setFrame({{10, 10}, {44, 44}});
                view->addSubview(screen.addButtonOutlet);
                screen.editItemOutlet = outlets.connect(
                    "editItem", uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Edit));
                screen.navigationItem()->setRightBarButtonItem(screen.editItemOutlet);
                return view;
            });
        board_->addScene("detail", [](UIStoryboard&) { return std::make_shared<Screen>("detail"); });
        board_->addScene("form", [](UIStoryboard&) { return std::make_shared<Screen>("form"); });
        board_->addScene("tabs", [](UIStoryboard& storyboard) {
            auto tabs = std::make_shared<Tabs>();
            std::vector<UIViewControllerPtr> stacks;
            for (const char* root : {"list", "detail"}) {
                auto navigation = std::make_shared<Navigation>();
                navigation->setViewControllers({storyboard.instantiateViewControllerWithIdentifier(root)}, false);
                stacks.push_back(navigation);
            }
            tabs->setViewControllers(stacks);
            return tabs;
        });
        board_->setInitialSceneIdentifier("tabs");

        uikit::UIStoryboardSegueDefinition showDetail;
        showDetail.identifier = "showDetail";
        showDetail.kind = UIStoryboardSegueKind::Push;
        showDetail.destination = "detail";
        showDetail.trigger = {UIStoryboardSegueTrigger::Kind::GestureRecognizer, "swipeLeft"};
        board_->addSegue("list", showDetail);

        uikit::UIStoryboardSegueDefinition addEntry;
        addEntry.identifier = "addEntry";
        addEntry.kind = UIStoryboardSegueKind::Modal;
        addEntry.destination = "form";
        addEntry.presentationStyle = uikit::UIModalPresentationStyle::FormSheet;
        addEntry.trigger = {UIStoryboardSegueTrigger::Kind::Control, "addButton"};
        board_->addSegue("list", addEntry);

        uikit::UIStoryboardSegueDefinition edit;
        edit.identifier = "edit";
        edit.kind = UIStoryboardSegueKind::Custom;
        edit.destination = "detail";
        edit.segueClass = [](const std::string& identifier, const UIViewControllerPtr& source,
                             const UIViewControllerPtr& destination) {
            return std::make_shared<RecordingSegue>(identifier, source, destination);
        };
        edit.trigger = {UIStoryboardSegueTrigger::Kind::BarButtonItem, "editItem"};
        board_->addSegue("list", edit);

        uikit::UIStoryboardSegueDefinition cell;
        cell.identifier = "cellDetail";
        cell.kind = UIStoryboardSegueKind::Push;
        cell.destination = "detail";
        cell.trigger = {UIStoryboardSegueTrigger::Kind::TableCell, "sessionCell"};
        board_->addSegue("list", cell);

        uikit::UIStoryboardSegueDefinition filters;
        filters.identifier = "filters";
        filters.kind = UIStoryboardSegueKind::Popover;
        filters.destination = "form";
        board_->addSegue("list", filters);

        uikit::UIStoryboardSegueDefinition done;
        done.identifier = "done";
        done.kind = UIStoryboardSegueKind::Unwind;
        done.unwindAction = "unwindToList:";
        board_->addSegue("form", done);
    }
    void TearDown() override {
        turnRunLoop();
        uikit::UIApplication::sharedApplication().resetForTests();
        UIStoryboard::unregisterStoryboard("Storyboard_Test");
        turnRunLoop();
    }

    // The list scene at the root of a navigation stack in the key window.
    std::shared_ptr<Screen> showListInNavigation(std::shared_ptr<uikit::UINavigationController>& navigation) {
        auto list = std::static_pointer_cast<Screen>(board_->instantiateViewControllerWithIdentifier("list"));
        navigation = uikit::UINavigationController::withRootViewController(list);
        uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(navigation);
        turnRunLoop();
        events.clear();
        return list;
    }

    std::shared_ptr<UIStoryboard> board_;
};

TEST_F(UIStoryboardTest, ScenesAwakeFromNibControllersInCodeDoNotAndViewsLoadOnce) {
    auto board = UIStoryboard::storyboardWithName("Storyboard_Test");
    EXPECT_EQ(board, board_);
    auto list = std::static_pointer_cast<Screen>(board->instantiateViewControllerWithIdentifier("list"));
    EXPECT_EQ(events, std::vector<std::string>{"awake list"});
    EXPECT_TRUE(list->isMadeFromInterfaceFile());
    EXPECT_EQ(list->storyboard(), board);
    EXPECT_EQ(list->storyboardSceneIdentifier(), "list");

    auto inCode = std::make_shared<Screen>("code");
    (void)inCode->view();
    EXPECT_FALSE(inCode->isMadeFromInterfaceFile());
    EXPECT_EQ(events, std::vector<std::string>{"awake list"});

    EXPECT_FALSE(list->isViewLoaded());
    EXPECT_EQ(list->viewDidLoadCount, 0);
    const auto view = list->view();
    (void)list->view();
    EXPECT_EQ(list->viewDidLoadCount, 1);
    EXPECT_EQ(view->frame().size.width, 375);
    ASSERT_TRUE(list->addButtonOutlet);
    EXPECT_EQ(list->addButtonOutlet->outletName(), "addButton");
    EXPECT_EQ(list->addButtonOutlet->superview(), view);
}

TEST_F(UIStoryboardTest, UnknownNamesRaiseNamingThemAndCompositesAwakeChildrenFirst) {
    auto reasonOf = [](const std::function<void()>& call) -> std::string {
        try {
            call();
        } catch (const foundation::Exception& e) {
            return e.reason();
        }
        return "no exception";
    };
    EXPECT_NE(reasonOf([] { UIStoryboard::storyboardWithName("Storyboard_Nowhere"); }).find("'Storyboard_Nowhere'"),
              std::string::npos);
    EXPECT_NE(reasonOf([&] { board_->instantiateViewControllerWithIdentifier("settingsIdentifier"); })
                  .find("'settingsIdentifier'"),
              std::string::npos);
    EXPECT_NE(reasonOf([&] { board_->instantiateViewControllerWithIdentifier(""); }), "no exception");
    auto list = board_->instantiateViewControllerWithIdentifier("list");
    EXPECT_NE(reasonOf([&] { list->performSegueWithIdentifier("nowhere", nullptr); }).find("'nowhere'"),
              std::string::npos);

    events.clear();
    auto tabs = std::dynamic_pointer_cast<Tabs>(board_->instantiateInitialViewController());
    ASSERT_TRUE(tabs);
    EXPECT_EQ(events, (std::vector<std::string>{"awake list", "awake detail", "awake navigation 1",
                                                "awake navigation 1", "awake tabs"}));
    for (const auto& stack : tabs->viewControllers()) {
        EXPECT_TRUE(stack->isMadeFromInterfaceFile());
        EXPECT_EQ(stack->storyboard(), board_);
    }
}

TEST_F(UIStoryboardTest, ASwipeAsksWithItsRecogniserAndPerformingDoesNotAsk) {
    std::shared_ptr<uikit::UINavigationController> navigation;
    auto list = showListInNavigation(navigation);

    list->allowSegues = false;
    ASSERT_TRUE(list->swipeOutlet->fireAtPoint({100, 200}, uikit::UISwipeGestureRecognizerDirectionLeft));
    EXPECT_EQ(events, std::vector<std::string>{"should showDetail"});
    ASSERT_EQ(list->askedSenders.size(), 1u);
    EXPECT_EQ(list->askedSenders[0], list->swipeOutlet);
    turnRunLoop();
    EXPECT_EQ(navigation->viewControllers().size(), 1u);

    // Performing in code asks nothing; the source prepares before the destination appears.
    events.clear();
    list->performSegueWithIdentifier("showDetail", nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"awake detail", "prepare showDetail to detail", "will appear detail"}));
    turnRunLoop();
    EXPECT_EQ(std::static_pointer_cast<Screen>(navigation->topViewController())->name, "detail");

    // Allowed, the swipe pushes too.
    list->allowSegues = true;
    navigation->popViewControllerAnimated(false);
    turnRunLoop();
    events.clear();
    list->swipeOutlet->fireAtPoint({100, 200}, uikit::UISwipeGestureRecognizerDirectionLeft);
    EXPECT_EQ(events, (std::vector<std::string>{"should showDetail", "awake detail", "prepare showDetail to detail",
                                                "will appear detail"}));
}

TEST_F(UIStoryboardTest, ButtonsBarItemsAndCellsTriggerTheirSeguesKinds) {
    std::shared_ptr<uikit::UINavigationController> navigation;
    auto list = showListInNavigation(navigation);

    list->addButtonOutlet->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    turnRunLoop();
    auto form = std::dynamic_pointer_cast<Screen>(list->presentedViewController());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->name, "form");
    EXPECT_EQ(form->presentingViewController(), list);
    EXPECT_EQ(form->modalPresentationStyle(), uikit::UIModalPresentationStyle::FormSheet);
    EXPECT_EQ(list->askedSenders.back(), list->addButtonOutlet);
    list->dismissViewControllerAnimated(false);
    turnRunLoop();

    events.clear();
    EXPECT_TRUE(list->editItemOutlet->tap());
    EXPECT_EQ(events, (std::vector<std::string>{"should edit", "awake detail", "prepare edit to detail",
                                                "custom perform edit"}));

    // Prototype cells come fresh from the scene's table; the selected one triggers its segue.
    board_->addPrototypeCell("list", "sessionCell", [] { return std::make_shared<uikit::UIView>(); });
    EXPECT_EQ(board_->makePrototypeCell(*list, "otherCell"), nullptr);
    auto cell = board_->makePrototypeCell(*list, "sessionCell");
    ASSERT_TRUE(cell);
    EXPECT_NE(board_->makePrototypeCell(*list, "sessionCell"), cell);
    events.clear();
    EXPECT_FALSE(UIStoryboard::triggerSegueForCell(*list, "otherCell", cell));
    EXPECT_TRUE(UIStoryboard::triggerSegueForCell(*list, "sessionCell", cell));
    EXPECT_EQ(list->askedSenders.back(), cell);
    EXPECT_EQ(navigation->viewControllers().size(), 2u);

    // A popover segue points at its sender, or at the source's view without one.
    auto item = uikit::UIBarButtonItem::withTitle("Filters", uikit::UIBarButtonItemStyle::Plain);
    list->performSegueWithIdentifier("filters", item);
    const auto popover = list->lastPopover;
    ASSERT_TRUE(popover);
    EXPECT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(popover->presentingBarButtonItem(), item);
    EXPECT_EQ(std::static_pointer_cast<Screen>(popover->contentViewController())->name, "form");
    popover->dismissPopoverAnimated(false);
    turnRunLoop();
    list->performSegueWithIdentifier("filters", nullptr);
    ASSERT_TRUE(list->lastPopover);
    EXPECT_EQ(list->lastPopover->presentingView(), list->view());
    list->lastPopover->dismissPopoverAnimated(false);

    // A segue built in code runs its handler.
    bool performed = false;
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier("goHomeSegueIpad", list, nullptr,
                                                                [&] { performed = true; });
    segue->perform();
    EXPECT_TRUE(performed);
    EXPECT_EQ(segue->sourceViewController(), list);
}

TEST_F(UIStoryboardTest, AnUnwindFromAPresentedFormRunsTheActionUpTheChainAndDismissesBackToIt) {
    std::shared_ptr<uikit::UINavigationController> navigation;
    auto list = showListInNavigation(navigation);
    std::vector<std::string> unwound;
    list->addUnwindAction("unwindToList:", [&](uikit::UIStoryboardSegue& segue) {
        unwound.push_back(std::static_pointer_cast<Screen>(segue.sourceViewController())->name + " to " +
                          std::static_pointer_cast<Screen>(segue.destinationViewController())->name);
    });
    list->performSegueWithIdentifier("showDetail", nullptr);
    turnRunLoop();
    auto detail = navigation->topViewController();
    detail->presentViewController(board_->instantiateViewControllerWithIdentifier("form"), true);
    turnRunLoop();
    auto form = std::dynamic_pointer_cast<Screen>(detail->presentedViewController());
    ASSERT_TRUE(form);

    events.clear();
    form->performSegueWithIdentifier("done", nullptr);
    EXPECT_EQ(unwound, std::vector<std::string>{"form to list"});
    EXPECT_EQ(events.front(), "prepare done to list");
    turnRunLoop();
    EXPECT_EQ(detail->presentedViewController(), nullptr);
    EXPECT_EQ(navigation->topViewController(), list);
}

TEST_F(UIStoryboardTest, AnUnwindFromAPopoversContentReachesTheSegueSourceWhileThePopoverIsUp) {
    std::shared_ptr<uikit::UINavigationController> navigation;
    auto list = showListInNavigation(navigation);
    int unwound = 0;
    list->addUnwindAction("unwindToList:", [&](uikit::UIStoryboardSegue&) { ++unwound; });
    list->performSegueWithIdentifier("filters", nullptr);
    turnRunLoop();
    ASSERT_TRUE(list->lastPopover);
    auto form = list->lastPopover->contentViewController();
    EXPECT_EQ(list->lastPopover->sourceViewController(), list);
    EXPECT_EQ(uikit::StoryboardUnwindSegue::findDestination(*form, "unwindToList:", nullptr), list);
    form->performSegueWithIdentifier("done", nullptr);
    EXPECT_EQ(unwound, 1);

    // Once the popover is down its content no longer leads anywhere.
    list->lastPopover->dismissPopoverAnimated(false);
    turnRunLoop();
    EXPECT_EQ(uikit::StoryboardUnwindSegue::findDestination(*form, "unwindToList:", nullptr), nullptr);
}

TEST_F(UIStoryboardTest, TheScenesViewsAndPrototypeCellsHearAwakeFromNibSubviewsFirstOnce) {
    board_->addScene(
        "profile", [](UIStoryboard&) { return std::make_shared<Screen>("profile"); },
        [](UIViewController&, uikit::SceneOutlets& outlets) {
            auto view = std::make_shared<WakingView>("root");
            auto field = outlets.connect("nameField", std::make_shared<WakingView>("field"));
            view->addSubview(field);
            return view;
        });
    board_->addPrototypeCell("profile", "row", [] { return std::make_shared<WakingView>("cell"); });
    auto profile = board_->instantiateViewControllerWithIdentifier("profile");
    (void)profile->view();
    (void)profile->view();
    EXPECT_EQ(events, (std::vector<std::string>{"awake profile", "awake view field", "awake view root"}));
    events.clear();
    EXPECT_NE(board_->makePrototypeCell(*profile, "row"), nullptr);
    EXPECT_EQ(events, std::vector<std::string>{"awake view cell"});
}

}  // namespace

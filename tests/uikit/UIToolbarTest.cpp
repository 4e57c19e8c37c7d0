// A toolbar lays its items out from the left with flexible spaces sharing
// the room; the dump prints it as one line of its items (a custom-view
// button by its normal image, a label by its text), and the driver taps a
// toolbar item, a custom-view button by its image whatever its state, and a
// segment of the bar's segmented control.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ScreenTest.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIToolbar.h"
#include "uikit/UIViewController.h"

namespace {

using uikit::UIBarButtonItem;
using uikit::UIImage;

struct ToolbarScreen : uikit::UIViewController {
    std::shared_ptr<uikit::UIToolbar> toolbar;
    std::shared_ptr<uikit::UIButton> arrow;
    std::shared_ptr<uikit::UISegmentedControl> segments;
    int arrowTaps = 0;
    int doneTaps = 0;

    void viewDidLoad() override {
        toolbar = std::make_shared<uikit::UIToolbar>(graphics::Rect(0, 64, 320, uikit::UIToolbar::kHeight));
        arrow = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
        arrow->setImage(UIImage::imageNamed("right_arrow.png"), uikit::UIControlStateNormal);
        arrow->setImage(UIImage::imageNamed("right_arrow_disabled.png"), uikit::UIControlStateDisabled);
        arrow->setFrame(graphics::Rect(0, 0, 50, 40));
        arrow->addTarget([this](uikit::UIControl&) { ++arrowTaps; }, uikit::UIControlEventTouchUpInside);
        auto label = std::make_shared<uikit::UILabel>(graphics::Rect(0, 0, 120, 30));
        label->setText(std::string("Monday 06 May"));
        auto done = UIBarButtonItem::withTitle(std::string("Done"), uikit::UIBarButtonItemStyle::Plain,
                                               [this](UIBarButtonItem&) { ++doneTaps; });
        auto space = [] { return UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::FlexibleSpace); };
        toolbar->setItems({done, space(), UIBarButtonItem::withCustomView(label), space(),
                           UIBarButtonItem::withCustomView(arrow)});
        view()->addSubview(toolbar);
        segments = std::make_shared<uikit::UISegmentedControl>(std::vector<uikit::UISegmentedControl::Item>{
            UIImage::imageNamed("calendar-white.png"), UIImage::imageNamed("agenda_icon.png")});
        segments->setSelectedSegmentIndex(0);
        navigationItem()->setTitleView(segments);
    }
};

class UIToolbarTest : public ScreenTest {};

TEST_F(UIToolbarTest, ItemsAreLaidOutWithTheFlexibleSpacesSharingTheRoom) {
    auto screen = std::make_shared<ToolbarScreen>();
    showRoot(uikit::UINavigationController::withRootViewController(screen));
    screen->toolbar->layoutIfNeeded();
    auto arrowItem = screen->toolbar->items().back();
    EXPECT_EQ(screen->toolbar->viewForBarButtonItem(arrowItem), screen->arrow);
    EXPECT_EQ(screen->arrow->superview(), screen->toolbar);
    // The arrow at the right margin, the label in the middle.
    EXPECT_DOUBLE_EQ(screen->arrow->frame().origin.x + screen->arrow->frame().size.width, 320 - 8);
    auto label = screen->toolbar->items()[2]->customView();
    EXPECT_NEAR(label->frame().origin.x + label->frame().size.width / 2, 160, 25);
}

TEST_F(UIToolbarTest, TheDumpShowsTheItemsAndTheBarsSegments) {
    auto screen = std::make_shared<ToolbarScreen>();
    showRoot(uikit::UINavigationController::withRootViewController(screen));
    screen->arrow->setEnabled(false);
    const auto text = dump();
    EXPECT_NE(text.find("toolbar [Done on][Monday 06 May on][right_arrow.png off]"), std::string::npos) << text;
    EXPECT_NE(text.find("bar view=UISegmentedControl [calendar-white.png*] [agenda_icon.png]"), std::string::npos)
        << text;
}

TEST_F(UIToolbarTest, TheDriverTapsToolbarItemsAndTheBarsSegments) {
    auto screen = std::make_shared<ToolbarScreen>();
    showRoot(uikit::UINavigationController::withRootViewController(screen));
    ASSERT_TRUE(driver().tapItem("Done"));
    EXPECT_EQ(screen->doneTaps, 1);
    ASSERT_TRUE(driver().tapItem("right_arrow.png"));
    EXPECT_EQ(screen->arrowTaps, 1);
    // Disabled, the button is still found by its image, and does nothing.
    screen->arrow->setEnabled(false);
    ASSERT_TRUE(driver().tapItem("right_arrow.png"));
    EXPECT_EQ(screen->arrowTaps, 1);
    EXPECT_FALSE(driver().tapItem("left_arrow.png"));

    ASSERT_TRUE(driver().segment(1));
    EXPECT_EQ(screen->segments->selectedSegmentIndex(), 1);
    EXPECT_FALSE(driver().segment(2));
}

}  // namespace

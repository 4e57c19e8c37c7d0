// The application's look through the appearance proxies: what bars, tables,
// search bars and labels made after customizeDefaultUIAppearance show on the
// phone and the pad, inside and outside a popover.
#include <gtest/gtest.h>

#include "Utils/AppearanceUtils.h"
#include "support/ScreenTest.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISearchBar.h"
#include "uikit/UITabBar.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITableViewController.h"
#include "uikit/UIWindow.h"

namespace {

using uikit::UIColor;

graphics::Color rgb255(double r, double g, double b) { return UIColor::colorWithRed(r / 255, g / 255, b / 255, 1); }

class AppearanceUtilsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        uikit::UIAppearance::resetForTests();
        AppearanceUtils::customizeDefaultUIAppearance();
    }
    void TearDown() override {
        ScreenTest::TearDown();
        uikit::UIAppearance::resetForTests();
    }

    // A navigation controller on screen whose root shows an "Edit" button.
    std::shared_ptr<uikit::UINavigationController> showNavigation() {
        auto root = std::make_shared<uikit::UIViewController>();
        editItem = uikit::UIBarButtonItem::withTitle("Edit", uikit::UIBarButtonItemStyle::Plain);
        root->navigationItem()->setRightBarButtonItem(editItem);
        auto navigation = uikit::UINavigationController::withRootViewController(root);
        showRoot(navigation);
        return navigation;
    }

    double editButtonFontSize(const uikit::UINavigationController& navigation) const {
        auto button = std::dynamic_pointer_cast<uikit::UIButton>(navigation.navigationBar()->viewForBarButtonItem(editItem));
        EXPECT_NE(button, nullptr);
        return button ? button->titleLabel()->font()->pointSize() : 0;
    }

    uikit::UIBarButtonItemPtr editItem;
};

class AppearanceUtilsPadTest : public AppearanceUtilsTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(AppearanceUtilsTest, BarsGetTheirBackgroundsTitlesAndTheSixteenPointButtonsOnThePhone) {
    EXPECT_EQ(uikit::UIApplication::sharedApplication().statusBarStyle(), uikit::UIStatusBarStyle::LightContent);

    auto navigation = showNavigation();
    const auto& bar = navigation.get()->navigationBar();
    auto background = bar->backgroundImageForBarMetrics(uikit::UIBarMetrics::Default);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->name(), "iOS7_navigation_bar_background.png");
    EXPECT_EQ(bar->titleTextAttributes().foregroundColor, rgb255(64, 158, 210));
    ASSERT_NE(bar->titleTextAttributes().font, nullptr);
    EXPECT_EQ(bar->titleTextAttributes().font->fontName(), "HelveticaNeue-Light");
    EXPECT_EQ(bar->titleTextAttributes().font->pointSize(), 22);
    EXPECT_FALSE(bar->backgroundColor());  // only inside a popover

    EXPECT_EQ(editButtonFontSize(*navigation), 16);
    EXPECT_EQ(editItem->titleTextAttributesForState(uikit::UIControlStateNormal).font->fontName(),
              uikit::UIFont::systemFontOfSize(16)->fontName());

    // A bar outside a navigation controller keeps the platform's button size.
    auto loose = std::make_shared<uikit::UINavigationBar>(graphics::Rect{0, 100, 375, 44});
    auto item = std::make_shared<uikit::UINavigationItem>();
    auto done = uikit::UIBarButtonItem::withTitle("Done", uikit::UIBarButtonItemStyle::Plain);
    item->setRightBarButtonItem(done);
    loose->setItems({item}, false);
    auto otherWindow = std::make_shared<uikit::UIWindow>(graphics::Rect{0, 0, 375, 667});
    otherWindow->addSubview(loose);
    loose->layoutIfNeeded();
    auto button = std::dynamic_pointer_cast<uikit::UIButton>(loose->viewForBarButtonItem(done));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->titleLabel()->font()->pointSize(), 17);

    auto tabBar = std::make_shared<uikit::UITabBar>(graphics::Rect{0, 618, 375, 49});
    front()->view()->addSubview(tabBar);
    ASSERT_NE(tabBar->backgroundImage(), nullptr);
    EXPECT_EQ(tabBar->backgroundImage()->name(), "iOS7_navigation_bar_background.png");
}

TEST_F(AppearanceUtilsPadTest, ThePadKeepsThePlatformButtonSizeAndPopoversGetTheDarkBarAndTheGreyTable) {
    auto navigation = showNavigation();
    EXPECT_EQ(editButtonFontSize(*navigation), 17);

    auto table = std::make_shared<uikit::UITableViewController>();
    auto inPopover = uikit::UINavigationController::withRootViewController(table);
    auto popover = std::make_shared<uikit::UIPopoverController>(inPopover);
    popover->presentPopoverFromRect({10, 10, 10, 10}, navigation->view(), uikit::UIPopoverArrowDirectionAny, false);
    settle();
    ASSERT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(inPopover->navigationBar()->backgroundColor(), rgb255(5, 7, 8));
    EXPECT_EQ(table->tableView()->backgroundColor(), rgb255(245, 245, 245));

    // The same grey everywhere else.
    auto plain = std::make_shared<uikit::UITableView>(graphics::Rect{0, 0, 300, 300});
    navigation->topViewController()->view()->addSubview(plain);
    EXPECT_EQ(plain->backgroundColor(), rgb255(245, 245, 245));
    EXPECT_FALSE(navigation->navigationBar()->backgroundColor());
}

TEST_F(AppearanceUtilsTest, SearchBarsGetTheStretchedBackgroundFieldLensAndTextOffset) {
    auto navigation = showNavigation();
    auto bar = std::make_shared<uikit::UISearchBar>(graphics::Rect{0, 0, 375, 44});
    navigation->topViewController()->view()->addSubview(bar);

    auto background = bar->backgroundImage();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->name(), "search_background");
    EXPECT_EQ(background->capInsets(), uikit::UIEdgeInsetsZero);
    EXPECT_EQ(background->resizingMode(), uikit::UIImageResizingMode::Stretch);
    auto field = bar->searchFieldBackgroundImageForState(uikit::UIControlStateNormal);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->name(), "textbox_background");
    EXPECT_EQ(field->capInsets(), (uikit::UIEdgeInsets{0, 6, 0, 0}));
    auto lens = bar->imageForSearchBarIcon(uikit::UISearchBarIcon::Search, uikit::UIControlStateNormal);
    ASSERT_NE(lens, nullptr);
    EXPECT_EQ(lens->name(), "search_lens.png");
    EXPECT_EQ(bar->searchTextPositionAdjustment(), (uikit::UIOffset{7, 0}));
}

TEST_F(AppearanceUtilsTest, ALabelInASelectedCellTurnsBlack) {
    auto navigation = showNavigation();
    auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Value1, "cell");
    cell->setFrame({0, 0, 375, 44});
    cell->textLabel()->setTextColor(UIColor::grayColor());
    navigation->topViewController()->view()->addSubview(cell);

    EXPECT_EQ(cell->textLabel()->currentTextColor(), UIColor::grayColor());
    cell->setSelected(true);
    EXPECT_EQ(cell->textLabel()->currentTextColor(), UIColor::blackColor());
    EXPECT_EQ(cell->detailTextLabel()->currentTextColor(), UIColor::blackColor());
    cell->setSelected(false);
    EXPECT_EQ(cell->textLabel()->currentTextColor(), UIColor::grayColor());
}

TEST(AppearanceUtils, MenuLabelsAndColourImages) {
    uikit::UILabel label;
    label.setTextColor(UIColor::grayColor());
    AppearanceUtils::setMenuItemLabelAppearance(label);
    EXPECT_EQ(label.font()->fontName(), "HelveticaNeue-Medium");
    EXPECT_EQ(label.font()->pointSize(), 18);
    EXPECT_EQ(label.textColor(), UIColor::blackColor());

    auto image = AppearanceUtils::imageFromColor(rgb255(64, 158, 210));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), (graphics::Size{1, 1}));
    ASSERT_NE(image->bitmap(), nullptr);
    const auto pixel = image->bitmap()->pixel(0, 0);
    EXPECT_EQ(pixel, (graphics::Pixel{64, 158, 210, 255}));
}

}  // namespace

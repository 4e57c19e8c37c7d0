// The navigation bar: its appearance by container, values set on the bar
// winning, the items it shows as real buttons and the back button that asks
// its delegate before popping.
#include <gtest/gtest.h>

#include "uikit/UIAppearance.h"
#include "uikit/UIApplication.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIWindow.h"

namespace {

using namespace uikit;

// Stand-ins for the containers the app registers bars for.
struct PopoverContainer : UIView {};
struct NavigationContainer : UIView {};

const graphics::Color kPopoverColor = graphics::Color::rgb(5 / 255.0, 7 / 255.0, 8 / 255.0);

class NavigationBar : public ::testing::Test {
protected:
    void SetUp() override {
        UIAppearance::resetForTests();
        background = UIImage::imageNamed("iOS7_navigation_bar_background.png");
        ASSERT_NE(background, nullptr);
        UINavigationBar::appearance().setBackgroundImage(background, UIBarMetrics::Default);
        UINavigationBar::appearanceWhenContainedIn<PopoverContainer>().setBackgroundColor(kPopoverColor);
        window = UIApplication::sharedApplication().keyWindow();
    }
    void TearDown() override {
        UIAppearance::resetForTests();
        UIApplication::sharedApplication().resetForTests();
    }
    UIImagePtr background;
    UIWindowPtr window;
};

TEST_F(NavigationBar, TakesTheAppearanceOfItsContainerAndItsOwnValuesWin) {
    auto popover = std::make_shared<PopoverContainer>();
    auto inside = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    popover->addSubview(inside);
    auto outside = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    EXPECT_EQ(inside->backgroundColor(), std::nullopt);  // nothing applies before a window
    window->addSubview(popover);
    window->addSubview(outside);
    EXPECT_EQ(inside->backgroundColor(), kPopoverColor);
    EXPECT_EQ(outside->backgroundColor(), std::nullopt);
    EXPECT_EQ(outside->backgroundImageForBarMetrics(UIBarMetrics::Default), background);

    // Set before entering the window, or after: the bar's own value stays.
    auto ownBefore = std::make_shared<UINavigationBar>();
    ownBefore->setBackgroundColor(graphics::Color::white());
    ownBefore->setBackgroundImage(nullptr, UIBarMetrics::Default);
    auto ownAfter = std::make_shared<UINavigationBar>();
    auto popover2 = std::make_shared<PopoverContainer>();
    popover2->addSubview(ownBefore);
    popover2->addSubview(ownAfter);
    window->addSubview(popover2);
    EXPECT_EQ(ownBefore->backgroundColor(), graphics::Color::white());
    EXPECT_EQ(ownBefore->backgroundImageForBarMetrics(UIBarMetrics::Default), nullptr);
    ownAfter->setBackgroundColor(graphics::Color::clear());
    popover2->removeFromSuperview();
    window->addSubview(popover2);
    EXPECT_EQ(ownAfter->backgroundColor(), graphics::Color::clear());
    EXPECT_EQ(ownAfter->backgroundImageForBarMetrics(UIBarMetrics::Default), background);
}

TEST_F(NavigationBar, BarButtonItemsTakeTheAttributesOfTheirBarsContainers) {
    TextAttributes small{UIFont::systemFontOfSize(16), std::nullopt, std::nullopt, std::nullopt};
    UIBarButtonItem::appearanceWhenContainedIn<UINavigationBar, NavigationContainer>().setTitleTextAttributes(
        small, UIControlStateNormal);
    TextAttributes own{UIFont::boldSystemFontOfSize(12), std::nullopt, std::nullopt, std::nullopt};
    auto plain = UIBarButtonItem::withTitle("Edit", UIBarButtonItemStyle::Plain);
    auto styled = UIBarButtonItem::withTitle("Save", UIBarButtonItemStyle::Done);
    styled->setTitleTextAttributes(own, UIControlStateNormal);
    auto elsewhere = UIBarButtonItem::withTitle("Other", UIBarButtonItemStyle::Plain);

    auto item = std::make_shared<UINavigationItem>("Programme");
    item->setRightBarButtonItems({plain, styled});
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    bar->setItems({item}, false);
    auto container = std::make_shared<NavigationContainer>();
    container->addSubview(bar);
    window->addSubview(container);
    EXPECT_EQ(plain->titleTextAttributesForState(UIControlStateNormal), small);
    EXPECT_EQ(styled->titleTextAttributesForState(UIControlStateNormal), own);
    // Items that arrive later get them too; a bar outside the container gives none.
    auto later = UIBarButtonItem::withTitle("Later", UIBarButtonItemStyle::Plain);
    item->setLeftBarButtonItem(later);
    bar->pushNavigationItem(std::make_shared<UINavigationItem>("Next"), false);
    bar->popNavigationItemAnimated(false);
    bar->layoutIfNeeded();
    EXPECT_EQ(later->titleTextAttributesForState(UIControlStateNormal), small);
    auto loose = std::make_shared<UINavigationBar>();
    loose->setItems({std::make_shared<UINavigationItem>()}, false);
    loose->topItem()->setRightBarButtonItem(elsewhere);
    window->addSubview(loose);
    EXPECT_TRUE(elsewhere->titleTextAttributesForState(UIControlStateNormal).empty());
}

struct PopGuard : UINavigationBarDelegate {
    bool allow = false;
    int asked = 0;
    bool navigationBarShouldPopItem(UINavigationBar&, UINavigationItem&) override {
        ++asked;
        return allow;
    }
};

TEST_F(NavigationBar, ShowsItemsAsButtonsAndPopsThroughTheBackButton) {
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    window->addSubview(bar);
    auto first = std::make_shared<UINavigationItem>("Programme");
    auto second = std::make_shared<UINavigationItem>("Session");
    int refreshed = 0, added = 0;
    auto refresh = UIBarButtonItem::withSystemItem(UIBarButtonSystemItem::Refresh, [&](UIBarButtonItem&) { ++refreshed; });
    auto add = UIBarButtonItem::withImage(UIImage::imageNamed("add_to_agenda-white"), UIBarButtonItemStyle::Bordered,
                                          [&](UIBarButtonItem&) { ++added; });
    second->setRightBarButtonItems({refresh, add});
    bar->setItems({first, second}, true);
    EXPECT_TRUE(bar->lastChangeAnimated());
    EXPECT_EQ(bar->topItem(), second);
    EXPECT_EQ(bar->backItem(), first);
    bar->layoutIfNeeded();

    ASSERT_NE(bar->backButton(), nullptr);
    EXPECT_EQ(bar->backButton()->currentTitle(), "\xE2\x80\xB9 Programme");
    EXPECT_EQ(bar->titleLabel()->text(), "Session");
    auto refreshView = std::dynamic_pointer_cast<UIButton>(bar->viewForBarButtonItem(refresh));
    auto addView = std::dynamic_pointer_cast<UIButton>(bar->viewForBarButtonItem(add));
    ASSERT_TRUE(refreshView && addView);
    EXPECT_EQ(refreshView->superview(), bar);
    EXPECT_GT(refreshView->frame().origin.x, addView->frame().origin.x);  // the first is rightmost
    EXPECT_EQ(addView->currentImage(), add->image());
    auto plate = UIImage::imageNamed("bar-background");
    add->setBackgroundImage(plate, UIControlStateNormal, UIBarMetrics::Default);
    bar->layoutIfNeeded();
    EXPECT_EQ(addView->currentBackgroundImage(), plate);
    EXPECT_EQ(add->backgroundImageForState(UIControlStateNormal, UIBarMetrics::Compact), nullptr);
    EXPECT_TRUE(addView->tap());
    add->setEnabled(false);
    bar->layoutIfNeeded();
    EXPECT_FALSE(addView->tap());
    EXPECT_TRUE(refresh->tap());
    EXPECT_EQ(added, 1);
    EXPECT_EQ(refreshed, 1);

    // The back button asks the delegate; a refusal keeps the item.
    auto guard = std::make_shared<PopGuard>();
    bar->setDelegate(guard);
    EXPECT_TRUE(bar->tapBackButton());
    EXPECT_EQ(guard->asked, 1);
    EXPECT_EQ(bar->topItem(), second);
    guard->allow = true;
    bar->tapBackButton();
    EXPECT_EQ(bar->topItem(), first);
    bar->layoutIfNeeded();
    EXPECT_FALSE(bar->isBackButtonShown());
    EXPECT_EQ(bar->backButton()->superview(), nullptr);
    EXPECT_EQ(refreshView->superview(), nullptr);
    EXPECT_FALSE(bar->tapBackButton());

    // A back item's own back button title wins over its title; a left item hides the back button.
    first->setBackBarButtonItem(UIBarButtonItem::withTitle("Back to list", UIBarButtonItemStyle::Plain));
    bar->pushNavigationItem(second, false);
    EXPECT_EQ(bar->backButtonTitle(), "Back to list");
    second->setLeftBarButtonItem(UIBarButtonItem::withSystemItem(UIBarButtonSystemItem::Cancel));
    EXPECT_FALSE(bar->isBackButtonShown());
    second->setLeftItemsSupplementBackButton(true);
    EXPECT_TRUE(bar->isBackButtonShown());
}

TEST_F(NavigationBar, LaysOutCustomViewsTitleViewsAndALongTitleBetweenTheButtons) {
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    auto item = std::make_shared<UINavigationItem>("Short");
    auto spinner = std::make_shared<UIView>(graphics::Rect{{0, 0}, {20, 20}});
    auto busy = UIBarButtonItem::withCustomView(spinner);
    busy->setTag(10002);
    item->setRightBarButtonItem(busy, true);
    EXPECT_TRUE(item->lastChangeAnimated());
    bar->setItems({item}, false);
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->viewForBarButtonItem(busy), spinner);
    EXPECT_EQ(spinner->frame(), (graphics::Rect{{292, 12}, {20, 20}}));  // its own size, at the right margin
    auto title = bar->titleLabel();
    EXPECT_DOUBLE_EQ(title->frame().origin.x + title->frame().size.width / 2, 160);  // centred in the bar

    // A title too long for the middle stays clear of the buttons.
    item->setTitle("A session title far too long to fit between the buttons of the bar");
    item->setLeftBarButtonItem(UIBarButtonItem::withSystemItem(UIBarButtonSystemItem::Cancel));
    bar->layoutIfNeeded();
    auto cancel = bar->viewForBarButtonItem(item->leftBarButtonItem());
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<UIButton>(cancel)->currentTitle(), "Cancel");
    EXPECT_GE(title->frame().origin.x, cancel->frame().origin.x + cancel->frame().size.width);
    EXPECT_LE(title->frame().origin.x + title->frame().size.width, spinner->frame().origin.x);

    // A title view replaces the label; removing the item takes its view away.
    auto segmented = std::make_shared<UIView>(graphics::Rect{{0, 0}, {100, 29}});
    item->setTitleView(segmented);
    item->setRightBarButtonItems({});
    bar->layoutIfNeeded();
    EXPECT_EQ(segmented->superview(), bar);
    EXPECT_EQ(title->superview(), nullptr);
    EXPECT_EQ(spinner->superview(), nullptr);
    EXPECT_EQ(bar->viewForBarButtonItem(busy), nullptr);
}

// A back title too long for the bar gives way to "Back", then to the arrow
// alone; no two parts of the bar overlap.
TEST_F(NavigationBar, ShortensABackTitleThatDoesNotFitBesideTheItems) {
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    auto session = std::make_shared<UINavigationItem>("Artificial Intelligence in Practice");
    auto participant = std::make_shared<UINavigationItem>();
    participant->setRightBarButtonItems({UIBarButtonItem::withTitle("Share", UIBarButtonItemStyle::Plain),
                                         UIBarButtonItem::withTitle("Compose", UIBarButtonItemStyle::Plain)});
    bar->setItems({session, participant}, false);
    auto overlaps = [&] {
        std::vector<graphics::Rect> frames{bar->backButton()->frame()};
        for (const auto& item : participant->rightBarButtonItems())
            frames.push_back(bar->viewForBarButtonItem(item)->frame());
        if (bar->titleLabel() && bar->titleLabel()->superview()) frames.push_back(bar->titleLabel()->frame());
        for (size_t i = 0; i < frames.size(); ++i)
            for (size_t j = i + 1; j < frames.size(); ++j)
                if (frames[i].intersection(frames[j]).width() > 0) return true;
        return false;
    };
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->backButton()->currentTitle(), "\xE2\x80\xB9 Back");
    EXPECT_FALSE(overlaps());

    // With a title of its own besides, only the arrow is left room.
    participant->setTitle("Sofia Smith-Eriksson");
    bar->setNeedsLayout();
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->backButton()->currentTitle(), "\xE2\x80\xB9");
    EXPECT_FALSE(overlaps());
}

TEST(UITabBarItem, KeepsWhatTheTabBarShows) {
    auto agenda = UIImage::imageNamed("agenda_icon");
    UITabBarItem item("Agenda", agenda, 3);
    EXPECT_EQ(item.title(), "Agenda");
    EXPECT_EQ(item.tag(), 3);
    EXPECT_EQ(item.selectedImage(), agenda);  // the image unless set
    item.setBadgeValue("2");
    EXPECT_EQ(item.badgeValue(), "2");
    item.setEnabled(false);
    EXPECT_FALSE(item.isEnabled());
    auto host = std::make_shared<UIView>();
    host->layoutIfNeeded();
    item.setHostView(host);
    item.setBadgeValue(std::nullopt);
    EXPECT_TRUE(host->needsLayout());
}

}  // namespace

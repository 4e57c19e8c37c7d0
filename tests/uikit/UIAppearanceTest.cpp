// Appearance proxies: per class, per chain of containers, applied when a
// view enters a window, and never over a value set on the view itself.
#include <gtest/gtest.h>

#include "uikit/UIAppearance.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIWindow.h"

namespace {

using uikit::UIAppearance;
using uikit::UIColor;

// A bar with two appearance properties, as the navigation bar registers them.
struct Bar : uikit::UIView {
    std::optional<graphics::Color> barTint;
    std::optional<std::string> backgroundImage;
    void setBarTint(std::optional<graphics::Color> c) {
        barTint = std::move(c);
        appearancePropertyWasSet("barTint");
    }
    void setBackgroundImage(std::optional<std::string> name) {
        backgroundImage = std::move(name);
        appearancePropertyWasSet("backgroundImage");
    }
};
struct SpecialBar : Bar {};
struct Popover : uikit::UIView {};
struct Sheet : uikit::UIView {};

class Appearance : public ::testing::Test {
protected:
    void SetUp() override {
        UIAppearance::resetForTests();
        UIAppearance::appearance<Bar>().set("backgroundImage", [](Bar& b) { b.setBackgroundImage("bar_background"); });
        UIAppearance::appearanceWhenContainedIn<Bar, Popover>().set("barTint", [](Bar& b) { b.setBarTint(red); });
        UIAppearance::appearanceWhenContainedIn<Bar, Popover>().set("backgroundImage",
                                                                    [](Bar& b) { b.setBackgroundImage(std::nullopt); });
    }
    void TearDown() override { UIAppearance::resetForTests(); }

    static inline const graphics::Color red = UIColor::colorWithRed(1, 0, 0, 1);
    uikit::UIWindowPtr window = std::make_shared<uikit::UIWindow>(graphics::Rect(0, 0, 320, 480));
};

TEST_F(Appearance, TheContainersValueInsideItTheClassValueOutside) {
    auto outside = std::make_shared<SpecialBar>();
    auto inside = std::make_shared<Bar>();
    auto popover = std::make_shared<Popover>();
    auto sheet = std::make_shared<Sheet>();
    popover->addSubview(sheet);
    sheet->addSubview(inside);  // containers need not be adjacent

    window->addSubview(outside);
    window->addSubview(popover);
    EXPECT_EQ(outside->backgroundImage, "bar_background");  // a subclass takes its base's values
    EXPECT_FALSE(outside->barTint);
    EXPECT_EQ(inside->barTint, red);
    EXPECT_FALSE(inside->backgroundImage);  // the longer chain wins over the class value

    // Not before entering a window.
    auto waiting = std::make_shared<Bar>();
    popover->addSubview(waiting);
    popover->removeFromSuperview();
    auto late = std::make_shared<Bar>();
    popover->addSubview(late);
    EXPECT_FALSE(late->barTint);
    window->addSubview(popover);
    EXPECT_EQ(late->barTint, red);
}

TEST_F(Appearance, AValueSetOnTheBarWinsBeforeOrAfterEnteringTheWindow) {
    auto popover = std::make_shared<Popover>();
    auto before = std::make_shared<Bar>();
    auto after = std::make_shared<Bar>();
    const auto white = UIColor::whiteColor();
    before->setBarTint(white);
    before->setBackgroundImage("own");
    popover->addSubview(before);
    popover->addSubview(after);
    window->addSubview(popover);
    after->setBarTint(white);
    EXPECT_EQ(before->barTint, white);
    EXPECT_EQ(before->backgroundImage, "own");
    EXPECT_EQ(after->barTint, white);

    // Leaving and entering again keeps the bar's own value.
    popover->removeFromSuperview();
    window->addSubview(popover);
    EXPECT_EQ(after->barTint, white);

    // A value recorded again under the same class and chain replaces the old one.
    UIAppearance::appearanceWhenContainedIn<Bar, Popover>().set("barTint", [](Bar& b) { b.setBarTint(std::nullopt); });
    auto fresh = std::make_shared<Bar>();
    popover->addSubview(fresh);
    EXPECT_FALSE(fresh->barTint);
}

}  // namespace

#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UITabBar.h"

namespace {

// A container class the application registers bar values for.
struct BarContainer : uikit::UIView {};

TEST_F(Appearance, NavigationBarsTakeTheContainersColourOrTheClassImageButKeepTheirOwn) {
    const auto nearlyBlack = UIColor::colorWithRed(5 / 255.0, 7 / 255.0, 8 / 255.0, 1);
    auto image = uikit::UIImage::make();
    uikit::UINavigationBar::appearance().setBackgroundImage(image, uikit::UIBarMetrics::Default);
    uikit::UINavigationBar::appearanceWhenContainedIn<BarContainer>().setBackgroundColor(nearlyBlack);

    auto container = std::make_shared<BarContainer>();
    auto inside = std::make_shared<uikit::UINavigationBar>();
    auto outside = std::make_shared<uikit::UINavigationBar>();
    auto ownBefore = std::make_shared<uikit::UINavigationBar>();
    auto ownAfter = std::make_shared<uikit::UINavigationBar>();
    const auto white = UIColor::whiteColor();
    auto ownImage = uikit::UIImage::make();
    ownBefore->setBackgroundColor(white);
    ownBefore->setBackgroundImage(ownImage, uikit::UIBarMetrics::Default);
    container->addSubview(inside);
    container->addSubview(ownBefore);
    container->addSubview(ownAfter);
    window->addSubview(container);
    window->addSubview(outside);
    ownAfter->setBackgroundColor(white);

    EXPECT_EQ(inside->backgroundColor(), nearlyBlack);
    EXPECT_EQ(outside->backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), image);
    EXPECT_FALSE(outside->backgroundColor());
    EXPECT_EQ(ownBefore->backgroundColor(), white);
    EXPECT_EQ(ownBefore->backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), ownImage);
    EXPECT_EQ(ownAfter->backgroundColor(), white);
    container->removeFromSuperview();
    window->addSubview(container);
    EXPECT_EQ(ownAfter->backgroundColor(), white);
}

TEST_F(Appearance, TabBarsTakeTheClassBackgroundImageUnlessTheyHaveTheirOwn) {
    auto image = uikit::UIImage::make();
    uikit::UITabBar::appearance().setBackgroundImage(image);
    auto plain = std::make_shared<uikit::UITabBar>();
    auto own = std::make_shared<uikit::UITabBar>();
    auto ownImage = uikit::UIImage::make();
    own->setBackgroundImage(ownImage);
    EXPECT_EQ(plain->backgroundImage(), nullptr);
    window->addSubview(plain);
    window->addSubview(own);
    EXPECT_EQ(plain->backgroundImage(), image);
    EXPECT_EQ(own->backgroundImage(), ownImage);
}

}  // namespace

// Controls: actions per event, taps that disabled controls ignore, state
// fallbacks of buttons, and what the small controls send and keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIButton.h"
#include "uikit/UIDatePicker.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIPickerView.h"
#include "uikit/UIProgressView.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"
#include "uikit/UIVisualEffectView.h"

namespace {

using namespace uikit;

TEST(UIControl, ActionsRunPerEventInOrderAndCanBeRemoved) {
    auto control = std::make_shared<UIControl>(graphics::Rect{{0, 0}, {44, 44}});
    std::vector<std::string> calls;
    auto down = control->addTarget([&](UIControl&) { calls.push_back("down"); }, UIControlEventTouchDown);
    control->addTarget([&](UIControl&) { calls.push_back("up"); }, UIControlEventTouchUpInside);
    control->addTarget([&](UIControl& sender) { calls.push_back(sender.isHighlighted() ? "any, lit" : "any"); },
                       UIControlEventTouchDown | UIControlEventTouchUpInside);
    EXPECT_TRUE(control->tap());
    EXPECT_EQ(calls, (std::vector<std::string>{"down", "any, lit", "up", "any"}));
    EXPECT_FALSE(control->isHighlighted());

    calls.clear();
    control->removeTarget(down);
    control->sendActionsForControlEvents(UIControlEventTouchDown);
    EXPECT_EQ(calls, (std::vector<std::string>{"any"}));
    control->removeTargetsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(control->allControlEvents(), 0u);

    // An action that removes itself while running does not disturb the send.
    UIControl::ActionId self = 0;
    int runs = 0;
    self = control->addTarget(
        [&](UIControl& sender) {
            ++runs;
            sender.removeTarget(self);
        },
        UIControlEventValueChanged);
    control->addTarget([&](UIControl&) { ++runs; }, UIControlEventValueChanged);
    control->sendActionsForControlEvents(UIControlEventValueChanged);
    control->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(runs, 3);
}

TEST(UIButton, TapRunsTheTargetUnlessDisabledAndStatesFallBackToNormal) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    int taps = 0;
    button->addTarget([&](UIControl&) { ++taps; }, UIControlEventTouchUpInside);
    EXPECT_TRUE(button->tap());
    EXPECT_EQ(taps, 1);
    button->setEnabled(false);
    EXPECT_FALSE(button->tap());
    button->setEnabled(true);
    button->setHidden(true);
    EXPECT_FALSE(button->tap());
    button->setHidden(false);
    button->setUserInteractionEnabled(false);
    EXPECT_FALSE(button->tap());
    EXPECT_EQ(taps, 1);
    button->setUserInteractionEnabled(true);

    auto normal = UIImage::imageNamed("left_arrow"), selected = UIImage::imageNamed("left_arrow_selected");
    button->setTitle("Sign up", UIControlStateNormal);
    button->setTitle("Signed up", UIControlStateSelected);
    button->setImage(normal, UIControlStateNormal);
    button->setImage(selected, UIControlStateSelected);
    button->setTitleColor(graphics::Color::white(), UIControlStateNormal);
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), "Sign up");
    EXPECT_EQ(button->titleForState(UIControlStateDisabled), "Sign up");
    button->setSelected(true);
    EXPECT_EQ(button->currentTitle(), "Signed up");
    EXPECT_EQ(button->currentImage(), selected);
    EXPECT_EQ(button->titleLabel()->text(), "Signed up");
    EXPECT_EQ(button->titleForState(UIControlStateSelected | UIControlStateHighlighted), "Signed up");
    EXPECT_EQ(button->currentTitleColor(), graphics::Color::white());
    button->setTitle(std::nullopt, UIControlStateSelected);
    EXPECT_EQ(button->currentTitle(), "Sign up");

    // Title and image are subviews, side by side in the content alignment.
    button->setFrame({{0, 0}, {200, 44}});
    button->setContentHorizontalAlignment(UIControlContentHorizontalAlignment::Left);
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame().origin.x, 0);
    EXPECT_EQ(button->titleLabel()->frame().origin.x, 22);
    EXPECT_EQ(button->titleLabel()->superview(), button);
    // A touch on the title or the image is the button's.
    auto title = button->titleLabel()->frame();
    EXPECT_EQ(button->hitTest({title.origin.x + 2, title.origin.y + 2}), button);
    EXPECT_EQ(button->hitTest({5, 22}), button);
    auto fit = button->sizeThatFits({0, 0});
    EXPECT_DOUBLE_EQ(fit.width, std::ceil(22 + button->titleLabel()->sizeThatFits({0, 0}).width));
    // A system button's title takes the tint unless a colour is set.
    auto plain = UIButton::buttonWithType(UIButtonType::System);
    plain->setTintColor(graphics::Color::rgb(1, 0, 0));
    EXPECT_EQ(plain->currentTitleColor(), graphics::Color::rgb(1, 0, 0));
}

TEST(UISwitch, TouchUpInsideSeesTheStateTheTapLeft) {
    auto toggle = std::make_shared<UISwitch>();
    std::vector<std::pair<std::string, bool>> seen;
    toggle->addTarget([&](UIControl& sender) { seen.emplace_back("changed", static_cast<UISwitch&>(sender).isOn()); },
                      UIControlEventValueChanged);
    toggle->addTarget([&](UIControl& sender) { seen.emplace_back("up", static_cast<UISwitch&>(sender).isOn()); },
                      UIControlEventTouchUpInside);
    EXPECT_TRUE(toggle->tap());
    EXPECT_TRUE(toggle->tap());
    const std::vector<std::pair<std::string, bool>> expected{
        {"changed", true}, {"up", true}, {"changed", false}, {"up", false}};
    EXPECT_EQ(seen, expected);
}

TEST(UISwitch, ATapTurnsItOverAndSendsValueChangedOnce) {
    auto toggle = std::make_shared<UISwitch>(graphics::Rect{{10, 10}, {100, 100}});
    EXPECT_EQ(toggle->frame(), (graphics::Rect{{10, 10}, {51, 31}}));
    int changes = 0;
    bool seen = false;
    toggle->addTarget(
        [&](UIControl& sender) {
            ++changes;
            seen = static_cast<UISwitch&>(sender).isOn();
        },
        UIControlEventValueChanged);
    EXPECT_TRUE(toggle->tap());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(toggle->isOn());
    toggle->setOn(false, true);  // in code: no event
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(toggle->lastChangeAnimated());
    toggle->setEnabled(false);
    EXPECT_FALSE(toggle->tap());
    EXPECT_FALSE(toggle->isOn());
}

TEST(UISegmentedControl, SegmentsSelectionAndFitting) {
    auto segments = std::make_shared<UISegmentedControl>(
        std::vector<UISegmentedControl::Item>{std::string("All"), std::string("Mine")});
    EXPECT_EQ(segments->numberOfSegments(), 2u);
    EXPECT_EQ(segments->selectedSegmentIndex(), UISegmentedControlNoSegment);
    std::vector<int64_t> changes;
    segments->addTarget([&](UIControl& c) { changes.push_back(static_cast<UISegmentedControl&>(c).selectedSegmentIndex()); },
                        UIControlEventValueChanged);
    segments->setSelectedSegmentIndex(1);
    EXPECT_TRUE(changes.empty());
    segments->insertSegmentWithImage(UIImage::imageNamed("messages"), 0, true);
    EXPECT_TRUE(segments->lastChangeAnimated());
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);  // the selection moved with its segment
    EXPECT_NE(segments->imageForSegmentAtIndex(0), nullptr);
    EXPECT_EQ(segments->titleForSegmentAtIndex(1), "All");
    EXPECT_TRUE(segments->tapSegmentAtIndex(0));
    segments->setEnabled(false, 1);
    EXPECT_FALSE(segments->tapSegmentAtIndex(1));
    EXPECT_FALSE(segments->tapSegmentAtIndex(7));
    EXPECT_EQ(changes, (std::vector<int64_t>{0}));
    segments->removeSegmentAtIndex(0, false);
    EXPECT_FALSE(segments->lastChangeAnimated());
    EXPECT_EQ(segments->selectedSegmentIndex(), UISegmentedControlNoSegment);

    // sizeToFit grows to the widest segment times their number, never below the set frame.
    segments->setFrame({{0, 0}, {300, 40}});
    segments->sizeToFit();
    EXPECT_EQ(segments->frame().size, (graphics::Size{300, 40}));
    segments->insertSegmentWithTitle("A much longer segment title than the others", 2, false);
    segments->sizeToFit();
    EXPECT_GT(segments->frame().size.width, 300);
    EXPECT_EQ(segments->frame().size.height, 40);
    EXPECT_EQ(segments->segmentIndexAtPoint({segments->bounds().size.width - 1, 10}), 2);
    EXPECT_TRUE(segments->tapAtPoint({segments->bounds().size.width - 1, 10}));
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    EXPECT_FALSE(segments->tapAtPoint({-5, 10}));
}

TEST(SmallControls, PageProgressIndicatorAndEffect) {
    auto pages = std::make_shared<UIPageControl>();
    pages->setNumberOfPages(3);
    pages->setCurrentPage(7);
    EXPECT_EQ(pages->currentPage(), 2);
    pages->setCurrentPage(1);
    int changed = 0;
    pages->addTarget([&](UIControl&) { ++changed; }, UIControlEventValueChanged);
    pages->tap();
    pages->tap();  // already on the last page
    EXPECT_EQ(pages->currentPage(), 2);
    EXPECT_EQ(changed, 1);
    pages->setFrame({{0, 0}, {100, 37}});
    pages->tapAtPoint({10, 10});  // left of the middle: back one page
    EXPECT_EQ(pages->currentPage(), 1);
    EXPECT_EQ(changed, 2);
    pages->setNumberOfPages(1);
    EXPECT_EQ(pages->currentPage(), 0);
    EXPECT_TRUE(pages->showsIndicators());
    pages->setHidesForSinglePage(true);
    EXPECT_FALSE(pages->showsIndicators());

    UIProgressView progress;
    progress.setProgress(1.5, true);
    EXPECT_DOUBLE_EQ(progress.progress(), 1);
    EXPECT_TRUE(progress.lastChangeAnimated());

    UIActivityIndicatorView spinner(UIActivityIndicatorViewStyle::Gray);
    EXPECT_EQ(spinner.color(), graphics::Color::gray(0.5));
    EXPECT_TRUE(spinner.isHidden());
    spinner.startAnimating();
    EXPECT_TRUE(spinner.isAnimating());
    EXPECT_FALSE(spinner.isHidden());
    spinner.setHidesWhenStopped(false);
    spinner.stopAnimating();
    EXPECT_FALSE(spinner.isHidden());
    EXPECT_EQ(UIActivityIndicatorView(UIActivityIndicatorViewStyle::WhiteLarge).frame().size, (graphics::Size{37, 37}));

    auto blur = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light),
                                                     graphics::Rect{{0, 0}, {100, 50}});
    EXPECT_EQ(blur->effect()->style(), UIBlurEffectStyle::Light);
    EXPECT_EQ(blur->contentView()->superview(), blur);
    EXPECT_EQ(blur->contentView()->frame(), blur->bounds());
}

struct Days : UIPickerViewDataSource, UIPickerViewDelegate {
    int64_t rows = 3;
    std::vector<std::pair<int64_t, int64_t>> selected;
    int64_t numberOfComponentsInPickerView(UIPickerView&) override { return 1; }
    int64_t numberOfRowsInComponent(UIPickerView&, int64_t) override { return rows; }
    std::optional<std::string> titleForRow(UIPickerView&, int64_t row, int64_t) override {
        return "Day " + std::to_string(row + 1);
    }
    void didSelectRow(UIPickerView&, int64_t row, int64_t component) override { selected.emplace_back(row, component); }
};

TEST(UIPickerView, RowsFromTheDataSourceAndChoicesToTheDelegate) {
    auto days = std::make_shared<Days>();
    UIPickerView picker;
    picker.setDelegate(days);
    picker.setDataSource(days);
    EXPECT_EQ(picker.numberOfRowsInComponent(0), 3);
    EXPECT_EQ(picker.selectedRowInComponent(0), 0);
    EXPECT_EQ(picker.titleForRow(2, 0), "Day 3");
    picker.selectRow(2, 0, true);
    EXPECT_TRUE(days->selected.empty());  // selecting in code tells nobody
    EXPECT_EQ(picker.selectedRowInComponent(0), 2);
    EXPECT_TRUE(picker.chooseRow(1, 0));
    EXPECT_FALSE(picker.chooseRow(5, 0));
    EXPECT_EQ(days->selected, (std::vector<std::pair<int64_t, int64_t>>{{1, 0}}));
    days->rows = 0;
    picker.reloadAllComponents();
    EXPECT_EQ(picker.selectedRowInComponent(0), -1);
    EXPECT_EQ(picker.selectedRowInComponent(4), -1);
}

TEST(DateAndSlider, ValuesStayInRangeAndPeopleSendValueChanged) {
    auto picker = std::make_shared<UIDatePicker>();
    picker->setDatePickerMode(UIDatePickerMode::Date);
    picker->setMinimumDate(foundation::Date(1000));
    picker->setMaximumDate(foundation::Date(2000));
    picker->setDate(foundation::Date(5000));
    EXPECT_EQ(picker->date(), foundation::Date(2000));
    int changes = 0;
    picker->addTarget([&](UIControl&) { ++changes; }, UIControlEventValueChanged);
    EXPECT_TRUE(picker->chooseDate(foundation::Date(1500)));
    EXPECT_EQ(picker->date(), foundation::Date(1500));
    EXPECT_EQ(changes, 1);

    auto slider = std::make_shared<UISlider>();
    std::vector<std::string> events;
    slider->addTarget([&](UIControl& s) { events.push_back("changed " + std::to_string(static_cast<UISlider&>(s).value())); },
                      UIControlEventValueChanged);
    slider->addTarget([&](UIControl&) { events.push_back("released"); }, UIControlEventTouchUpInside);
    slider->setValue(3);
    EXPECT_DOUBLE_EQ(slider->value(), 1);
    slider->slideToValue(0.25);
    slider->setContinuous(false);
    slider->slideToValue(0.5);
    slider->releaseAtValue(0.75);
    EXPECT_EQ(events, (std::vector<std::string>{"changed 0.250000", "changed 0.750000", "released"}));
    slider->setFrame({{0, 0}, {200, 31}});
    slider->setMaximumValue(4);
    EXPECT_TRUE(slider->tapAtPoint({50, 10}));
    EXPECT_DOUBLE_EQ(slider->value(), 1);
    auto track = UIImage::imageNamed("bar-background")->resizableImageWithCapInsets({11, 20, 11, 20});
    slider->setMinimumTrackImage(track, UIControlStateNormal);
    EXPECT_EQ(slider->minimumTrackImageForState(UIControlStateHighlighted), track);
}

}  // namespace

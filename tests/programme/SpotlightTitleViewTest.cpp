// The home screen's title block: what shows on each device, the bottom-up
// stack, the name's fitting and the message over the block.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/ScreenTest.h"
#include "Utils/Utils.h"
#include "programme/SpotlightTitleView.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"

namespace {

using Text = std::optional<std::string>;

class SpotlightTitleViewTest : public ScreenTest {
protected:
    // A phone header's block, inset by 15 on each side.
    inline static const graphics::Rect kPhoneBlock{15, 15, 345, 200};

    std::shared_ptr<SpotlightTitleView> make(const Text& name, const Text& description, const Text& location,
                                             const Text& period, const Text& message = std::nullopt,
                                             graphics::Rect frame = kPhoneBlock) {
        return SpotlightTitleView::initWithFrame(frame, name, description, location, period, message);
    }

    static bool hasTextView(const uikit::UIView& view) {
        for (const auto& subview : view.subviews())
            if (std::dynamic_pointer_cast<uikit::UITextView>(subview)) return true;
        return false;
    }
};

TEST_F(SpotlightTitleViewTest, OnThePhoneTheDescriptionNeverShowsAndANameAloneSitsAtTheBottom) {
    auto view = make("Annual Meeting", "A long description", std::nullopt, std::nullopt);
    EXPECT_TRUE(view->meetingDescriptionLabel()->isHidden());
    EXPECT_TRUE(view->nameDescrSeparatorView()->isHidden());
    EXPECT_TRUE(view->descriptionPeriodSeparatorView()->isHidden());
    EXPECT_TRUE(view->meetingPeriodLabel()->isHidden());
    EXPECT_TRUE(view->meetingLocationLabel()->isHidden());
    const auto name = view->meetingNameLabel()->frame();
    const double textHeight = Utils::getMeasuredSizeOfLabel(*view->meetingNameLabel()).height;
    // The stack's height (text + 7) ends at the bottom of the 200-point group.
    EXPECT_EQ(name.origin.y, std::trunc(200 - std::trunc(textHeight + 7)));
    EXPECT_EQ(name.size.height, textHeight + 4);
    EXPECT_EQ(view->meetingNameLabel()->font()->fontName(), "HelveticaNeue-Medium");
    EXPECT_EQ(view->meetingNameLabel()->font()->pointSize(), 28);
    EXPECT_FALSE(hasTextView(*view));  // without a message
}

TEST_F(SpotlightTitleViewTest, OnThePadTheDescriptionShowsBetweenTheSeparators) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPad());
    auto view = make("Annual Meeting", "Shaping the future", "Geneva", "10-12 March",
                     std::nullopt, graphics::Rect{15, 15, 738, 260});
    EXPECT_EQ(view->labelGroupView()->frame().size.width, 520);
    EXPECT_FALSE(view->meetingDescriptionLabel()->isHidden());
    EXPECT_FALSE(view->nameDescrSeparatorView()->isHidden());
    EXPECT_EQ(view->meetingNameLabel()->font()->pointSize(), 52);
    EXPECT_EQ(view->meetingDescriptionLabel()->font()->fontName(), "HelveticaNeue-Light");
    // In order from the top: name, separator, description, separator, period, location.
    const double name = view->meetingNameLabel()->frame().origin.y;
    const double first = view->nameDescrSeparatorView()->frame().origin.y;
    const double description = view->meetingDescriptionLabel()->frame().origin.y;
    const double second = view->descriptionPeriodSeparatorView()->frame().origin.y;
    const double period = view->meetingPeriodLabel()->frame().origin.y;
    const auto location = view->meetingLocationLabel()->frame();
    EXPECT_LT(name, first);
    EXPECT_LT(first, description);
    EXPECT_LT(description, second);
    EXPECT_EQ(period, second + 4);
    EXPECT_LT(period, location.origin.y);
    // The last text's label ends 3 points above the group's bottom (its +7 step less its +4 label).
    EXPECT_EQ(location.origin.y + location.size.height + 3, 260);
}

TEST_F(SpotlightTitleViewTest, SecondSeparatorShowsWithEitherPeriodOrLocation) {
    auto view = make("Annual Meeting", std::nullopt, "Geneva", "");
    EXPECT_FALSE(view->descriptionPeriodSeparatorView()->isHidden());
    EXPECT_TRUE(view->meetingPeriodLabel()->isHidden());
    EXPECT_FALSE(view->meetingLocationLabel()->isHidden());
    EXPECT_EQ(view->meetingLocationLabel()->text(), Text("Geneva"));
    EXPECT_EQ(view->meetingLocationLabel()->frame().origin.y, view->descriptionPeriodSeparatorView()->frame().origin.y + 4);

    auto periodOnly = make("Annual Meeting", std::nullopt, std::nullopt, "10-12 March");
    EXPECT_FALSE(periodOnly->descriptionPeriodSeparatorView()->isHidden());
    EXPECT_TRUE(periodOnly->meetingLocationLabel()->isHidden());

    auto neither = make("Annual Meeting", std::nullopt, "", "");
    EXPECT_TRUE(neither->descriptionPeriodSeparatorView()->isHidden());
}

TEST_F(SpotlightTitleViewTest, ALongNameOnASmallPhoneIsFittedWithinSixtyFivePoints) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone4());
    const std::string name = "International Conference on Sustainable Development Finance";
    auto view = make(name, std::nullopt, "Geneva", "10-12 March", std::nullopt, graphics::Rect{15, 15, 290, 200});
    auto label = view->meetingNameLabel();
    const int size = static_cast<int>(label->font()->pointSize());
    EXPECT_LT(size, 28);
    auto heightAt = [&](int s) {
        return Utils::getMeasuredSizeOfLabelWithText(name, uikit::UIFont::fontWithName("HelveticaNeue-Medium", s), 290)
            .height;
    };
    // The largest size that fits, counting the label's 4 extra points.
    EXPECT_LE(heightAt(size) + 4, 65);
    EXPECT_GT(heightAt(size + 1) + 4, 65);
    EXPECT_EQ(view->sizeOfFontForLabel(*label, name, 65, 52), size);

    // A name that fits nowhere is set at 10; a maximum below 11 gives 10 too.
    std::string huge;
    for (int i = 0; i < 40; ++i) huge += name + " ";
    EXPECT_EQ(view->sizeOfFontForLabel(*label, huge, 65, 52), 10);
    EXPECT_EQ(view->sizeOfFontForLabel(*label, "A", 65, 9), 10);

    // On a taller phone the limit is 105, so the same name keeps a larger size.
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone5());
    auto taller = make(name, std::nullopt, "Geneva", "10-12 March", std::nullopt, graphics::Rect{15, 15, 290, 200});
    EXPECT_GT(taller->meetingNameLabel()->font()->pointSize(), size);
}

TEST_F(SpotlightTitleViewTest, RepeatedRefreshesKeepTheSeparatorsWhereTheFirstPutThem) {
    auto view = make("Annual Meeting", std::nullopt, "Geneva", "10-12 March");
    for (int i = 0; i < 3; ++i) view->refreshLabels();
    const auto separator = view->descriptionPeriodSeparatorView()->frame();
    EXPECT_EQ(separator.origin.x, -15);
    EXPECT_EQ(separator.size.width, 345 + 100);
    EXPECT_EQ(separator.size.height, 1);
    // The labels do not move either.
    const auto period = view->meetingPeriodLabel()->frame();
    view->refreshLabels();
    EXPECT_EQ(view->meetingPeriodLabel()->frame(), period);
}

TEST_F(SpotlightTitleViewTest, TheMessageLiesOverTheBlockAsDarkLinkedText) {
    const std::string message = "Shuttle times changed: see https://example.org/shuttles";
    auto view = make("Annual Meeting", std::nullopt, "Geneva", "10-12 March", message);
    ASSERT_TRUE(hasTextView(*view));
    auto text = std::dynamic_pointer_cast<uikit::UITextView>(view->subviews().back());
    ASSERT_NE(text, nullptr);  // above the labels
    EXPECT_EQ(view->importantMessageTextView(), nullptr);
    EXPECT_EQ(text->text(), message);
    EXPECT_FALSE(text->isEditable());
    EXPECT_FALSE(text->isScrollEnabled());
    EXPECT_TRUE(text->dataDetectorTypes() & uikit::UIDataDetectorTypeLink);
    EXPECT_EQ(text->frame().origin.x, -15);
    EXPECT_EQ(text->frame().size.width, 345 + 30);
    const auto font = uikit::UIFont::systemFontOfSize(14);
    EXPECT_EQ(text->frame().size.height, SpotlightTitleView::heightNededForImportantTextViewWidth(375, font, message));
    EXPECT_EQ(SpotlightTitleView::heightNededForImportantTextViewWidth(375, font, message),
              static_cast<int>(Utils::getMeasuredSizeOfLabelWithText(message, font, 355).height + 20));
}

}  // namespace

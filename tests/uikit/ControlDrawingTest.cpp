// What the text and image views draw: lines placed by alignment, resizable
// images keeping their caps, template images in the tint, bars and fields
// showing what they hold, date pickers their value, tab icons their ink.
#include <gtest/gtest.h>

#include "foundation/TimeZone.h"
#include "graphics/RecordingContext.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIDatePicker.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITabBar.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UITextField.h"

namespace {

using namespace uikit;
using Kind = graphics::RecordedOperation::Kind;

TEST(ControlDrawing, LabelsPlaceTheirLinesByAlignmentCentredVertically) {
    UILabel label({{0, 0}, {300, 100}});
    label.setText("Left\nRight");
    label.setNumberOfLines(0);
    label.setTextColor(graphics::Color::rgb(0, 0, 1));
    label.setTextAlignment(NSTextAlignment::Right);
    graphics::RecordingContext context;
    label.display(context);
    auto texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 2u);
    const auto& font = label.font();
    double line = font->ascender() + font->descender();
    double top = (100 - 2 * line) / 2;
    EXPECT_DOUBLE_EQ(texts[0].start.y, top + font->ascender());
    EXPECT_DOUBLE_EQ(texts[1].start.y, top + line + font->ascender());
    auto lines = label.visibleLines();
    EXPECT_DOUBLE_EQ(texts[1].start.x, 300 - lines[1].width);
    EXPECT_EQ(texts[0].color, graphics::Color::rgb(0, 0, 1));

    label.setTextAlignment(NSTextAlignment::Center);
    label.setHighlightedTextColor(graphics::Color::white());
    label.setHighlighted(true);
    context.clear();
    label.display(context);
    texts = context.operationsOfKind(Kind::DrawText);
    EXPECT_DOUBLE_EQ(texts[0].start.x, (300 - lines[0].width) / 2);
    EXPECT_EQ(texts[0].color, graphics::Color::white());

    // A cancelled session's title: the run's colour, struck through.
    auto grey = graphics::Color::gray(0.5);
    label.setHighlighted(false);
    label.setAttributedText(NSAttributedString::make("Cancelled", {nullptr, grey, std::nullopt, NSUnderlineStyleSingle}));
    context.clear();
    label.display(context);
    texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].color, grey);
    auto fills = context.operationsOfKind(Kind::FillPath);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, grey);
    EXPECT_LT(fills[0].path.boundingBox().maxY(), texts[0].start.y);
    NSParagraphStyle centred;
    centred.setAlignment(NSTextAlignment::Center);
    label.setTextAlignment(NSTextAlignment::Left);
    label.setAttributedText(NSAttributedString::make("Mid", {nullptr, std::nullopt, centred, std::nullopt}));
    context.clear();
    label.display(context);
    texts = context.operationsOfKind(Kind::DrawText);
    EXPECT_DOUBLE_EQ(texts[0].start.x, (300 - label.visibleLines()[0].width) / 2);
}

TEST(ControlDrawing, ResizableImagesKeepTheirCapsAndStretchTheRest) {
    auto field = UIImage::imageNamed("textbox_background");  // 30 × 28 at scale 1
    ASSERT_NE(field, nullptr);
    ASSERT_DOUBLE_EQ(field->scale(), 1);
    graphics::RecordingContext context;
    field->resizableImageWithCapInsets({0, 6, 0, 0}, UIImageResizingMode::Stretch)
        ->drawInContext(context, {{10, 0}, {100, 28}});
    auto images = context.operationsOfKind(Kind::DrawImage);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].rect, (graphics::Rect{{10, 0}, {6, 28}}));
    EXPECT_EQ(images[0].imageSize, (graphics::Size{6, 28}));
    EXPECT_EQ(images[1].rect, (graphics::Rect{{16, 0}, {94, 28}}));
    EXPECT_EQ(images[1].imageSize, (graphics::Size{24, 28}));

    // Tiling (the default): the middle repeats at its own size, clipped to its room.
    context.clear();
    field->resizableImageWithCapInsets({0, 6, 0, 0})->drawInContext(context, {{10, 0}, {100, 28}});
    images = context.operationsOfKind(Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u + 4u);  // 94 points of 24-point tiles
    EXPECT_EQ(images[4].rect, (graphics::Rect{{16 + 3 * 24, 0}, {24, 28}}));
    auto clips = context.operationsOfKind(Kind::ClipToPath);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].path.boundingBox(), (graphics::Rect{{16, 0}, {94, 28}}));

    // Four caps: nine pieces, the corners at their own size.
    context.clear();
    field->resizableImageWithCapInsets({5, 5, 5, 5}, UIImageResizingMode::Stretch)->drawInContext(context, {{0, 0}, {60, 60}});
    images = context.operationsOfKind(Kind::DrawImage);
    ASSERT_EQ(images.size(), 9u);
    EXPECT_EQ(images[8].rect, (graphics::Rect{{55, 55}, {5, 5}}));
    EXPECT_EQ(images[4].rect, (graphics::Rect{{5, 5}, {50, 50}}));
}

TEST(ControlDrawing, TemplateImagesShowInTheTint) {
    auto tint = graphics::Color::rgb(1, 0, 0);
    auto view = std::make_shared<UIImageView>(UIImage::imageNamed("note")->imageWithRenderingMode(
        UIImageRenderingMode::AlwaysTemplate));
    view->setTintColor(tint);
    UIGraphicsBeginImageContextWithOptions(view->bounds().size, false, 1);
    view->display(*UIGraphicsGetCurrentContext());
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    // The mark shows in the tint and the clear ground stays clear: an icon
    // is not a tinted square.
    int red = 0, other = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 22; ++x) {
            const auto pixel = image->bitmap()->pixel(x, y);
            if (pixel.alpha < 128) continue;
            // The mark's edges are smoothed, so its colour is the tint's, not only its inner pixels.
            (pixel.red >= 200 && pixel.green == 0 && pixel.blue == 0 ? red : other) += 1;
        }
    EXPECT_GT(red, 10);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(image->bitmap()->pixel(0, 0).alpha, 0);
}

// The chosen value, in its mode's form, on the band in the middle.
TEST(ControlDrawing, DatePickersShowTheirValueInTheirMode) {
    UIDatePicker picker({{0, 0}, {320, UIDatePicker::kHeight}});
    picker.setTimeZone(foundation::TimeZone::withName("Europe/Zurich"));
    picker.setDate(foundation::Date(803'287'800));  // 2026-06-16 07:30 UTC
    picker.setDatePickerMode(UIDatePickerMode::Time);
    graphics::RecordingContext context;
    picker.display(context);
    auto texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "9:30 AM");
    EXPECT_EQ(picker.screenDumpDetail(), "mode=time value=\"9:30 AM\"");
    picker.setDatePickerMode(UIDatePickerMode::Date);
    context.clear();
    picker.display(context);
    texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "June 16, 2026");
}

// Tab icons show in the tab's ink: a disabled tab's fainter than an enabled one's.
TEST(ControlDrawing, TabIconsShowInTheTabsInkADisabledOneDimmer) {
    auto tabBar = std::make_shared<UITabBar>(graphics::Rect{{0, 0}, {320, 49}});
    tabBar->setBackgroundColor(graphics::Color::black());
    auto enabled = std::make_shared<UITabBarItem>();
    enabled->setImage(UIImage::imageNamed("tab_sessions.png"));
    auto disabled = std::make_shared<UITabBarItem>();
    disabled->setImage(UIImage::imageNamed("tab_messages.png"));
    disabled->setEnabled(false);
    tabBar->setItems({enabled, disabled}, false);
    UIGraphicsBeginImageContextWithOptions(tabBar->bounds().size, false, 1);
    renderView(*tabBar, *UIGraphicsGetCurrentContext());
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    auto brightest = [&](double left, double right) {
        int most = 0;
        for (int y = 3; y < 33; ++y)
            for (int x = int(left); x < int(right); ++x) most = std::max<int>(most, image->bitmap()->pixel(x, y).green);
        return most;
    };
    const int enabledInk = brightest(0, 160), disabledInk = brightest(160, 320);
    EXPECT_GT(enabledInk, 60);
    EXPECT_GT(disabledInk, 0);
    EXPECT_LT(disabledInk, enabledInk);
}

// A segmented control in a dark bar under a white tint: the selected segment
// is filled white, so its title and glyph must not be white too.
TEST(ControlDrawing, TheSelectedSegmentsContentStandsOutFromItsFill) {
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    bar->setBarTintColor(graphics::Color::rgb(0.1, 0.12, 0.16));
    bar->setTintColor(graphics::Color::white());
    auto glyph = UIImage::imageNamed("note")->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
    auto control = std::make_shared<UISegmentedControl>(std::vector<UISegmentedControl::Item>{"Programme", glyph});
    bar->pushNavigationItem(std::make_shared<UINavigationItem>(), false);
    bar->topItem()->setTitleView(control);
    bar->layoutIfNeeded();
    auto inkInSegment = [&](size_t index) {
        control->setSelectedSegmentIndex(static_cast<int64_t>(index));
        UIGraphicsBeginImageContextWithOptions(bar->bounds().size, false, 1);
        renderView(*bar, *UIGraphicsGetCurrentContext());
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        // Inside the segment's border, the pixels that are not the white fill.
        auto frame = control->frame();
        double width = frame.size.width / 2, left = frame.origin.x + width * double(index);
        int ink = 0;
        for (int y = int(frame.origin.y) + 3; y < int(frame.origin.y + frame.size.height) - 3; ++y)
            for (int x = int(left) + 3; x < int(left + width) - 3; ++x) {
                auto p = image->bitmap()->pixel(x, y);
                ink += (255 - p.red) + (255 - p.green) + (255 - p.blue) > 300 ? 1 : 0;
            }
        return ink;
    };
    EXPECT_GT(inkInSegment(0), 20);  // the title
    EXPECT_GT(inkInSegment(1), 10);  // the template glyph
}

TEST(ControlDrawing, BarsAndFieldsShowWhatTheyHold) {
    auto bar = std::make_shared<UINavigationBar>(graphics::Rect{{0, 0}, {320, 44}});
    auto background = UIImage::imageNamed("iOS7_navigation_bar_background");
    bar->setBackgroundImage(background, UIBarMetrics::Default);
    graphics::RecordingContext context;
    bar->display(context);
    auto images = context.operationsOfKind(Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, bar->bounds());
    EXPECT_EQ(context.operationsOfKind(Kind::FillPath).size(), 1u);  // the hairline
    // Empty images, as screens set for a see-through bar: nothing is drawn.
    bar->setBackgroundImage(UIImage::make(), UIBarMetrics::Default);
    bar->setShadowImage(UIImage::make());
    bar->setBackgroundColor(graphics::Color::clear());
    context.clear();
    bar->display(context);
    EXPECT_TRUE(context.operationsOfKind(Kind::DrawImage).empty());
    EXPECT_EQ(context.operationsOfKind(Kind::FillPath).size(), 1u);  // the clear background only

    // A tab bar's background image replaces its stock fill; the hairline stays.
    auto tabBar = std::make_shared<UITabBar>(graphics::Rect{{0, 0}, {320, 49}});
    tabBar->setBackgroundImage(background);
    context.clear();
    tabBar->display(context);
    images = context.operationsOfKind(Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, tabBar->bounds());
    EXPECT_EQ(context.operationsOfKind(Kind::FillPath).size(), 1u);

    UITextField field({{0, 0}, {200, 30}});
    auto blue = graphics::Color::rgb(64 / 255.0, 158 / 255.0, 210 / 255.0);
    field.setAttributedPlaceholder(
        NSAttributedString::make("Search", {UIFont::fontWithName("HelveticaNeue-Light", 14), blue, std::nullopt, std::nullopt}));
    context.clear();
    field.display(context);
    auto texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Search");
    EXPECT_EQ(texts[0].color, blue);
    EXPECT_EQ(texts[0].font->name(), "HelveticaNeue-Light");
    field.setSecureTextEntry(true);
    field.setText("abc");
    context.clear();
    field.display(context);
    texts = context.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2");
    EXPECT_EQ(texts[0].color, graphics::Color::black());
}

}  // namespace

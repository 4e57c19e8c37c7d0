// Fonts, attributed strings and text measuring: what labels, cells and
// screens compute their heights from, the same on every run.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Exception.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIApplication.h"
#include "uikit/UILabel.h"
#include "uikit/UIWindow.h"

namespace {

using namespace uikit;

TEST(UIFont, KnownNamesMakeFontsAndUnknownOnesNone) {
    EXPECT_EQ(UIFont::fontWithName("NoSuchFace", 12), nullptr);
    auto light = UIFont::fontWithName("HelveticaNeue-Light", 22);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->fontName(), "HelveticaNeue-Light");
    EXPECT_DOUBLE_EQ(light->pointSize(), 22);
    EXPECT_GT(light->lineHeight(), 22);
    EXPECT_TRUE(sameFont(light->fontWithSize(22), light));
    EXPECT_FALSE(sameFont(light->fontWithSize(14), light));
    auto system = UIFont::systemFontOfSize(16);
    auto bold = UIFont::boldSystemFontOfSize(16);
    ASSERT_TRUE(system && bold);
    EXPECT_NE(system->fontName(), bold->fontName());
}

TEST(NSAttributedString, RunsCoverTheTextAndMergeWhereEqual) {
    auto font = UIFont::fontWithName("HelveticaNeue", 14);
    TextAttributes red{font, graphics::Color::rgb(1, 0, 0), std::nullopt, std::nullopt};
    auto text = NSAttributedString::make("Status\n", red);
    text->appendString("Long message", {font, graphics::Color::gray(170.0 / 255), std::nullopt, std::nullopt});
    ASSERT_EQ(text->runs().size(), 2u);
    EXPECT_EQ(text->length(), 19u);

    // Strikethrough over the whole text keeps each run's colour.
    text->addAttributes({nullptr, std::nullopt, std::nullopt, NSUnderlineStyleSingle}, {0, text->length()});
    NSRange range;
    const auto& first = text->attributesAtIndex(3, &range);
    EXPECT_EQ(range, (NSRange{0, 7}));
    EXPECT_EQ(first.strikethroughStyle, NSUnderlineStyleSingle);
    EXPECT_EQ(first.foregroundColor, graphics::Color::rgb(1, 0, 0));

    // Setting equal attributes joins the runs again.
    text->setAttributes(red, {0, text->length()});
    EXPECT_EQ(text->runs().size(), 1u);
    // Ranges count UTF-16 units: "é" is one, "😀" two.
    auto accented = NSAttributedString::make("é😀");
    EXPECT_EQ(accented->length(), 3u);
    EXPECT_THROW(accented->addAttributes(red, {2, 2}), foundation::Exception);
    EXPECT_THROW(text->attributesAtIndex(19), foundation::Exception);
}

TEST(NSStringDrawing, BoundingRectsFollowTheOptions) {
    TextAttributes attributes{UIFont::systemFontOfSize(14), std::nullopt, std::nullopt, std::nullopt};
    std::string text = "A sentence long enough to wrap over several lines at a narrow width";
    auto oneLine = NSStringDrawing::boundingRectWithSize(text, {100, 1000}, 0, attributes);
    auto wrapped = NSStringDrawing::boundingRectWithSize(text, {100, 1000}, NSStringDrawingUsesLineFragmentOrigin,
                                                         attributes);
    double line = oneLine.size.height;
    EXPECT_GT(oneLine.size.width, 100);  // one line ignores the width
    EXPECT_LE(wrapped.size.width, 100);
    EXPECT_GT(wrapped.size.height, 2 * line);
    // Truncating keeps the lines that fit the height, at least one.
    auto truncated = NSStringDrawing::boundingRectWithSize(
        text, {100, line * 2.5}, NSStringDrawingUsesLineFragmentOrigin | NSStringDrawingTruncatesLastVisibleLine,
        attributes);
    EXPECT_DOUBLE_EQ(truncated.size.height, 2 * line);
    auto tiny = NSStringDrawing::boundingRectWithSize(
        text, {100, 1}, NSStringDrawingUsesLineFragmentOrigin | NSStringDrawingTruncatesLastVisibleLine, attributes);
    EXPECT_DOUBLE_EQ(tiny.size.height, line);
    // Line breaks count with line fragments; an empty text needs no room.
    auto twoParagraphs = NSStringDrawing::boundingRectWithSize("a\n\nb", {100, 1000},
                                                               NSStringDrawingUsesLineFragmentOrigin, attributes);
    EXPECT_DOUBLE_EQ(twoParagraphs.size.height, 3 * line);
    EXPECT_EQ(NSStringDrawing::boundingRectWithSize("", {100, 100}, NSStringDrawingUsesLineFragmentOrigin, attributes),
              graphics::Rect());

    // Attributed text is set in the largest font of each paragraph.
    NSAttributedString mixed("small ", {UIFont::systemFontOfSize(10), std::nullopt, std::nullopt, std::nullopt});
    mixed.appendString("BIG", {UIFont::systemFontOfSize(30), std::nullopt, std::nullopt, std::nullopt});
    mixed.appendString("\nsmall", {UIFont::systemFontOfSize(10), std::nullopt, std::nullopt, std::nullopt});
    auto rect = NSStringDrawing::boundingRectWithSize(mixed, {1000, 1000}, NSStringDrawingUsesLineFragmentOrigin);
    auto big = UIFont::systemFontOfSize(30), small = UIFont::systemFontOfSize(10);
    EXPECT_DOUBLE_EQ(rect.size.height, big->ascender() + big->descender() + small->ascender() + small->descender());
}

TEST(UILabel, SizesToFitThroughTheMeasurerTheSameOnEveryRun) {
    std::string text = "Sessions of the afternoon programme";
    auto heightFor = [](const std::string& t) {
        UILabel label({{0, 0}, {100, 20}});
        label.setNumberOfLines(0);
        label.setText(t);
        return label.sizeThatFits({100, 0});
    };
    auto once = heightFor(text);
    auto twice = heightFor(text + " " + text);
    EXPECT_GT(twice.height, once.height);
    EXPECT_LE(twice.width, 100);
    EXPECT_EQ(heightFor(text), once);

    // One line by default: no wrapping at any width; a line limit caps the height.
    UILabel single;
    single.setText(text + " " + text);
    EXPECT_GT(single.sizeThatFits({100, 0}).width, 100);
    UILabel limited;
    limited.setNumberOfLines(2);
    limited.setText(text + " " + text + " " + text);
    EXPECT_DOUBLE_EQ(limited.sizeThatFits({100, 0}).height, std::ceil(2 * limited.font()->lineHeight()));
    // The preferred maximum layout width applies when no width is given.
    UILabel preferred;
    preferred.setNumberOfLines(0);
    preferred.setPreferredMaxLayoutWidth(100);
    preferred.setText(text + " " + text);
    EXPECT_EQ(preferred.sizeThatFits({0, 0}), twice);
}

TEST(UILabel, TextStateAndShrinkingFont) {
    auto label = std::make_shared<UILabel>(graphics::Rect{{0, 0}, {60, 20}});
    EXPECT_FALSE(label->isUserInteractionEnabled());
    EXPECT_EQ(label->text(), std::nullopt);
    label->setAttributedText(NSAttributedString::make("Cancelled"));
    EXPECT_EQ(label->text(), "Cancelled");
    label->setText("Plain");
    EXPECT_EQ(label->attributedText(), nullptr);

    label->setTextColor(graphics::Color::gray(0.2));
    label->setHighlightedTextColor(graphics::Color::black());
    EXPECT_EQ(label->currentTextColor(), graphics::Color::gray(0.2));
    label->setHighlighted(true);
    EXPECT_EQ(label->currentTextColor(), graphics::Color::black());

    label->setText("A title far too wide for sixty points");
    EXPECT_TRUE(sameFont(label->effectiveFont(), label->font()));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.5);
    EXPECT_DOUBLE_EQ(label->effectiveFont()->pointSize(), label->font()->pointSize() * 0.5);
    label->setText("Fits");
    EXPECT_TRUE(sameFont(label->effectiveFont(), label->font()));
}

TEST(UILabel, HighlightedColourComesFromTheAppearanceUnlessSetOnTheLabel) {
    UIAppearance::resetForTests();
    UILabel::appearance().setHighlightedTextColor(graphics::Color::black());
    auto window = UIApplication::sharedApplication().keyWindow();
    auto plain = std::make_shared<UILabel>();
    auto own = std::make_shared<UILabel>();
    own->setHighlightedTextColor(graphics::Color::white());
    window->addSubview(plain);
    window->addSubview(own);
    EXPECT_EQ(plain->highlightedTextColor(), graphics::Color::black());
    EXPECT_EQ(own->highlightedTextColor(), graphics::Color::white());
    UIAppearance::resetForTests();
    UIApplication::sharedApplication().resetForTests();
}

}  // namespace

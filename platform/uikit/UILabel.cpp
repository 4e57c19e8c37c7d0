#include "uikit/UILabel.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/TextMeasurer.h"

namespace uikit {

UILabel::UILabel(const graphics::Rect& frame) : UIView(frame), font_(UIFont::systemFontOfSize(UIFont::kDefaultFontSize)) {
    setUserInteractionEnabled(false);
    // As on the platform: a label draws its text again when its size changes.
    setContentMode(UIViewContentMode::Redraw);
}

std::optional<std::string> UILabel::text() const {
    if (attributedText_) return attributedText_->string();
    return text_;
}

void UILabel::setText(std::optional<std::string> text) {
    text_ = std::move(text);
    attributedText_.reset();
    changed();
}

void UILabel::setAttributedText(NSAttributedStringPtr text) {
    attributedText_ = std::move(text);
    text_ = attributedText_ ? std::optional<std::string>(attributedText_->string()) : std::nullopt;
    changed();
}

void UILabel::setFont(UIFontPtr font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(UIFont::kDefaultFontSize);
    changed();
}

void UILabel::setTextColor(std::optional<graphics::Color> color) {
    textColor_ = color.value_or(graphics::Color::black());
    setNeedsDisplay();
}

void UILabel::setHighlightedTextColor(std::optional<graphics::Color> color) {
    appearancePropertyWasSet(kHighlightedTextColorKey);
    highlightedTextColor_ = std::move(color);
    setNeedsDisplay();
}

void UILabel::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void UILabel::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

graphics::Color UILabel::currentTextColor() const {
    if (highlighted_ && highlightedTextColor_) return *highlightedTextColor_;
    if (!enabled_) return textColor_.withAlpha(textColor_.alpha() * 0.5);
    return textColor_;
}

void UILabel::setNumberOfLines(size_t lines) {
    numberOfLines_ = lines;
    changed();
}

void UILabel::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

void UILabel::setLineBreakMode(NSLineBreakMode mode) {
    lineBreakMode_ = mode;
    changed();
}

void UILabel::setPreferredMaxLayoutWidth(double width) {
    preferredMaxLayoutWidth_ = width;
    changed();
}

void UILabel::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjustsFontSizeToFitWidth_ = adjusts;
    changed();
}

void UILabel::setMinimumScaleFactor(double factor) {
    minimumScaleFactor_ = factor;
    changed();
}

UIFontPtr UILabel::effectiveFont() const {
    if (!adjustsFontSizeToFitWidth_ || numberOfLines_ != 1 || attributedText_ || !text_) return font_;
    double available = bounds().size.width;
    double needed = graphics::TextMeasurer::width(font_->font(), *text_);
    if (available <= 0 || needed <= available) return font_;
    double factor = std::max(available / needed, std::min(minimumScaleFactor_, 1.0));
    return font_->fontWithSize(font_->pointSize() * factor);
}

std::vector<NSStringDrawing::Line> UILabel::layOut(double width, const UIFontPtr& font) const {
    // A single line never breaks; more lines wrap whatever the mode, which
    // only says how the last line is cut.
    double wrapWidth = numberOfLines_ == 1 ? 0 : width;
    if (attributedText_) return NSStringDrawing::layOut(*attributedText_, wrapWidth, numberOfLines_);
    if (!text_) return {};
    return NSStringDrawing::layOut(*text_, font, wrapWidth, numberOfLines_);
}

std::vector<NSStringDrawing::Line> UILabel::visibleLines() const {
    return layOut(bounds().size.width, effectiveFont());
}

graphics::Size UILabel::sizeThatFits(graphics::Size size) const {
    double width = size.width > 0 ? size.width : preferredMaxLayoutWidth_;
    auto fitted = NSStringDrawing::sizeOfLines(layOut(width, font_));
    return {std::ceil(fitted.width), std::ceil(fitted.height)};
}

void UILabel::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    auto lines = visibleLines();
    // Lines sit centred vertically, as the platform's labels do.
    double height = NSStringDrawing::sizeOfLines(lines).height;
    graphics::Rect area = rect;
    area.origin.y += std::max(0.0, (rect.size.height - height) / 2);
    graphics::Color color = currentTextColor();
    NSTextAlignment alignment = textAlignment_;
    if (!attributedText_ || attributedText_->runs().empty()) {
        NSStringDrawing::drawLines(*context, lines, area, alignment, color);
        return;
    }
    // Attributed text: each run in its own colour, unless highlighted, and
    // strikethrough; a paragraph without a style of its own placed by the
    // first run's.
    if (const auto& style = attributedText_->runs().front().attributes.paragraphStyle) alignment = style->alignment();
    const bool highlightedColour = highlighted_ && highlightedTextColor_;
    NSStringDrawing::drawAttributedLines(*context, *attributedText_, lines, area, alignment, color, !highlightedColour);
}

void UILabel::changed() {
    setNeedsDisplay();
    setNeedsLayout();
}

}  // namespace uikit

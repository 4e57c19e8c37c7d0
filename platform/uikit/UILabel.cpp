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

namespace {

// Where each run starts, as a byte offset into the UTF-8 string (runs count
// UTF-16 units).
std::vector<size_t> runByteStarts(const NSAttributedString& text) {
    const std::string& s = text.string();
    std::vector<size_t> starts;
    size_t byte = 0, units = 0;
    for (const auto& run : text.runs()) {
        while (byte < s.size() && units < run.range.location) {
            auto lead = static_cast<unsigned char>(s[byte]);
            size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            units += length == 4 ? 2 : 1;
            byte = std::min(s.size(), byte + length);
        }
        starts.push_back(byte);
    }
    return starts;
}

}  // namespace

void UILabel::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    auto lines = visibleLines();
    // Lines sit centred vertically, as the platform's labels do.
    double height = NSStringDrawing::sizeOfLines(lines).height;
    graphics::Rect area = rect;
    area.origin.y += std::max(0.0, (rect.size.height - height) / 2);
    graphics::Color color = currentTextColor();
    const bool highlightedColour = highlighted_ && highlightedTextColor_;
    NSTextAlignment alignment = textAlignment_;
    if (!attributedText_ || attributedText_->runs().empty()) {
        NSStringDrawing::drawLines(*context, lines, area, alignment, color);
        return;
    }
    // Attributed text: each run in its own colour and strikethrough, the
    // paragraph placed by the first run's alignment.
    const auto& runs = attributedText_->runs();
    if (const auto& style = runs.front().attributes.paragraphStyle) alignment = style->alignment();
    const std::string& whole = attributedText_->string();
    const std::vector<size_t> starts = runByteStarts(*attributedText_);
    size_t cursor = 0;
    double y = area.origin.y;
    for (const auto& line : lines) {
        if (y >= area.origin.y + area.size.height) break;
        double x = area.origin.x;
        if (alignment == NSTextAlignment::Center) x += (area.size.width - line.width) / 2;
        else if (alignment == NSTextAlignment::Right) x += area.size.width - line.width;
        size_t at = line.text.empty() ? std::string::npos : whole.find(line.text, cursor);
        for (size_t i = 0; i < runs.size(); ++i) {
            size_t runStart = starts[i], runEnd = i + 1 < starts.size() ? starts[i + 1] : whole.size();
            // A line that is not a piece of the text (a truncated one) takes the first run's look.
            size_t from = at == std::string::npos ? 0 : std::max(at, runStart);
            size_t to = at == std::string::npos ? line.text.size() : std::min(at + line.text.size(), runEnd);
            if (at != std::string::npos && from >= to) continue;
            std::string piece = at == std::string::npos ? line.text : whole.substr(from, to - from);
            const auto& attributes = runs[i].attributes;
            graphics::Color ink =
                attributes.foregroundColor && !highlightedColour ? *attributes.foregroundColor : color;
            NSStringDrawing::Line segment{piece, graphics::TextMeasurer::width(line.font->font(), piece), line.font,
                                          line.height};
            NSStringDrawing::drawLines(*context, {segment}, {{x, y}, {segment.width + 1, line.height}},
                                       NSTextAlignment::Left, ink, attributes.strikethroughStyle.value_or(0) != 0);
            x += segment.width;
            if (at == std::string::npos) break;
        }
        if (at != std::string::npos) cursor = at + line.text.size();
        y += line.height;
    }
}

void UILabel::changed() {
    setNeedsDisplay();
    setNeedsLayout();
}

}  // namespace uikit

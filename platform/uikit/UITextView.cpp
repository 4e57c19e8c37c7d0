#include "uikit/UITextView.h"

#include <algorithm>
#include <cmath>

#include "foundation/MainThreadChecker.h"
#include "foundation/StringUtils.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UITextField.h"

namespace uikit {

namespace StringUtils = foundation::StringUtils;

UITextView::UITextView(const graphics::Rect& frame) : UIView(frame), font_(NSStringDrawing::defaultFont()) {}

void UITextView::setText(std::string text) {
    text_ = std::move(text);
    attributedText_.reset();
    selectedRange_.reset();
    setNeedsDisplay();
}

NSRange UITextView::selectedRange() const {
    const size_t length = foundation::StringUtils::length16(text_);
    if (!selectedRange_) return {length, 0};
    const size_t location = std::min(selectedRange_->location, length);
    return {location, std::min(selectedRange_->length, length - location)};
}

void UITextView::setSelectedRange(NSRange range) { selectedRange_ = range; }

void UITextView::setAttributedText(NSAttributedStringPtr text) {
    attributedText_ = std::move(text);
    text_ = attributedText_ ? attributedText_->string() : std::string();
    setNeedsDisplay();
}

void UITextView::setFont(UIFontPtr font) {
    font_ = font ? std::move(font) : NSStringDrawing::defaultFont();
    setNeedsDisplay();
}

void UITextView::setTextColor(std::optional<graphics::Color> color) {
    textColor_ = color.value_or(graphics::Color::black());
    setNeedsDisplay();
}

void UITextView::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

void UITextView::setEditable(bool editable) {
    editable_ = editable;
    if (!editable && isFirstResponder()) resignFirstResponder();
}

void UITextView::setDataDetectorTypes(UIDataDetectorTypes types) {
    dataDetectorTypes_ = types;
    setNeedsDisplay();
}

bool UITextView::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    if (auto delegate = delegate_.lock(); delegate && !delegate->textViewShouldBeginEditing(*this)) return false;
    return UIView::becomeFirstResponder();
}

void UITextView::didBecomeFirstResponder() {
    editing_ = true;
    if (auto delegate = delegate_.lock()) delegate->textViewDidBeginEditing(*this);
    UIKeyboard::show();
}

void UITextView::didResignFirstResponder() {
    editing_ = false;
    if (auto delegate = delegate_.lock()) delegate->textViewDidEndEditing(*this);
    UIKeyboard::hide();
}

bool UITextView::replaceCharactersInRange(NSRange range, const std::string& replacement) {
    foundation::requireMainThread("UITextView must be used from the main thread only");
    size_t length = StringUtils::length16(text_);
    if (range.location > length || range.length > length - range.location) return false;
    if (auto delegate = delegate_.lock(); delegate && !delegate->textViewShouldChangeTextInRange(*this, range, replacement))
        return false;
    size_t from = StringUtils::utf8Offset(text_, range.location);
    size_t to = StringUtils::utf8Offset(text_, range.location + range.length);
    text_ = text_.substr(0, from) + replacement + text_.substr(to);
    attributedText_.reset();
    setNeedsDisplay();
    if (auto delegate = delegate_.lock()) delegate->textViewDidChange(*this);
    return true;
}

bool UITextView::typeText(const std::string& text) {
    if (isHidden() || !isUserInteractionEnabled() || !becomeFirstResponder()) return false;
    for (const auto& character : splitCharacters(text))
        replaceCharactersInRange({StringUtils::length16(text_), 0}, character);
    return true;
}

bool UITextView::deleteBackward() {
    if (!editing_ || text_.empty()) return false;
    auto characters = splitCharacters(text_);
    size_t last = StringUtils::length16(characters.back());
    return replaceCharactersInRange({StringUtils::length16(text_) - last, last}, std::string());
}

graphics::Size UITextView::sizeThatFits(graphics::Size size) const {
    double padding = 2 * kLineFragmentPadding + kTextContainerInset.left + kTextContainerInset.right;
    double width = size.width > padding ? size.width - padding : 0;
    auto lines = attributedText_ ? NSStringDrawing::layOut(*attributedText_, width)
                                 : NSStringDrawing::layOut(text_, font_, width);
    auto text = NSStringDrawing::sizeOfLines(lines);
    // An empty view still holds one line.
    double height = std::max(text.height, font_->lineHeight());
    double fittedWidth = size.width > 0 ? size.width : text.width + padding;
    return {std::ceil(fittedWidth), std::ceil(height + kTextContainerInset.top + kTextContainerInset.bottom)};
}

void UITextView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    double inset = kLineFragmentPadding + kTextContainerInset.left;
    graphics::Rect area{{rect.origin.x + inset, rect.origin.y + kTextContainerInset.top},
                        {rect.size.width - 2 * inset, rect.size.height - kTextContainerInset.top}};
    auto lines = attributedText_ ? NSStringDrawing::layOut(*attributedText_, area.size.width)
                                 : NSStringDrawing::layOut(text_, font_, area.size.width);
    NSStringDrawing::drawLines(*context, lines, area, textAlignment_, textColor_);
}

}  // namespace uikit

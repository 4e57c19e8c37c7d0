#include "uikit/UITextField.h"

#include <cmath>

#include "foundation/MainThreadChecker.h"
#include "graphics/MutablePath.h"
#include "graphics/StrokeStyle.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIKeyboard.h"

namespace uikit {

namespace StringUtils = foundation::StringUtils;

std::vector<std::string> splitCharacters(const std::string& text) {
    std::vector<std::string> characters;
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        length = std::min(length, text.size() - i);
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

UITextField::UITextField(const graphics::Rect& frame)
    : UIControl(frame), font_(UIFont::systemFontOfSize(UIFont::kDefaultFontSize)) {}

void UITextField::setText(std::optional<std::string> text) {
    text_ = text ? std::move(text) : std::string();
    setNeedsDisplay();
}

std::optional<std::string> UITextField::placeholder() const {
    if (attributedPlaceholder_) return attributedPlaceholder_->string();
    return placeholder_;
}

void UITextField::setPlaceholder(std::optional<std::string> placeholder) {
    placeholder_ = std::move(placeholder);
    attributedPlaceholder_.reset();
    setNeedsDisplay();
}

void UITextField::setAttributedPlaceholder(NSAttributedStringPtr placeholder) {
    attributedPlaceholder_ = std::move(placeholder);
    placeholder_ = attributedPlaceholder_ ? std::optional<std::string>(attributedPlaceholder_->string()) : std::nullopt;
    setNeedsDisplay();
}

void UITextField::setFont(UIFontPtr font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(UIFont::kDefaultFontSize);
    setNeedsDisplay();
}

void UITextField::setTextColor(std::optional<graphics::Color> color) {
    textColor_ = color.value_or(graphics::Color::black());
    setNeedsDisplay();
}

void UITextField::setTextAlignment(NSTextAlignment alignment) {
    textAlignment_ = alignment;
    setNeedsDisplay();
}

void UITextField::setSecureTextEntry(bool secure) {
    secure_ = secure;
    setNeedsDisplay();
}

void UITextField::setBorderStyle(UITextBorderStyle style) {
    borderStyle_ = style;
    setNeedsDisplay();
}

bool UITextField::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    if (auto delegate = delegate_.lock(); delegate && !delegate->textFieldShouldBeginEditing(*this)) return false;
    return UIControl::becomeFirstResponder();
}

void UITextField::didBecomeFirstResponder() {
    editing_ = true;
    if (auto delegate = delegate_.lock()) delegate->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    UIKeyboard::show();
}

void UITextField::didResignFirstResponder() {
    editing_ = false;
    if (auto delegate = delegate_.lock()) delegate->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(UIControlEventEditingDidEnd);
    UIKeyboard::hide();
}

bool UITextField::replaceCharactersInRange(NSRange range, const std::string& replacement) {
    foundation::requireMainThread("UITextField must be used from the main thread only");
    std::string current = text_.value_or(std::string());
    size_t length = StringUtils::length16(current);
    if (range.location > length || range.length > length - range.location) return false;
    if (auto delegate = delegate_.lock();
        delegate && !delegate->textFieldShouldChangeCharactersInRange(*this, range, replacement))
        return false;
    size_t from = StringUtils::utf8Offset(current, range.location);
    size_t to = StringUtils::utf8Offset(current, range.location + range.length);
    text_ = current.substr(0, from) + replacement + current.substr(to);
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventEditingChanged);
    return true;
}

bool UITextField::typeText(const std::string& text) {
    if (!acceptsTouches() || !becomeFirstResponder()) return false;
    for (const auto& character : splitCharacters(text)) {
        size_t end = StringUtils::length16(text_.value_or(std::string()));
        replaceCharactersInRange({end, 0}, character);
    }
    return true;
}

bool UITextField::deleteBackward() {
    if (!editing_) return false;
    std::string current = text_.value_or(std::string());
    if (current.empty()) return false;
    auto characters = splitCharacters(current);
    size_t last = StringUtils::length16(characters.back());
    size_t length = StringUtils::length16(current);
    return replaceCharactersInRange({length - last, last}, std::string());
}

bool UITextField::pressReturn() {
    if (!editing_) return false;
    auto self = weak_from_this().lock();
    bool shouldReturn = true;
    if (auto delegate = delegate_.lock()) shouldReturn = delegate->textFieldShouldReturn(*this);
    sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
    return shouldReturn;
}

std::string UITextField::displayText() const {
    if (text_ && !text_->empty()) {
        if (!secure_) return *text_;
        std::string dots;
        for (size_t i = 0, n = splitCharacters(*text_).size(); i < n; ++i) dots += "\xE2\x80\xA2";  // "•"
        return dots;
    }
    return placeholder().value_or(std::string());
}

graphics::Size UITextField::sizeThatFits(graphics::Size) const {
    auto size = NSStringDrawing::sizeOfLines(NSStringDrawing::layOut(displayText(), font_, 0, 1));
    double padding = borderStyle_ == UITextBorderStyle::None ? 0 : 14;
    return {std::ceil(size.width + padding), std::ceil(std::max(size.height, font_->lineHeight()) + padding / 2)};
}

void UITextField::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    if (borderStyle_ != UITextBorderStyle::None) {
        graphics::MutablePath border;
        border.addRect(rect.insetBy(0.5, 0.5));
        if (borderStyle_ == UITextBorderStyle::RoundedRect) context->fillPath(border, graphics::Color::white());
        graphics::StrokeStyle stroke;
        stroke.color = graphics::Color::gray(borderStyle_ == UITextBorderStyle::Line ? 0 : 0.8);
        context->strokePath(border, stroke);
    }
    bool showingText = text_ && !text_->empty();
    graphics::Color color = textColor_;
    UIFontPtr font = font_;
    if (!showingText) {
        color = graphics::Color::gray(0.7);
        if (attributedPlaceholder_ && attributedPlaceholder_->length() > 0) {
            const auto& attributes = attributedPlaceholder_->attributesAtIndex(0);
            if (attributes.foregroundColor) color = *attributes.foregroundColor;
            if (attributes.font) font = attributes.font;
        }
    }
    auto lines = NSStringDrawing::layOut(displayText(), font, 0, 1);
    double inset = borderStyle_ == UITextBorderStyle::None ? 0 : 7;
    double height = NSStringDrawing::sizeOfLines(lines).height;
    graphics::Rect area{{rect.origin.x + inset, rect.origin.y + (rect.size.height - height) / 2},
                        {rect.size.width - 2 * inset, height}};
    NSStringDrawing::drawLines(*context, lines, area, textAlignment_, color);
}

}  // namespace uikit

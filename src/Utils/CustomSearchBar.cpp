#include "Utils/CustomSearchBar.h"

#include "uikit/NSAttributedString.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UITextField.h"

namespace {

constexpr const char* kPlaceholderFontName = "HelveticaNeue-Light";
constexpr double kPlaceholderFontSize = 14;

// The application's title colour.
graphics::Color placeholderColor() { return uikit::UIColor::colorWithRed(64.0 / 255, 158.0 / 255, 210.0 / 255, 1); }

}  // namespace

CustomSearchBar::CustomSearchBar(const graphics::Rect& frame) : uikit::UISearchBar(frame) {}

void CustomSearchBar::awakeFromNib() {
    uikit::UISearchBar::awakeFromNib();
    if (auto field = textField()) field->setAutocorrectionType(uikit::UITextAutocorrectionType::No);
    setupAppearance();
}

void CustomSearchBar::setPlaceholder(std::optional<std::string> placeholder) {
    uikit::UISearchBar::setPlaceholder(std::move(placeholder));
    setupAppearance();
}

std::shared_ptr<uikit::UITextField> CustomSearchBar::textField() const {
    attachParts();
    if (subviews().empty()) return nullptr;
    for (const auto& view : subviews().front()->subviews())
        if (auto field = std::dynamic_pointer_cast<uikit::UITextField>(view)) return field;
    return nullptr;
}

void CustomSearchBar::setupAppearance() {
    auto field = textField();
    if (!field) return;
    auto placeholder = field->placeholder();
    if (!placeholder || placeholder->empty()) return;
    uikit::TextAttributes attributes;
    attributes.foregroundColor = placeholderColor();
    attributes.font = uikit::UIFont::fontWithName(kPlaceholderFontName, kPlaceholderFontSize);
    auto styled = uikit::NSAttributedString::make(*placeholder);
    styled->addAttributes(attributes, {0, styled->length()});
    field->setAttributedPlaceholder(styled);
}

// The declaration scanner. It walks the UTF-8 bytes up to the first zero
// byte, as the floor-plan files have always been read; names and values grow
// as needed, so no length of input is out of bounds.
#include "svg/css/CSSStyleDeclaration.h"

#include "foundation/Format.h"
#include "foundation/StringUtils.h"
#include "svg/css/CSSPrimitiveValue.h"

namespace svg {

void CSSStyleDeclaration::setCssText(const std::string& text) {
    cssText_ = text;
    styles_.clear();
    std::string name, current;
    // The zero byte that ends the text ends the last declaration too.
    for (size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : '\0';
        switch (c) {
            case ' ':
            case '\t':
            case '\n':
                break;
            case ':':
                name = std::move(current);
                current.clear();
                break;
            case ';':
            case '\0': {
                // An empty value stores nothing and leaves the name for the next declaration.
                if (!current.empty()) {
                    auto value = std::make_shared<CSSPrimitiveValue>();
                    value->setCssText(current);
                    styles_[foundation::StringUtils::trim(name)] = std::move(value);
                    name.clear();
                    current.clear();
                }
                if (c == '\0') return;
                break;
            }
            default:
                current += c;
        }
    }
}

std::shared_ptr<CSSValue> CSSStyleDeclaration::getPropertyCSSValue(const std::string& name) const {
    auto at = styles_.find(name);
    return at == styles_.end() ? nullptr : at->second;
}

std::optional<std::string> CSSStyleDeclaration::getPropertyValue(const std::string& name) const {
    auto value = getPropertyCSSValue(name);
    if (!value) return std::nullopt;
    return value->cssText();
}

std::optional<std::string> CSSStyleDeclaration::removeProperty(const std::string& name) {
    auto entry = styles_.extract(name);
    if (!entry) return std::nullopt;
    return entry.mapped()->cssText();
}

std::string CSSStyleDeclaration::item(size_t index) const {
    if (index >= styles_.size()) return "";
    return std::next(styles_.begin(), long(index))->first;
}

std::string CSSStyleDeclaration::description() const {
    foundation::Value::Dictionary styles;
    for (const auto& [name, value] : styles_) styles[name] = foundation::Value(value);
    return foundation::Format("CSSStyleDeclaration: dictionary(%@)", foundation::Value(std::move(styles)));
}

}  // namespace svg

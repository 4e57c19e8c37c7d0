// A declaration block: property name to value. Setting the text replaces the
// whole block with the parse of it. The parse is deliberately small: blanks,
// tabs and line feeds are dropped everywhere (a value written with spaces is
// stored without them), ":" ends a name, ";" or the end ends a declaration,
// and every value becomes a primitive value keeping its text as written.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace svg {

class CSSRule;
class CSSValue;

class CSSStyleDeclaration : public foundation::Object {
public:
    using Dictionary = std::map<std::string, std::shared_ptr<CSSValue>>;

    // The text last parsed.
    const std::string& cssText() const { return cssText_; }
    void setCssText(const std::string& text);

    const Dictionary& internalDictionaryOfStylesByCSSClass() const { return styles_; }

    std::shared_ptr<CSSValue> getPropertyCSSValue(const std::string& name) const;
    // The value's text exactly as parsed.
    std::optional<std::string> getPropertyValue(const std::string& name) const;
    // Answers the removed value's text.
    std::optional<std::string> removeProperty(const std::string& name);

    // Declared by the DOM; the library keeps no priorities, sets no property
    // this way and never counts declarations through `length`.
    std::optional<std::string> getPropertyPriority(const std::string& /*name*/) const { return std::nullopt; }
    void setProperty(const std::string& /*name*/, const std::string& /*value*/, const std::string& /*priority*/) {}
    unsigned long length() const { return 0; }
    // The name at that position, names in ascending order; "" past the end.
    std::string item(size_t index) const;
    std::shared_ptr<CSSRule> parentRule() const { return nullptr; }

    std::string className() const override { return "CSSStyleDeclaration"; }
    std::string description() const override;

private:
    std::string cssText_;
    Dictionary styles_;
};

}  // namespace svg

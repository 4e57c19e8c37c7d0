// Any text given as a style sheet or a declaration block gives rules and
// declarations without a sanitizer report; what the declaration scanner
// stores never holds the blanks it drops, every stored value reads back, and
// every primitive value converts to every unit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "svg/css/CSSPrimitiveValue.h"
#include "svg/css/CSSRuleList.h"
#include "svg/css/CSSStyleRule.h"
#include "svg/css/CSSStyleSheet.h"
#include "svg/css/CSSValueList.h"

using namespace svg;

namespace {

void checkDeclaration(const CSSStyleDeclaration& style) {
    for (const auto& [name, value] : style.internalDictionaryOfStylesByCSSClass()) {
        const std::string& text = value->cssText();
        if (text.empty() || text.find_first_of(" \t\n") != std::string::npos) std::abort();
        if (style.getPropertyValue(name) != text) std::abort();
        auto primitive = std::static_pointer_cast<CSSPrimitiveValue>(value);
        for (int unit = CSS_UNKNOWN; unit <= CSS_STRING; ++unit) {
            (void)primitive->getFloatValue(static_cast<CSSPrimitiveType>(unit));
        }
    }
    (void)style.description();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);

    CSSStyleSheet sheet(text);
    for (const auto& rule : sheet.cssRules()->internalArray()) {
        checkDeclaration(*std::static_pointer_cast<CSSStyleRule>(rule)->style());
    }
    (void)sheet.cssRules()->description();
    if (sheet.insertRule(text, 0) == 0) sheet.deleteRule(0);

    CSSStyleDeclaration style;
    style.setCssText(text);
    checkDeclaration(style);

    CSSPrimitiveValue value;
    value.setPixelsPerInch(326);
    value.setCssText(text);
    if (value.cssText() != text) std::abort();
    if (value.primitiveType() == CSS_STRING && value.getStringValue() != text) std::abort();
    for (int unit = CSS_UNKNOWN; unit <= CSS_STRING; ++unit)
        (void)value.getFloatValue(static_cast<CSSPrimitiveType>(unit));
    return 0;
}

// Style-sheet text to rules. Comments are removed one by one, from each "/*"
// to the nearest "*/" after it, so rules between two comments survive; an
// unclosed comment is left as text.
#include "svg/css/CSSStyleSheet.h"

#include "foundation/Exception.h"
#include "foundation/StringUtils.h"
#include "svg/css/CSSRuleList.h"
#include "svg/css/CSSStyleRule.h"

namespace svg {

namespace {

std::string withoutComments(std::string_view text) {
    std::string out;
    size_t from = 0;
    while (true) {
        size_t open = text.find("/*", from);
        size_t close = open == std::string_view::npos ? open : text.find("*/", open + 2);
        if (close == std::string_view::npos) break;
        out.append(text.substr(from, open - from));
        from = close + 2;
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace

CSSStyleSheet::CSSStyleSheet(std::string_view text) : cssRules_(std::make_shared<CSSRuleList>()) {
    for (const auto& piece : foundation::StringUtils::split(withoutComments(text), "}")) {
        // A lone character, such as the line end after the last rule, is no rule.
        if (foundation::StringUtils::length16(piece) >= 2) insertRule(piece, cssRules_->length());
    }
}

int64_t CSSStyleSheet::insertRule(std::string_view rule, size_t index) {
    auto& rules = cssRules_->internalArray();
    if (index > rules.size()) foundation::raise(foundation::kRangeException, "insertRule: index beyond bounds");
    auto parts = foundation::StringUtils::split(foundation::StringUtils::trim(rule), "{");
    if (parts.size() < 2) return -1;
    // The first character is the class selector's dot; anything after the
    // name, a blank before the brace included, stays and then matches no class.
    const std::string& selector = parts[0];
    std::string selectorText = selector.empty() ? ""
                                                : foundation::StringUtils::substring16(
                                                      selector, 1, foundation::StringUtils::length16(selector));
    rules.insert(rules.begin() + long(index), std::make_shared<CSSStyleRule>(std::move(selectorText), parts[1]));
    return int64_t(index);
}

void CSSStyleSheet::deleteRule(size_t index) {
    auto& rules = cssRules_->internalArray();
    if (index >= rules.size()) foundation::raise(foundation::kRangeException, "deleteRule: index beyond bounds");
    rules.erase(rules.begin() + long(index));
}

}  // namespace svg

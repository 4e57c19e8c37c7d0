// How the floor-plan steps read their attributes: a value counts only when it
// is non-empty, and is taken as written.
#pragma once

#include <optional>
#include <string>

#include "svg/dom/Element.h"

namespace svg {

inline std::optional<std::string> givenAttribute(const Element& element, const std::string& name) {
    std::string value = element.getAttribute(name);
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace svg

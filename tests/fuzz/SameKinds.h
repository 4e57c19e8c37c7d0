// Whether two values that compare equal also hold the same kinds all through:
// Value's equality takes 1 and 1.0 for the same number, a JSON reader must not.
// Meant after an equality check, which has already matched the sizes.
#pragma once

#include "foundation/Value.h"

inline bool sameKinds(const foundation::Value& a, const foundation::Value& b) {
    if (a.type() != b.type()) return false;
    if (a.isArray()) {
        for (size_t i = 0; i < a.count(); ++i) {
            if (!sameKinds(a.at(i), b.at(i))) return false;
        }
    } else if (a.isDictionary()) {
        for (const auto& [key, item] : *a.dictionary()) {
            if (!sameKinds(item, b[key])) return false;
        }
    }
    return true;
}

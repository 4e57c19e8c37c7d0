// Insets of a rectangle's four sides, in points: an image's caps, a view's
// content insets.
#pragma once

#include "graphics/Geometry.h"

namespace uikit {

struct UIEdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero{};

// The rectangle with the insets taken off its sides.
inline graphics::Rect UIEdgeInsetsInsetRect(const graphics::Rect& rect, const UIEdgeInsets& insets) {
    return {{rect.origin.x + insets.left, rect.origin.y + insets.top},
            {rect.size.width - insets.left - insets.right, rect.size.height - insets.top - insets.bottom}};
}

}  // namespace uikit

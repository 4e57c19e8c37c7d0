// A horizontal and vertical shift, in points (a text position adjustment).
#pragma once

namespace uikit {

struct UIOffset {
    double horizontal = 0;
    double vertical = 0;
    bool operator==(const UIOffset&) const = default;
};

inline constexpr UIOffset UIOffsetZero{};

}  // namespace uikit

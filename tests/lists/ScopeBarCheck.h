// What a person sees of a search's scope bar on a screen the app shows: a
// tap at the middle of each segment, where the bar draws it, must select
// that scope (nothing else on the screen may lie over it).
#pragma once

#include <cstdint>
#include <vector>

#include "uikit/ScreenDriver.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISegmentedControl.h"

namespace scopebarcheck {

// The scopes that a tap at their segment's middle did not select, tapped
// from the first to the last (a search starts on the last).
inline std::vector<int64_t> scopesMissedByATap(uikit::ScreenDriver& driver, uikit::UISearchBar& bar) {
    std::vector<int64_t> missed;
    const auto count = static_cast<int64_t>(bar.scopeButtonTitles().size());
    const auto& scopes = bar.scopeBar();
    const bool shown = bar.showsScopeBar() && scopes && !scopes->isHidden() && scopes->window();
    const graphics::Rect bounds = shown ? scopes->bounds() : graphics::Rect{};
    for (int64_t index = 0; index < count; ++index) {
        if (shown) {
            const graphics::Point middle{
                bounds.origin.x + (static_cast<double>(index) + 0.5) * bounds.size.width / static_cast<double>(count),
                bounds.midY()};
            driver.tapAt(scopes->convertPointToView(middle, nullptr));
            driver.settle();
        }
        if (!shown || bar.selectedScopeButtonIndex() != index) missed.push_back(index);
    }
    return missed;
}

}  // namespace scopebarcheck

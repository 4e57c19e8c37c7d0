// The highlighted text colour of labels as a property of its own name, so
// that it can be set for all labels inside some containers through the
// label's appearance proxy (table cells set it for the labels they hold).
#pragma once

#include <optional>

#include "graphics/Color.h"
#include "uikit/UIAppearance.h"

namespace uikit {
class UILabel;
}

namespace UILabelExtension {

// The appearance key the property registers under.
inline constexpr const char* kCustomHighlightedTextColorKey = "customHighlightedTextColor";

// Sets the label's highlighted text colour; set on the label itself, it wins
// over any proxy value.
void setCustomHighlightedTextColor(uikit::UILabel& label, std::optional<graphics::Color> color);
std::optional<graphics::Color> customHighlightedTextColor(const uikit::UILabel& label);
// Records the colour on a label proxy, e.g.
// UIAppearance::appearanceWhenContainedIn<UILabel, UITableViewCell>().
void setCustomHighlightedTextColor(const uikit::UIAppearance::Proxy<uikit::UILabel>& proxy,
                                   std::optional<graphics::Color> color);

}  // namespace UILabelExtension

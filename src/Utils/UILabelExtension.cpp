#include "Utils/UILabelExtension.h"

#include "uikit/UILabel.h"

namespace UILabelExtension {

void setCustomHighlightedTextColor(uikit::UILabel& label, std::optional<graphics::Color> color) {
    label.appearancePropertyWasSet(kCustomHighlightedTextColorKey);
    label.setHighlightedTextColor(std::move(color));
}

std::optional<graphics::Color> customHighlightedTextColor(const uikit::UILabel& label) {
    return label.highlightedTextColor();
}

void setCustomHighlightedTextColor(const uikit::UIAppearance::Proxy<uikit::UILabel>& proxy,
                                   std::optional<graphics::Color> color) {
    proxy.set(kCustomHighlightedTextColorKey,
              [color](uikit::UILabel& label) { setCustomHighlightedTextColor(label, color); });
}

}  // namespace UILabelExtension

// The search bar of the lists and the home screen: its placeholder takes the
// application's title colour in the 14 pt light font, and it never corrects
// what a person types (when made from an interface file).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UISearchBar.h"

namespace uikit {
class UITextField;
}

class CustomSearchBar : public uikit::UISearchBar {
public:
    explicit CustomSearchBar(const graphics::Rect& frame = {});

    // Autocorrection off, then the placeholder's look.
    void awakeFromNib() override;
    // The base's, then the placeholder's look.
    void setPlaceholder(std::optional<std::string> placeholder) override;
    // The first text field among the subviews of the bar's first subview
    // (its container); null when there is none.
    std::shared_ptr<uikit::UITextField> textField() const;
    // A placeholder that is not empty is shown in the title colour and the
    // light font over its whole length; an empty one is left as it is.
    void setupAppearance();

    std::string className() const override { return "CustomSearchBar"; }
};

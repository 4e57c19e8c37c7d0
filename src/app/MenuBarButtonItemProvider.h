// What the split view's delegate offers when the master hides in portrait:
// the "Menu" bar button from which the menu popover opens.
#pragma once

#include <memory>

namespace uikit {
class UIBarButtonItem;
}

class MenuBarButtonItemProvider {
public:
    virtual ~MenuBarButtonItemProvider() = default;
    // None while the master is shown.
    virtual std::shared_ptr<uikit::UIBarButtonItem> menuBarButtonItem() const = 0;
};

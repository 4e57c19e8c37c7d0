// What the application's stack of alerts and action sheets knows of each
// thing on it: its kind, texts, buttons and accessory views, and the two ways
// it leaves the screen — a dismissal in code, which tells its delegate it will
// go and has gone, and a person's tap, which first tells it which button was
// clicked. The command-line front, the screen dump and tests read entries
// through this interface and answer them by button index or title.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace uikit {

class UIView;

class AlertStackEntry {
public:
    enum class Kind { Alert, ActionSheet };
    using Text = std::optional<std::string>;

    virtual ~AlertStackEntry() = default;

    virtual Kind kind() const = 0;
    virtual const Text& title() const = 0;
    // An action sheet has none.
    virtual const Text& message() const = 0;
    virtual int64_t numberOfButtons() const = 0;
    // Nothing for an index without button.
    virtual Text buttonTitleAtIndex(int64_t index) const = 0;
    // -1 when there is no such button.
    virtual int64_t cancelButtonIndex() const = 0;
    virtual int64_t destructiveButtonIndex() const { return -1; }
    // Views shown inside it, such as a progress spinner, with their frames.
    virtual std::vector<std::shared_ptr<UIView>> accessoryViews() const { return {}; }

    virtual bool isVisible() const = 0;
    // Leaves the screen as if tapped, without the clicked callback; nothing
    // when it is not on screen.
    virtual void dismissWithClickedButtonIndex(int64_t buttonIndex, bool animated) = 0;
    // A person's tap on the button: the clicked callback, then the dismissal.
    // Nothing when it is not on screen or the index has no button.
    virtual void tapButtonAtIndex(int64_t buttonIndex) = 0;

    // The index of the first button with that title, or -1.
    int64_t indexOfButtonWithTitle(const std::string& title) const {
        for (int64_t i = 0; i < numberOfButtons(); ++i)
            if (buttonTitleAtIndex(i) == title) return i;
        return -1;
    }

protected:
    friend class AlertStack;
    // The stack forgot it without a dismissal (a test's reset): it is off
    // screen and tells no one.
    virtual void dropFromScreen() = 0;
};

using AlertStackEntryPtr = std::shared_ptr<AlertStackEntry>;

}  // namespace uikit

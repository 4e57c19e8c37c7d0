// The system alert: a title, a message and buttons in the order they were
// added (indexes from 0), and accessory views such as a progress spinner.
// show puts it in front of the application's alert stack. A person's tap
// (tapButtonAtIndex) tells the delegate which button was clicked and then
// dismisses it; dismissWithClickedButtonIndex tells the delegate it will go,
// takes it off and only then tells the delegate it went, so a delegate that
// shows the next alert from the last call finds the screen clear.
// The stack keeps a shown alert alive; the alert does not own its delegate.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "uikit/AlertStackEntry.h"

namespace uikit {

class UIAlertView;
class UIView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    // A person tapped the button; the alert is still visible and its
    // dismissal follows.
    virtual void alertViewClickedButtonAtIndex(UIAlertView& alertView, int64_t buttonIndex) {
        (void)alertView;
        (void)buttonIndex;
    }
    // The alert is about to leave the screen after a tap on (or a dismissal
    // with) the button; it is still visible.
    virtual void alertViewWillDismissWithButtonIndex(UIAlertView& alertView, int64_t buttonIndex) {
        (void)alertView;
        (void)buttonIndex;
    }
    // The alert has left the screen after a tap on (or a dismissal with) the button.
    virtual void alertViewDidDismissWithButtonIndex(UIAlertView& alertView, int64_t buttonIndex) {
        (void)alertView;
        (void)buttonIndex;
    }
};

class UIAlertView : public foundation::Object, public AlertStackEntry {
public:
    using Text = AlertStackEntry::Text;

    // Without buttons; either text may be missing. Alerts are shown through a
    // shared_ptr, so make them with std::make_shared.
    UIAlertView(Text title, Text message, std::weak_ptr<UIAlertViewDelegate> delegate = {});
    // With a cancel button first (index 0) and then the others in order.
    UIAlertView(Text title, Text message, std::weak_ptr<UIAlertViewDelegate> delegate,
                const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);

    Kind kind() const override { return Kind::Alert; }
    const Text& title() const override { return title_; }
    const Text& message() const override { return message_; }
    std::shared_ptr<UIAlertViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIAlertViewDelegate> delegate) { delegate_ = std::move(delegate); }

    // The new button's index.
    int64_t addButtonWithTitle(const std::string& title);
    int64_t numberOfButtons() const override { return static_cast<int64_t>(buttonTitles_.size()); }
    // -1 when the alert has no cancel button.
    int64_t cancelButtonIndex() const override { return cancelButtonIndex_; }
    // Nothing for an index without button.
    Text buttonTitleAtIndex(int64_t index) const override;

    // Shown inside the alert in the order added, each at its own frame (a
    // spinner placed by its centre); the alert keeps them.
    void addAccessoryView(std::shared_ptr<UIView> view);
    std::vector<std::shared_ptr<UIView>> accessoryViews() const override { return accessoryViews_; }

    bool isVisible() const override { return visible_; }
    // Does nothing while the alert is already on screen.
    void show();
    // The dismissal in code; does nothing when the alert is not on screen.
    // The delegate hears of it before and after the alert left the screen,
    // synchronously.
    void dismissWithClickedButtonIndex(int64_t buttonIndex, bool animated) override;
    void tapButtonAtIndex(int64_t buttonIndex) override;

    std::string className() const override { return "UIAlertView"; }

private:
    void dropFromScreen() override { visible_ = false; }

    Text title_;
    Text message_;
    std::weak_ptr<UIAlertViewDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    std::vector<std::shared_ptr<UIView>> accessoryViews_;
    bool visible_ = false;
    int64_t cancelButtonIndex_ = -1;
};

using UIAlertViewPtr = std::shared_ptr<UIAlertView>;

}  // namespace uikit

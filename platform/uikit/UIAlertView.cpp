// Alerts: showing, tapping and the clicked, will- and did-dismiss callbacks.
#include "uikit/UIAlertView.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/AlertStack.h"

namespace uikit {
namespace {

void requireMainForAlertView() { foundation::requireMainThread("UIAlertView is used from the main thread only"); }

}  // namespace

UIAlertView::UIAlertView(Text title, Text message, std::weak_ptr<UIAlertViewDelegate> delegate)
    : title_(std::move(title)), message_(std::move(message)), delegate_(std::move(delegate)) {}

UIAlertView::UIAlertView(Text title, Text message, std::weak_ptr<UIAlertViewDelegate> delegate,
                         const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
    : UIAlertView(std::move(title), std::move(message), std::move(delegate)) {
    cancelButtonIndex_ = addButtonWithTitle(cancelButtonTitle);
    for (const auto& other : otherButtonTitles) addButtonWithTitle(other);
}

int64_t UIAlertView::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return numberOfButtons() - 1;
}

UIAlertView::Text UIAlertView::buttonTitleAtIndex(int64_t index) const {
    if (index < 0 || index >= numberOfButtons()) return std::nullopt;
    return buttonTitles_[static_cast<size_t>(index)];
}

void UIAlertView::addAccessoryView(std::shared_ptr<UIView> view) {
    requireMainForAlertView();
    if (view) accessoryViews_.push_back(std::move(view));
}

void UIAlertView::show() {
    requireMainForAlertView();
    if (visible_) return;
    visible_ = true;
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    AlertStack::shared().push(self);
}

void UIAlertView::dismissWithClickedButtonIndex(int64_t buttonIndex, bool /*animated*/) {
    requireMainForAlertView();
    if (!visible_) return;
    // The stack may hold the last reference; the callback must outlive it.
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->alertViewWillDismissWithButtonIndex(*this, buttonIndex);
    if (!visible_) return;  // the delegate dismissed it already
    visible_ = false;
    AlertStack::shared().remove(*this);
    if (auto delegate = delegate_.lock()) delegate->alertViewDidDismissWithButtonIndex(*this, buttonIndex);
}

void UIAlertView::tapButtonAtIndex(int64_t buttonIndex) {
    requireMainForAlertView();
    if (!visible_ || !buttonTitleAtIndex(buttonIndex)) return;
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->alertViewClickedButtonAtIndex(*this, buttonIndex);
    dismissWithClickedButtonIndex(buttonIndex, true);
}

}  // namespace uikit

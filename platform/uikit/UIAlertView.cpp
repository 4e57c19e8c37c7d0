// Alerts: showing, tapping and the will- and did-dismiss callbacks.
#include "uikit/UIAlertView.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/UIApplication.h"

namespace uikit {

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

void UIAlertView::show() {
    foundation::requireMainThread("UIAlertView is used from the main thread only");
    if (visible_) return;
    visible_ = true;
    UIApplication::sharedApplication().alertDidAppear(std::static_pointer_cast<UIAlertView>(shared_from_this()));
}

void UIAlertView::dismissWithClickedButtonIndex(int64_t buttonIndex, bool /*animated*/) {
    foundation::requireMainThread("UIAlertView is used from the main thread only");
    if (!visible_) return;
    // The application may hold the last reference; the callback must outlive it.
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->alertViewWillDismissWithButtonIndex(*this, buttonIndex);
    visible_ = false;
    UIApplication::sharedApplication().alertDidDisappear(*this);
    if (auto delegate = delegate_.lock()) delegate->alertViewDidDismissWithButtonIndex(*this, buttonIndex);
}

}  // namespace uikit

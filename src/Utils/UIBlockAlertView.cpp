// Block alerts: the handlers kept by button index and run on dismissal.
#include "Utils/UIBlockAlertView.h"

std::shared_ptr<UIBlockAlertViewDelegate> UIBlockAlertViewDelegate::initCustomDelegate() {
    return std::make_shared<UIBlockAlertViewDelegate>();
}

void UIBlockAlertViewDelegate::alertViewDidDismissWithButtonIndex(uikit::UIAlertView& alertView, int64_t buttonIndex) {
    auto handler = handlers_.find(buttonIndex);
    // Copied: the block may replace the handlers while it runs.
    if (handler != handlers_.end()) {
        ActionBlock block = handler->second;
        block(alertView);
    } else if (completionBlockOnDismiss_) {
        ActionBlock block = completionBlockOnDismiss_;
        block(alertView);
    }
}

UIBlockAlertView::UIBlockAlertView(Text title, Text message)
    : uikit::UIAlertView(std::move(title), std::move(message)),
      customDelegate_(UIBlockAlertViewDelegate::initCustomDelegate()) {
    setDelegate(customDelegate_);
}

std::shared_ptr<UIBlockAlertView> UIBlockAlertView::initWithTitle(const Text& title, const Text& message) {
    return std::make_shared<UIBlockAlertView>(title, message);
}

int64_t UIBlockAlertView::addButtonWithTitle(const std::string& title, ActionBlock actionBlock) {
    const int64_t index = addButtonWithTitle(title);
    setButtonActionBlock(std::move(actionBlock), index);
    return index;
}

void UIBlockAlertView::setButtonActionBlock(ActionBlock actionBlock, int64_t buttonIndex) {
    if (!customDelegate_) return;
    if (actionBlock)
        customDelegate_->handlers_[buttonIndex] = std::move(actionBlock);
    else
        customDelegate_->handlers_.erase(buttonIndex);
}

void UIBlockAlertView::setCompletionBlockOnDismiss(ActionBlock block) {
    if (customDelegate_) customDelegate_->setCompletionBlockOnDismiss(std::move(block));
}

void UIBlockAlertView::setCustomDelegate(std::shared_ptr<UIBlockAlertViewDelegate> delegate) {
    customDelegate_ = std::move(delegate);
    setDelegate(customDelegate_);
}

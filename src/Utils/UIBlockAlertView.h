// The alert of the whole application: each button carries its own block at
// the place where the alert is built, instead of delegate methods spread over
// the screen class. A block runs after the alert has left the screen, on the
// main thread; a button without a block runs the dismissal block, if any.
//
// The alert owns its delegate and the delegate owns the blocks, so a block
// that captures the presenting screen keeps it alive until the alert is
// gone. A block must not capture its own alert strongly (a cycle): it is
// handed the alert as its argument.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIAlertView.h"

class UIBlockAlertViewDelegate : public uikit::UIAlertViewDelegate {
public:
    using ActionBlock = std::function<void(uikit::UIAlertView& alertView)>;

    static std::shared_ptr<UIBlockAlertViewDelegate> initCustomDelegate();

    // Button index → its block.
    const std::map<int64_t, ActionBlock>& handlers() const { return handlers_; }
    const ActionBlock& completionBlockOnDismiss() const { return completionBlockOnDismiss_; }
    void setCompletionBlockOnDismiss(ActionBlock block) { completionBlockOnDismiss_ = std::move(block); }

    // The button's block when it has one, else the dismissal block.
    void alertViewDidDismissWithButtonIndex(uikit::UIAlertView& alertView, int64_t buttonIndex) override;

private:
    friend class UIBlockAlertView;
    std::map<int64_t, ActionBlock> handlers_;
    ActionBlock completionBlockOnDismiss_;
};

class UIBlockAlertView : public uikit::UIAlertView {
public:
    using ActionBlock = UIBlockAlertViewDelegate::ActionBlock;

    // Without buttons; either text may be missing.
    static std::shared_ptr<UIBlockAlertView> initWithTitle(const Text& title, const Text& message);
    UIBlockAlertView(Text title, Text message);

    using uikit::UIAlertView::addButtonWithTitle;
    // Adds the button after the earlier ones; an empty block only dismisses.
    // Returns its index.
    int64_t addButtonWithTitle(const std::string& title, ActionBlock actionBlock);
    // Replaces the button's block; an empty block removes it.
    void setButtonActionBlock(ActionBlock actionBlock, int64_t buttonIndex);
    void setCompletionBlockOnDismiss(ActionBlock block);

    const std::shared_ptr<UIBlockAlertViewDelegate>& customDelegate() const { return customDelegate_; }
    void setCustomDelegate(std::shared_ptr<UIBlockAlertViewDelegate> delegate);

    std::string className() const override { return "UIBlockAlertView"; }

private:
    std::shared_ptr<UIBlockAlertViewDelegate> customDelegate_;
};

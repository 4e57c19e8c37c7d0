// Action sheets: their buttons, showing from a view, rect or bar button item,
// and the clicked, will- and did-dismiss callbacks.
#include "uikit/UIActionSheet.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/AlertStack.h"

namespace uikit {
namespace {

void requireMainForActionSheet() { foundation::requireMainThread("UIActionSheet is used from the main thread only"); }

}  // namespace

UIActionSheet::UIActionSheet(Text title, std::weak_ptr<UIActionSheetDelegate> delegate,
                             std::optional<std::string> cancelButtonTitle,
                             std::optional<std::string> destructiveButtonTitle,
                             const std::vector<std::string>& otherButtonTitles)
    : title_(std::move(title)), delegate_(std::move(delegate)) {
    if (destructiveButtonTitle) destructiveButtonIndex_ = addButtonWithTitle(*destructiveButtonTitle);
    for (const auto& other : otherButtonTitles) addButtonWithTitle(other);
    if (cancelButtonTitle) cancelButtonIndex_ = addButtonWithTitle(*cancelButtonTitle);
}

int64_t UIActionSheet::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return numberOfButtons() - 1;
}

UIActionSheet::Text UIActionSheet::buttonTitleAtIndex(int64_t index) const {
    if (index < 0 || index >= numberOfButtons()) return std::nullopt;
    return buttonTitles_[static_cast<size_t>(index)];
}

int64_t UIActionSheet::firstOtherButtonIndex() const {
    for (int64_t i = 0; i < numberOfButtons(); ++i)
        if (i != cancelButtonIndex_ && i != destructiveButtonIndex_) return i;
    return -1;
}

void UIActionSheet::showInView(std::shared_ptr<UIView> view) {
    Anchor anchor;
    anchor.kind = Anchor::Kind::View;
    anchor.view = view;
    anchor.animated = true;
    show(std::move(anchor));
}

void UIActionSheet::showFromRect(const graphics::Rect& rect, std::shared_ptr<UIView> view, bool animated) {
    Anchor anchor;
    anchor.kind = Anchor::Kind::Rect;
    anchor.rect = rect;
    anchor.view = view;
    anchor.animated = animated;
    show(std::move(anchor));
}

void UIActionSheet::showFromBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool animated) {
    Anchor anchor;
    anchor.kind = Anchor::Kind::BarButtonItem;
    anchor.barButtonItem = item;
    anchor.animated = animated;
    show(std::move(anchor));
}

void UIActionSheet::show(Anchor anchor) {
    requireMainForActionSheet();
    if (visible_) return;
    visible_ = true;
    anchor_ = std::move(anchor);
    AlertStack::shared().push(std::static_pointer_cast<UIActionSheet>(shared_from_this()));
}

void UIActionSheet::dismissWithClickedButtonIndex(int64_t buttonIndex, bool /*animated*/) {
    requireMainForActionSheet();
    if (!visible_) return;
    // The stack may hold the last reference; the callbacks must outlive it.
    auto self = std::static_pointer_cast<UIActionSheet>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->actionSheetWillDismissWithButtonIndex(*this, buttonIndex);
    if (!visible_) return;  // the delegate dismissed it already
    visible_ = false;
    AlertStack::shared().remove(*this);
    if (auto delegate = delegate_.lock()) delegate->actionSheetDidDismissWithButtonIndex(*this, buttonIndex);
}

void UIActionSheet::tapButtonAtIndex(int64_t buttonIndex) {
    requireMainForActionSheet();
    if (!visible_ || !buttonTitleAtIndex(buttonIndex)) return;
    auto self = std::static_pointer_cast<UIActionSheet>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->actionSheetClickedButtonAtIndex(*this, buttonIndex);
    dismissWithClickedButtonIndex(buttonIndex, true);
}

}  // namespace uikit

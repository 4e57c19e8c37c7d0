// The action sheet: a set of choices rising from the bottom of the screen (or,
// on the pad, in a popover from a rect or a bar button item). Buttons are
// indexed in display order; the constructor puts the destructive button
// first, then the others, then the cancel button. Shown sheets go on the
// application's alert stack, on top of any alert shown before them. A
// person's tap tells the delegate which button was clicked, then that the
// sheet will go, then — once it is off the stack — that it went.
// The stack keeps a shown sheet alive; the sheet does not own its delegate.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Geometry.h"
#include "uikit/AlertStackEntry.h"

namespace uikit {

class UIActionSheet;
class UIBarButtonItem;
class UIView;

class UIActionSheetDelegate {
public:
    virtual ~UIActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(UIActionSheet& actionSheet, int64_t buttonIndex) {
        (void)actionSheet;
        (void)buttonIndex;
    }
    virtual void actionSheetWillDismissWithButtonIndex(UIActionSheet& actionSheet, int64_t buttonIndex) {
        (void)actionSheet;
        (void)buttonIndex;
    }
    virtual void actionSheetDidDismissWithButtonIndex(UIActionSheet& actionSheet, int64_t buttonIndex) {
        (void)actionSheet;
        (void)buttonIndex;
    }
};

class UIActionSheet : public foundation::Object, public AlertStackEntry {
public:
    using Text = AlertStackEntry::Text;

    // Where the sheet was shown from, as the last show call said.
    struct Anchor {
        enum class Kind { None, View, Rect, BarButtonItem };
        Kind kind = Kind::None;
        std::weak_ptr<UIView> view;
        graphics::Rect rect;
        std::weak_ptr<UIBarButtonItem> barButtonItem;
        bool animated = false;
    };

    // Sheets are shown through a shared_ptr, so make them with std::make_shared.
    explicit UIActionSheet(Text title, std::weak_ptr<UIActionSheetDelegate> delegate = {},
                           std::optional<std::string> cancelButtonTitle = std::nullopt,
                           std::optional<std::string> destructiveButtonTitle = std::nullopt,
                           const std::vector<std::string>& otherButtonTitles = {});

    Kind kind() const override { return Kind::ActionSheet; }
    const Text& title() const override { return title_; }
    void setTitle(Text title) { title_ = std::move(title); }
    // A sheet has no message.
    const Text& message() const override { return noMessage_; }
    std::shared_ptr<UIActionSheetDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIActionSheetDelegate> delegate) { delegate_ = std::move(delegate); }

    // The new button's index.
    int64_t addButtonWithTitle(const std::string& title);
    int64_t numberOfButtons() const override { return static_cast<int64_t>(buttonTitles_.size()); }
    Text buttonTitleAtIndex(int64_t index) const override;
    // -1 when there is none.
    int64_t cancelButtonIndex() const override { return cancelButtonIndex_; }
    void setCancelButtonIndex(int64_t index) { cancelButtonIndex_ = index; }
    int64_t destructiveButtonIndex() const override { return destructiveButtonIndex_; }
    void setDestructiveButtonIndex(int64_t index) { destructiveButtonIndex_ = index; }
    // The first button that is neither destructive nor cancel, or -1.
    int64_t firstOtherButtonIndex() const;

    // Each does nothing while the sheet is already on screen.
    void showInView(std::shared_ptr<UIView> view);
    void showFromRect(const graphics::Rect& rect, std::shared_ptr<UIView> view, bool animated);
    void showFromBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool animated);
    const Anchor& anchor() const { return anchor_; }

    bool isVisible() const override { return visible_; }
    void dismissWithClickedButtonIndex(int64_t buttonIndex, bool animated) override;
    void tapButtonAtIndex(int64_t buttonIndex) override;

    std::string className() const override { return "UIActionSheet"; }

private:
    void show(Anchor anchor);
    void dropFromScreen() override { visible_ = false; }

    Text title_;
    Text noMessage_;
    std::weak_ptr<UIActionSheetDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    int64_t cancelButtonIndex_ = -1;
    int64_t destructiveButtonIndex_ = -1;
    Anchor anchor_;
    bool visible_ = false;
};

using UIActionSheetPtr = std::shared_ptr<UIActionSheet>;

}  // namespace uikit

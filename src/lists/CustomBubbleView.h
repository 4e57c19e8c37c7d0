// A hint in a speech bubble over a whole screen: the overlay covers the
// parent's size, the bubble keeps its place near the top right corner as the
// parent resizes, and a touch anywhere on the overlay (not only on the bubble)
// tells the delegate, which normally takes the hint away.
#pragma once

#include <memory>
#include <string>

#include "uikit/UIView.h"

class CustomBubbleViewDelegate;
namespace uikit {
class UIButton;
class UIControl;
class UIImageView;
class UILabel;
}  // namespace uikit

class CustomBubbleView : public uikit::UIView {
public:
    // The picture points down at what the hint explains when the bubble is
    // at the top, up otherwise.
    static constexpr const char* kTopImageName = "bubble_bottom_right.png";
    static constexpr const char* kOtherImageName = "bubble_top_right.png";

    using uikit::UIView::UIView;

    static std::shared_ptr<CustomBubbleView> initWithParentFrame(const graphics::Rect& parentFrame,
                                                                 const graphics::Rect& bubbleFrame,
                                                                 const std::string& bubbleText, bool isDisplayedAtTop);

    std::shared_ptr<CustomBubbleViewDelegate> customBubbleViewDelegate() const { return delegate_.lock(); }
    void setCustomBubbleViewDelegate(const std::shared_ptr<CustomBubbleViewDelegate>& delegate) {
        delegate_ = delegate;
    }

    void bubbleTapped(uikit::UIControl& sender);

    const std::shared_ptr<uikit::UIView>& bubbleView() const { return bubbleView_; }
    const std::shared_ptr<uikit::UIImageView>& bubbleImageView() const { return bubbleImageView_; }
    const std::shared_ptr<uikit::UILabel>& textLabel() const { return textLabel_; }
    const std::shared_ptr<uikit::UIButton>& overlayButton() const { return overlayButton_; }

    std::string className() const override { return "CustomBubbleView"; }

private:
    std::weak_ptr<CustomBubbleViewDelegate> delegate_;
    std::shared_ptr<uikit::UIView> bubbleView_;
    std::shared_ptr<uikit::UIImageView> bubbleImageView_;
    std::shared_ptr<uikit::UILabel> textLabel_;
    std::shared_ptr<uikit::UIButton> overlayButton_;
};

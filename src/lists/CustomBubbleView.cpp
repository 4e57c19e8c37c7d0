#include "lists/CustomBubbleView.h"

#include <algorithm>

#include "lists/CustomBubbleViewDelegate.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

namespace {

// Stretched as a whole across, with a fixed top cap: the middle row below the
// cap stretches, the rest of the picture below it keeps its height.
uikit::UIImagePtr stretchableBubble(const std::string& name, double topCap) {
    auto image = uikit::UIImage::imageNamed(name);
    if (!image) return nullptr;
    const double bottomCap = std::max(0.0, image->size().height - topCap - 1);
    return image->resizableImageWithCapInsets({topCap, 0, bottomCap, 0}, uikit::UIImageResizingMode::Stretch);
}

}  // namespace

std::shared_ptr<CustomBubbleView> CustomBubbleView::initWithParentFrame(const graphics::Rect& parentFrame,
                                                                        const graphics::Rect& bubbleFrame,
                                                                        const std::string& bubbleText,
                                                                        bool isDisplayedAtTop) {
    using namespace uikit;
    auto view = std::make_shared<CustomBubbleView>(graphics::Rect{{0, 0}, parentFrame.size});
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);

    view->bubbleView_ = std::make_shared<UIView>(bubbleFrame);
    view->bubbleView_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                           UIViewAutoresizingFlexibleBottomMargin);
    view->addSubview(view->bubbleView_);

    view->bubbleImageView_ = std::make_shared<UIImageView>(graphics::Rect{{0, 0}, bubbleFrame.size});
    view->bubbleImageView_->setImage(isDisplayedAtTop ? stretchableBubble(kTopImageName, 30)
                                                      : stretchableBubble(kOtherImageName, 20));
    view->bubbleImageView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    view->bubbleView_->addSubview(view->bubbleImageView_);

    const double top = isDisplayedAtTop ? 17 : 3;
    view->textLabel_ = std::make_shared<UILabel>(
        graphics::Rect{10, top, bubbleFrame.size.width - 20, bubbleFrame.size.height - 20});
    view->textLabel_->setNumberOfLines(0);
    view->textLabel_->setLineBreakMode(NSLineBreakMode::ByWordWrapping);
    view->textLabel_->setTextColor(UIColor::blackColor());
    view->textLabel_->setFont(UIFont::systemFontOfSize(15));
    view->textLabel_->setText(bubbleText);
    view->bubbleView_->addSubview(view->textLabel_);

    view->overlayButton_ = std::make_shared<UIButton>(view->bounds());
    view->overlayButton_->setBackgroundColor(UIColor::clearColor());
    view->overlayButton_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    std::weak_ptr<CustomBubbleView> weak = view;
    view->overlayButton_->addTarget(
        [weak](UIControl& sender) {
            if (auto self = weak.lock()) self->bubbleTapped(sender);
        },
        UIControlEventTouchDown);
    view->addSubview(view->overlayButton_);
    return view;
}

void CustomBubbleView::bubbleTapped(uikit::UIControl&) {
    if (auto delegate = delegate_.lock()) delegate->bubbleTapped();
}

// The popover's panel, its placement at the anchor, and the tap outside.
#include "uikit/UIPopoverController.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace uikit {
namespace {

void requireMainForPopoverController() {
    foundation::requireMainThread("UIPopoverController is used from the main thread only");
}

// The clear layer under a visible popover. It takes the touches outside the
// popover, except those on a pass-through view, which go to that view.
class PopoverDismissalView : public UIView {
public:
    PopoverDismissalView(const graphics::Rect& frame, std::weak_ptr<UIPopoverController> popover)
        : UIView(frame), popover_(std::move(popover)) {}

    UIViewPtr hitTest(graphics::Point point) override {
        if (auto popover = popover_.lock()) {
            for (const auto& view : popover->passthroughViews()) {
                if (!view || !view->window() || view->window() != window()) continue;
                if (view->hitTest(view->convertPointFromView(point, this))) return nullptr;
            }
        }
        return UIView::hitTest(point);
    }
    std::string className() const override { return "UIDimmingView"; }

private:
    std::weak_ptr<UIPopoverController> popover_;
};

// The panel that holds the content's view.
class PopoverView : public UIView {
public:
    // A white box with rounded corners that cut its content.
    PopoverView() {
        layer()->setCornerRadius(13);
        setClipsToBounds(true);
        setBackgroundColor(graphics::Color::white());
    }
    std::string className() const override { return "UIPopoverView"; }
};

// Where the anchor of a bar button item is, in window coordinates: its view
// in the bar that shows it, else its custom view, else nothing.
std::optional<std::pair<graphics::Rect, UIViewPtr>> anchorOfItem(const std::shared_ptr<UIBarButtonItem>& item) {
    UIViewPtr shown;
    if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(item->hostView())) {
        shown = bar->viewForBarButtonItem(item);
        if (!shown) shown = bar;
    } else if (item->customView()) {
        shown = item->customView();
    } else if (auto host = item->hostView()) {
        shown = host;
    }
    if (!shown || !shown->window()) return std::nullopt;
    return std::make_pair(shown->convertRectToView(shown->bounds(), nullptr), shown);
}

}  // namespace

UIPopoverController::UIPopoverController(UIViewControllerPtr contentViewController)
    : content_(std::move(contentViewController)),
      contentSize_{UIContainerLayout::kPopoverWidth, UIContainerLayout::kPopoverHeight} {}

UIPopoverController::~UIPopoverController() {
    if (visible_) takeViewsAway();
}

void UIPopoverController::setContentViewController(UIViewControllerPtr controller, bool animated) {
    requireMainForPopoverController();
    if (controller == content_) return;
    auto old = std::move(content_);
    content_ = std::move(controller);
    if (!visible_) return;
    if (old) {
        old->beginAppearanceTransition(false, animated);
        old->popover_.reset();
        if (old->isViewLoaded() && old->view()->superview() == popoverView_) {
            old->view()->setAppearanceContainer(nullptr);
            old->view()->removeFromSuperview();
        }
    }
    if (content_) {
        content_->view()->setAppearanceContainer(shared_from_this());
        content_->popover_ = std::static_pointer_cast<UIPopoverController>(shared_from_this());
        popoverView_->addSubview(content_->view());
        placePanel();
        content_->beginAppearanceTransition(true, animated);
    }
    foundation::RunLoop::main().post([old, content = content_] {
        if (old) old->endAppearanceTransition();
        if (content) content->endAppearanceTransition();
    });
}

void UIPopoverController::setPopoverContentSize(graphics::Size size, bool) {
    requireMainForPopoverController();
    contentSize_ = size;
    contentSizeSet_ = true;
    if (visible_) placePanel();
}

graphics::Size UIPopoverController::popoverContentSize() const {
    if (contentSizeSet_ || !content_) return contentSize_;
    return content_->preferredContentSize().value_or(contentSize_);
}

void UIPopoverController::presentPopoverFromBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item,
                                                          UIPopoverArrowDirection arrowDirections, bool animated) {
    requireMainForPopoverController();
    if (!item) return;
    graphics::Rect anchor{0, UIContainerLayout::kStatusBarHeight, UIContainerLayout::kNavigationBarHeight,
                          UIContainerLayout::kNavigationBarHeight};
    UIViewPtr windowView = UIApplication::sharedApplication().keyWindow();
    if (auto found = anchorOfItem(item)) {
        anchor = found->first;
        windowView = found->second->window();
    }
    anchorItem_ = item;
    anchorView_.reset();
    present(anchor, windowView, arrowDirections, animated);
}

void UIPopoverController::presentPopoverFromRect(const graphics::Rect& rect, const std::shared_ptr<UIView>& view,
                                                 UIPopoverArrowDirection arrowDirections, bool animated) {
    requireMainForPopoverController();
    UIViewPtr windowView = view ? std::static_pointer_cast<UIView>(view->window()) : nullptr;
    if (!windowView) windowView = UIApplication::sharedApplication().keyWindow();
    const graphics::Rect anchor = view ? view->convertRectToView(rect, nullptr) : rect;
    anchorItem_.reset();
    anchorView_ = view;
    present(anchor, windowView, arrowDirections, animated);
}

void UIPopoverController::present(const graphics::Rect& anchorInWindow, const std::shared_ptr<UIView>& windowView,
                                  UIPopoverArrowDirection arrowDirections, bool animated) {
    if (!content_ || !windowView) return;
    auto self = std::static_pointer_cast<UIPopoverController>(shared_from_this());
    const bool wasVisible = visible_;
    if (wasVisible) takeViewsAway();
    permittedArrowDirections_ = arrowDirections;
    anchorRect_ = anchorInWindow;
    lastPresentationAnimated_ = animated;
    window_ = windowView;

    dismissalView_ = std::make_shared<PopoverDismissalView>(windowView->bounds(), self);
    std::weak_ptr<UIPopoverController> weakSelf = self;
    dismissalView_->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([weakSelf](UIGestureRecognizer&) {
        if (auto popover = weakSelf.lock()) popover->tapOutside();
    }));
    windowView->addSubview(dismissalView_);
    popoverView_ = std::make_shared<PopoverView>();
    // Before the content enters the window, so its bars take the popover's appearance.
    content_->view()->setAppearanceContainer(self);
    content_->popover_ = self;
    popoverView_->addSubview(content_->view());
    windowView->addSubview(popoverView_);
    visible_ = true;
    placePanel();
    if (wasVisible) return;
    content_->beginAppearanceTransition(true, animated);
    foundation::RunLoop::main().post([content = content_] { content->endAppearanceTransition(); });
}

void UIPopoverController::placePanel() {
    auto windowView = window_.lock();
    if (!windowView || !popoverView_ || !content_) return;
    // Inside the screen, below the status bar.
    const graphics::Rect bounds = windowView->bounds();
    const double top = UIApplication::sharedApplication().statusBarFrame().height();
    const graphics::Rect area{bounds.origin.x, bounds.origin.y + top, bounds.width(), bounds.height() - top};
    const graphics::Size size = popoverContentSize();
    const double width = std::min(size.width, area.width());
    double height = std::min(size.height, area.height());
    const graphics::Rect& a = anchorRect_;
    const double midX = a.origin.x + a.width() / 2;
    const double midY = a.origin.y + a.height() / 2;
    struct Placement {
        UIPopoverArrowDirection arrow;
        graphics::Point origin;
        bool fits;
    };
    const Placement placements[] = {
        {UIPopoverArrowDirectionUp, {midX - width / 2, a.origin.y + a.height()},
         a.origin.y + a.height() + height <= area.maxY()},
        {UIPopoverArrowDirectionDown, {midX - width / 2, a.origin.y - height}, a.origin.y - height >= area.minY()},
        {UIPopoverArrowDirectionRight, {a.origin.x - width, midY - height / 2}, a.origin.x - width >= area.minX()},
        {UIPopoverArrowDirectionLeft, {a.origin.x + a.width(), midY - height / 2},
         a.origin.x + a.width() + width <= area.maxX()},
    };
    const Placement* chosen = nullptr;
    for (const auto& placement : placements) {
        if ((permittedArrowDirections_ & placement.arrow) && placement.fits) {
            chosen = &placement;
            break;
        }
    }
    if (!chosen) {
        for (const auto& placement : placements) {
            if (permittedArrowDirections_ & placement.arrow) {
                chosen = &placement;
                break;
            }
        }
    }
    if (!chosen) chosen = &placements[0];
    arrowDirection_ = chosen->arrow;
    const double x = std::clamp(chosen->origin.x, area.minX(), std::max(area.minX(), area.maxX() - width));
    const double y = std::clamp(chosen->origin.y, area.minY(), std::max(area.minY(), area.maxY() - height));
    height = std::min(height, area.maxY() - y);
    popoverView_->setFrame({x, y, width, height});
    UIViewController::placeView(*content_, {0, 0, width, height}, {});
}

void UIPopoverController::dismissPopoverAnimated(bool animated) {
    requireMainForPopoverController();
    if (!visible_) return;
    lastDismissalAnimated_ = animated;
    auto content = content_;
    if (content) content->beginAppearanceTransition(false, animated);
    takeViewsAway();
    if (content) foundation::RunLoop::main().post([content] { content->endAppearanceTransition(); });
}

void UIPopoverController::tapOutside() {
    requireMainForPopoverController();
    if (!visible_) return;
    auto self = std::static_pointer_cast<UIPopoverController>(shared_from_this());
    if (auto delegate = delegate_.lock(); delegate && !delegate->popoverControllerShouldDismissPopover(*this)) return;
    dismissPopoverAnimated(true);
    if (auto delegate = delegate_.lock()) delegate->popoverControllerDidDismissPopover(*this);
}

void UIPopoverController::takeViewsAway() {
    visible_ = false;
    if (content_) content_->popover_.reset();
    if (content_ && content_->isViewLoaded() && popoverView_ && content_->view()->superview() == popoverView_) {
        content_->view()->setAppearanceContainer(nullptr);
        content_->view()->removeFromSuperview();
    }
    if (popoverView_) popoverView_->removeFromSuperview();
    if (dismissalView_) dismissalView_->removeFromSuperview();
    popoverView_.reset();
    dismissalView_.reset();
}

}  // namespace uikit

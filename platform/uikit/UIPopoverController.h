// A panel floating over the screen that shows a content controller, anchored
// at a bar button item or at a rectangle of a view, with the arrow directions
// the caller allows. While it is visible a clear layer under it covers the
// window: a tap there (outside the popover and outside the pass-through
// views) asks the delegate and dismisses the popover, and only such a tap
// tells the delegate it did dismiss; dismissing in code does not. The content
// appears and disappears with the platform's callbacks. The popover does not
// own its delegate; whoever presents it keeps it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Geometry.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UIView;
class UIBarButtonItem;
class UIPopoverController;

using UIPopoverArrowDirection = unsigned;
inline constexpr UIPopoverArrowDirection UIPopoverArrowDirectionUp = 1 << 0;
inline constexpr UIPopoverArrowDirection UIPopoverArrowDirectionDown = 1 << 1;
inline constexpr UIPopoverArrowDirection UIPopoverArrowDirectionLeft = 1 << 2;
inline constexpr UIPopoverArrowDirection UIPopoverArrowDirectionRight = 1 << 3;
inline constexpr UIPopoverArrowDirection UIPopoverArrowDirectionAny = 15;

class UIPopoverControllerDelegate {
public:
    virtual ~UIPopoverControllerDelegate() = default;
    // Asked before a tap outside dismisses the popover; NO keeps it.
    virtual bool popoverControllerShouldDismissPopover(UIPopoverController& popover) {
        (void)popover;
        return true;
    }
    // After a tap outside dismissed the popover (never after a dismissal in code).
    virtual void popoverControllerDidDismissPopover(UIPopoverController& popover) { (void)popover; }
};

class UIPopoverController : public foundation::Object {
public:
    explicit UIPopoverController(UIViewControllerPtr contentViewController);
    // Takes its views off the screen when it goes while visible.
    ~UIPopoverController() override;

    const UIViewControllerPtr& contentViewController() const { return content_; }
    void setContentViewController(UIViewControllerPtr controller, bool animated = false);
    // What was set; else the content controller's preferred size, else 320×600.
    // A visible popover takes a new size at once.
    graphics::Size popoverContentSize() const;
    void setPopoverContentSize(graphics::Size size, bool animated = false);

    // The controller whose segue showed the popover (none when shown in
    // code): an unwind from the content goes back up through it.
    UIViewControllerPtr sourceViewController() const { return source_.lock(); }
    void setSourceViewController(const UIViewControllerPtr& source) { source_ = source; }

    std::shared_ptr<UIPopoverControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIPopoverControllerDelegate>& delegate) { delegate_ = delegate; }

    // Views a person can use while the popover is up, without dismissing it.
    const std::vector<std::shared_ptr<UIView>>& passthroughViews() const { return passthroughViews_; }
    void setPassthroughViews(std::vector<std::shared_ptr<UIView>> views) { passthroughViews_ = std::move(views); }

    // Anchored at the item's view in its bar (at the top left of the window
    // when the item shows nowhere).
    void presentPopoverFromBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item,
                                         UIPopoverArrowDirection arrowDirections, bool animated);
    // Anchored at the rectangle, given in the view's coordinates.
    void presentPopoverFromRect(const graphics::Rect& rect, const std::shared_ptr<UIView>& view,
                                UIPopoverArrowDirection arrowDirections, bool animated);
    void dismissPopoverAnimated(bool animated);
    bool isPopoverVisible() const { return visible_; }

    // What the last presentation asked and got.
    UIPopoverArrowDirection permittedArrowDirections() const { return permittedArrowDirections_; }
    // The arrow the popover shows; 0 while not visible.
    UIPopoverArrowDirection popoverArrowDirection() const { return visible_ ? arrowDirection_ : 0; }
    std::shared_ptr<UIBarButtonItem> presentingBarButtonItem() const { return anchorItem_.lock(); }
    std::shared_ptr<UIView> presentingView() const { return anchorView_.lock(); }
    // The anchor in window coordinates.
    const graphics::Rect& presentingRect() const { return anchorRect_; }
    bool lastPresentationAnimated() const { return lastPresentationAnimated_; }
    bool lastDismissalAnimated() const { return lastDismissalAnimated_; }

    // The panel holding the content's view, and the clear layer under it
    // (null while not visible).
    const std::shared_ptr<UIView>& popoverView() const { return popoverView_; }
    const std::shared_ptr<UIView>& dismissalView() const { return dismissalView_; }
    // A person's tap outside the popover: asks the delegate, dismisses and
    // tells it. What a tap on the dismissal view does.
    void tapOutside();

    std::string className() const override { return "UIPopoverController"; }

private:
    void present(const graphics::Rect& anchorInWindow, const std::shared_ptr<UIView>& windowView,
                 UIPopoverArrowDirection arrowDirections, bool animated);
    void placePanel();
    void takeViewsAway();

    UIViewControllerPtr content_;
    graphics::Size contentSize_{320, 600};
    bool contentSizeSet_ = false;
    std::weak_ptr<UIPopoverControllerDelegate> delegate_;
    std::weak_ptr<UIViewController> source_;
    std::vector<std::shared_ptr<UIView>> passthroughViews_;
    bool visible_ = false;
    UIPopoverArrowDirection permittedArrowDirections_ = UIPopoverArrowDirectionAny;
    UIPopoverArrowDirection arrowDirection_ = 0;
    std::weak_ptr<UIBarButtonItem> anchorItem_;
    std::weak_ptr<UIView> anchorView_;
    graphics::Rect anchorRect_;
    bool lastPresentationAnimated_ = false;
    bool lastDismissalAnimated_ = false;
    std::shared_ptr<UIView> popoverView_;
    std::shared_ptr<UIView> dismissalView_;
    std::weak_ptr<UIView> window_;
};

using UIPopoverControllerPtr = std::shared_ptr<UIPopoverController>;

}  // namespace uikit

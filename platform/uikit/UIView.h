// A view: a rectangle on screen backed by a layer, in a tree of subviews.
// Geometry is kept as the platform keeps it: bounds (whose origin is the
// offset of the content, a scroll view's content offset), center in the
// superview and a transform about the center; the frame is derived from
// them, and setting it moves the center and sizes the bounds. The backing
// layer (anchored at its centre) mirrors the bounds and center as its bounds
// and position, and holds the transform, alpha (opacity), hidden flag and
// clipping (masks-to-bounds) itself, so a change made on the layer shows in
// the view; a subview's layer is a sublayer of its superview's, in subview
// order.
// Subclasses draw in drawRect, which runs when the view is displayed after
// setNeedsDisplay, with the context it draws into made current for the
// drawing's duration; a subclass picks its backing layer's class by
// overriding makeBackingLayer. Frames come from code and the text measurer;
// constraints are only held. Main thread only.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/AffineTransform.h"
#include "graphics/Color.h"
#include "graphics/DrawingContext.h"
#include "graphics/Geometry.h"
#include "graphics/Layer.h"
#include "uikit/UIAppearanceCustomizable.h"
#include "uikit/UIResponder.h"
#include "uikit/UIViewAnimation.h"

namespace uikit {

class UIView;
class UIWindow;
class UIGestureRecognizer;
class NSLayoutConstraint;
using UIViewPtr = std::shared_ptr<UIView>;

enum class UIViewContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

using UIViewAutoresizing = unsigned;
inline constexpr UIViewAutoresizing UIViewAutoresizingNone = 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleWidth = 1 << 1;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleRightMargin = 1 << 2;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleTopMargin = 1 << 3;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleHeight = 1 << 4;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

class UIView : public UIResponder, public UIAppearanceCustomizable {
public:
    explicit UIView(const graphics::Rect& frame = {});
    ~UIView() override;

    // Made on first use, so that the subclass's class is the one asked.
    const graphics::LayerPtr& layer() const;
    virtual graphics::LayerPtr makeBackingLayer() const { return graphics::Layer::layer(); }

    // Geometry.
    graphics::Rect frame() const;
    virtual void setFrame(const graphics::Rect& frame);
    graphics::Rect bounds() const { return bounds_; }
    virtual void setBounds(const graphics::Rect& bounds);
    graphics::Point center() const { return center_; }
    void setCenter(graphics::Point center);
    // The backing layer's (affine) transform: setting either sets both.
    graphics::AffineTransform transform() const { return layer()->affineTransform(); }
    void setTransform(const graphics::AffineTransform& transform);
    // The screen's scale unless set.
    double contentScaleFactor() const;
    void setContentScaleFactor(double scale) { contentScaleFactor_ = scale; }

    // Look. Alpha, hidden and clips-to-bounds are the backing layer's
    // opacity, hidden and masks-to-bounds.
    double alpha() const { return layer()->opacity(); }
    void setAlpha(double alpha);
    bool isHidden() const { return layer()->isHidden(); }
    void setHidden(bool hidden);
    // Appearance keys "backgroundColor" and "tintColor": a proxy value for
    // them never overrides the view's own.
    const std::optional<graphics::Color>& backgroundColor() const { return layer()->backgroundColor(); }
    virtual void setBackgroundColor(std::optional<graphics::Color> color);
    // The view's own tint, else its superview's, else the system tint.
    graphics::Color tintColor() const;
    // Null goes back to inheriting. Views below that inherit hear tintColorDidChange.
    void setTintColor(std::optional<graphics::Color> color);
    const std::optional<graphics::Color>& ownTintColor() const { return tintColor_; }
    virtual void tintColorDidChange() {}
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode) { contentMode_ = mode; }
    bool clipsToBounds() const { return layer()->masksToBounds(); }
    void setClipsToBounds(bool clips);

    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    int64_t tag() const { return tag_; }
    void setTag(int64_t tag) { tag_ = tag; }
    // The receiver or the first view below it (depth first) with the tag.
    UIViewPtr viewWithTag(int64_t tag) const;
    // The name a storyboard outlet gives the view; the screen dump prints it
    // and the app mode finds views by it.
    const std::optional<std::string>& outletName() const { return outletName_; }
    void setOutletName(std::optional<std::string> name) { outletName_ = std::move(name); }

    // Autoresizing: applied to the subviews when the receiver's bounds size changes.
    UIViewAutoresizing autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(UIViewAutoresizing mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool value) { autoresizesSubviews_ = value; }
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesAutoresizingMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool value) { translatesAutoresizingMask_ = value; }

    // The tree. A view is in at most one superview; adding it elsewhere takes
    // it out first. Indexes past the end append.
    UIViewPtr superview() const { return superview_.lock(); }
    const std::vector<UIViewPtr>& subviews() const { return subviews_; }
    // The window whose tree holds the view (a window answers itself).
    std::shared_ptr<UIWindow> window() const;
    void addSubview(const UIViewPtr& view);
    void insertSubviewAtIndex(const UIViewPtr& view, size_t index);
    void insertSubviewAboveSubview(const UIViewPtr& view, const UIViewPtr& sibling);
    void insertSubviewBelowSubview(const UIViewPtr& view, const UIViewPtr& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const UIViewPtr& view);
    void sendSubviewToBack(const UIViewPtr& view);
    // True for the view itself too.
    bool isDescendantOfView(const UIView* view) const;

    // Hooks around moves in the tree.
    virtual void willMoveToSuperview(UIView* newSuperview) { (void)newSuperview; }
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(UIWindow* newWindow) { (void)newWindow; }
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(UIView& subview) { (void)subview; }
    virtual void willRemoveSubview(UIView& subview) { (void)subview; }

    // Layout: explicit frames, done when asked.
    void setNeedsLayout() { needsLayout_ = true; }
    bool needsLayout() const { return needsLayout_; }
    // Lays out the receiver when needed, then its subviews.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    // The receiver's current size unless a subclass knows better.
    virtual graphics::Size sizeThatFits(graphics::Size size) const;
    // Resizes the bounds to sizeThatFits(current size), keeping the frame's origin.
    virtual void sizeToFit();

    // Constraints: held and counted, never solved.
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return constraints_; }
    void addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void addConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    void removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void removeConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    void setNeedsUpdateConstraints() { needsUpdateConstraints_ = true; }
    bool needsUpdateConstraints() const { return needsUpdateConstraints_; }
    // Runs updateConstraints when needed.
    void updateConstraintsIfNeeded();
    virtual void updateConstraints() {}

    // Coordinates. A null view stands for the window's coordinates (the root
    // view's when the receiver is in no window).
    graphics::Point convertPointToView(graphics::Point point, const UIView* view) const;
    graphics::Point convertPointFromView(graphics::Point point, const UIView* view) const;
    graphics::Rect convertRectToView(const graphics::Rect& rect, const UIView* view) const;
    graphics::Rect convertRectFromView(const graphics::Rect& rect, const UIView* view) const;
    // Maps the receiver's points into its superview's coordinates.
    graphics::AffineTransform transformToSuperview() const;

    // The deepest visible, interaction-enabled view under the point (given in
    // the receiver's coordinates) whose bounds hold it, front-most subviews
    // first; null when the receiver is hidden, nearly transparent (alpha
    // below 0.01), not interaction-enabled or not under the point.
    virtual UIViewPtr hitTest(graphics::Point point);
    virtual bool pointInside(graphics::Point point) const { return bounds_.contains(point); }

    // Gesture recognisers, in the order added; the view keeps them.
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const { return gestureRecognizers_; }
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);

    // Resigns the first responder when it is the receiver or below it. With
    // force NO the responder may refuse. True when no responder of the
    // subtree is left first.
    bool endEditing(bool force);

    // The controller whose view this is: the next responder, and an
    // appearance container. Set by the controller when it loads its view.
    UIResponderPtr viewController() const { return viewController_.lock(); }
    void setViewController(const UIResponderPtr& controller) { viewController_ = controller; }
    // A further object the view sits in for appearance purposes (the popover
    // controller around a popover's content), placed just outside the view.
    foundation::ObjectPtr appearanceContainer() const { return appearanceContainer_.lock(); }
    void setAppearanceContainer(const foundation::ObjectPtr& container) { appearanceContainer_ = container; }
    UIResponderPtr nextResponder() const override;

    // A new view needs display; displaying clears it.
    bool needsDisplay() const { return needsDisplay_; }
    virtual void setNeedsDisplay() { needsDisplay_ = true; }
    // Fills the background, then runs drawRect with the context current.
    void display(graphics::DrawingContext& context);
    void displayIfNeeded(graphics::DrawingContext& context) {
        if (needsDisplay_) display(context);
    }
    virtual void drawRect(const graphics::Rect& rect);
    // Draws the receiver and its subviews, as the screen shows them, into the
    // current context with its bounds fitted to the rectangle; false when no
    // context is current. The flag is accepted as the platform has it: the
    // tree is always drawn as it stands.
    bool drawViewHierarchyInRect(const graphics::Rect& rect, bool afterScreenUpdates = false) const;

    // Animations on the clock (see UIViewAnimation.h). Inside
    // performWithoutAnimation nothing is recorded and completions run on the
    // next turn of the main run loop.
    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                    std::function<void()> animations, std::function<void(bool)> completion = {});
    static void animateWithDuration(double duration, std::function<void()> animations,
                                    std::function<void(bool)> completion = {});
    static void transitionWithView(const UIViewPtr& view, double duration, UIViewAnimationOptions options,
                                   std::function<void()> animations, std::function<void(bool)> completion = {});
    static void performWithoutAnimation(const std::function<void()>& actions);
    // Every animation recorded since the last clear, oldest first.
    static const std::vector<UIViewAnimationRecord>& recordedAnimations();
    static void clearRecordedAnimations();

    // Objects that code extending views from outside attaches under a string
    // key (the platform's associated objects), held strongly and freed with
    // the view; null for a key without one. Setting null removes the entry.
    std::shared_ptr<void> attachedObject(const std::string& key) const;
    void setAttachedObject(const std::string& key, std::shared_ptr<void> object);

    std::string className() const override { return "UIView"; }
    // What the screen dump says after the class name of a view that is no
    // element it knows (a badge's text and frame, say); such a view is listed
    // when this is not empty or it has an outlet name.
    virtual std::string screenDumpDetail() const { return {}; }

private:
    void applyFrameToLayer() const;
    void boundsSizeDidChange(graphics::Size oldSize);
    void autoresize(graphics::Size oldSuperSize, graphics::Size newSuperSize);
    void moveToWindow(UIWindow* newWindow);
    void notifyTintChange();
    void placeSublayer(const UIViewPtr& view);
    graphics::AffineTransform transformToRoot(const UIView** root) const;

    graphics::Rect bounds_;
    graphics::Point center_;
    std::optional<double> contentScaleFactor_;
    std::optional<graphics::Color> tintColor_;
    UIViewContentMode contentMode_ = UIViewContentMode::ScaleToFill;
    bool userInteractionEnabled_ = true;
    int64_t tag_ = 0;
    std::optional<std::string> outletName_;
    UIViewAutoresizing autoresizingMask_ = UIViewAutoresizingNone;
    bool autoresizesSubviews_ = true;
    bool translatesAutoresizingMask_ = true;
    std::weak_ptr<UIView> superview_;
    std::vector<UIViewPtr> subviews_;
    std::weak_ptr<UIWindow> window_;
    bool needsLayout_ = true;
    std::vector<std::shared_ptr<NSLayoutConstraint>> constraints_;
    bool needsUpdateConstraints_ = false;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    std::weak_ptr<UIResponder> viewController_;
    std::weak_ptr<foundation::Object> appearanceContainer_;
    mutable graphics::LayerPtr layer_;
    // Renders the backing layer as the whole view; the layer keeps it weakly.
    mutable std::shared_ptr<const graphics::LayerRenderDelegate> layerRenderer_;
    bool needsDisplay_ = true;
    std::map<std::string, std::shared_ptr<void>> attachedObjects_;
};

// The context of the drawing under way, or null outside drawRect and image
// contexts. Push makes a context current until the matching pop.
graphics::DrawingContext* UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(graphics::DrawingContext* context);
void UIGraphicsPopContext();

}  // namespace uikit

// The view tree: geometry kept in step with the backing layer, subviews and
// their sublayers, window membership, autoresizing, conversion, hit-testing
// and the display pass.
#include "uikit/UIView.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "graphics/MutablePath.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UIScreen.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

namespace uikit {

namespace {

std::vector<graphics::DrawingContext*>& contextStack() {
    static std::vector<graphics::DrawingContext*> stack;
    return stack;
}

void requireMainForView() { foundation::requireMainThread("UIView is used from the main thread only"); }

// The platform's default tint, a bright blue.
const graphics::Color& systemTint() {
    static const graphics::Color tint = graphics::Color::rgb(0, 122.0 / 255, 1);
    return tint;
}

// Spreads `delta` over the flexible parts of one axis in proportion to their
// present lengths (evenly when they have none).
void distribute(double delta, bool flexLead, bool flexSize, bool flexTrail, double& lead, double& size,
                double& trail) {
    int count = int(flexLead) + int(flexSize) + int(flexTrail);
    if (count == 0 || delta == 0) return;
    double total = (flexLead ? lead : 0) + (flexSize ? size : 0) + (flexTrail ? trail : 0);
    auto share = [&](bool flexible, double length) {
        if (!flexible) return 0.0;
        return total > 0 ? delta * length / total : delta / count;
    };
    double dLead = share(flexLead, lead), dSize = share(flexSize, size), dTrail = share(flexTrail, trail);
    lead += dLead;
    size += dSize;
    trail += dTrail;
}

}  // namespace

graphics::DrawingContext* UIGraphicsGetCurrentContext() {
    return contextStack().empty() ? nullptr : contextStack().back();
}

void UIGraphicsPushContext(graphics::DrawingContext* context) { contextStack().push_back(context); }

void UIGraphicsPopContext() {
    if (!contextStack().empty()) contextStack().pop_back();
}

UIView::UIView(const graphics::Rect& frame) {
    graphics::Rect f = frame.isNull() ? graphics::Rect() : frame.standardized();
    bounds_ = {{0, 0}, f.size};
    center_ = {f.midX(), f.midY()};
}

UIView::~UIView() = default;

namespace {

// Draws a view's backing layer as the view itself (look and subviews), so
// that a view's layer rendered into an image context shows the screen's pixels.
class ViewLayerRenderer : public graphics::LayerRenderDelegate {
public:
    explicit ViewLayerRenderer(const UIView& view) : view_(view) {}
    void renderLayerInContext(const graphics::Layer&, graphics::DrawingContext& context) const override {
        renderView(view_, context);
    }

private:
    const UIView& view_;
};

}  // namespace

const graphics::LayerPtr& UIView::layer() const {
    if (!layer_) {
        layer_ = makeBackingLayer();
        layerRenderer_ = std::make_shared<ViewLayerRenderer>(*this);
        layer_->setRenderDelegate(layerRenderer_);
        applyFrameToLayer();
    }
    return layer_;
}

void UIView::applyFrameToLayer() const {
    if (!layer_) return;
    layer_->setAnchorPoint({0.5, 0.5});
    layer_->setBounds(bounds_);
    layer_->setPosition(center_);
}

graphics::AffineTransform UIView::transformToSuperview() const {
    double ax = bounds_.origin.x + bounds_.size.width / 2;
    double ay = bounds_.origin.y + bounds_.size.height / 2;
    return concat(concat(graphics::AffineTransform::makeTranslation(-ax, -ay), transform()),
                  graphics::AffineTransform::makeTranslation(center_.x, center_.y));
}

graphics::Rect UIView::frame() const { return transformToSuperview().apply(bounds_); }

void UIView::setFrame(const graphics::Rect& frame) {
    requireMainForView();
    if (frame.isNull()) return;
    graphics::Rect f = frame.standardized();
    graphics::Size old = bounds_.size;
    center_ = {f.midX(), f.midY()};
    bounds_.size = f.size;
    applyFrameToLayer();
    if (!(old == f.size)) boundsSizeDidChange(old);
}

void UIView::setBounds(const graphics::Rect& bounds) {
    requireMainForView();
    if (bounds.isNull()) return;
    graphics::Size old = bounds_.size;
    bounds_ = bounds.standardized();
    applyFrameToLayer();
    if (!(old == bounds_.size)) boundsSizeDidChange(old);
}

void UIView::setCenter(graphics::Point center) {
    requireMainForView();
    center_ = center;
    applyFrameToLayer();
}

void UIView::setTransform(const graphics::AffineTransform& transform) {
    requireMainForView();
    recordAnimatedChange(*this, UIViewAnimatedProperty::Transform);
    layer()->setAffineTransform(transform);
}

void UIView::boundsSizeDidChange(graphics::Size oldSize) {
    setNeedsLayout();
    // Other content modes stretch or place what was drawn.
    if (contentMode_ == UIViewContentMode::Redraw) setNeedsDisplay();
    if (!autoresizesSubviews_) return;
    // The subviews may move or go while they resize.
    auto subviews = subviews_;
    for (const auto& subview : subviews) subview->autoresize(oldSize, bounds_.size);
}

void UIView::autoresize(graphics::Size oldSuper, graphics::Size newSuper) {
    if (autoresizingMask_ == UIViewAutoresizingNone) return;
    graphics::Rect f = frame();
    double left = f.minX(), width = f.width(), right = oldSuper.width - f.maxX();
    double top = f.minY(), height = f.height(), bottom = oldSuper.height - f.maxY();
    const auto m = autoresizingMask_;
    distribute(newSuper.width - oldSuper.width, m & UIViewAutoresizingFlexibleLeftMargin,
               m & UIViewAutoresizingFlexibleWidth, m & UIViewAutoresizingFlexibleRightMargin, left, width, right);
    distribute(newSuper.height - oldSuper.height, m & UIViewAutoresizingFlexibleTopMargin,
               m & UIViewAutoresizingFlexibleHeight, m & UIViewAutoresizingFlexibleBottomMargin, top, height, bottom);
    setFrame({left, top, std::max(0.0, width), std::max(0.0, height)});
}

double UIView::contentScaleFactor() const {
    return contentScaleFactor_ ? *contentScaleFactor_ : UIScreen::mainScreen().scale();
}

void UIView::setAlpha(double alpha) {
    requireMainForView();
    recordAnimatedChange(*this, UIViewAnimatedProperty::Alpha);
    layer()->setOpacity(alpha);
}

void UIView::setHidden(bool hidden) {
    requireMainForView();
    layer()->setHidden(hidden);
}

void UIView::setBackgroundColor(std::optional<graphics::Color> color) {
    appearancePropertyWasSet("backgroundColor");
    layer()->setBackgroundColor(std::move(color));
}

void UIView::setClipsToBounds(bool clips) {
    layer()->setMasksToBounds(clips);
}

graphics::Color UIView::tintColor() const {
    for (const UIView* v = this; v;) {
        if (v->tintColor_) return *v->tintColor_;
        auto parent = v->superview_.lock();
        v = parent.get();
    }
    return systemTint();
}

void UIView::setTintColor(std::optional<graphics::Color> color) {
    requireMainForView();
    appearancePropertyWasSet("tintColor");
    tintColor_ = std::move(color);
    notifyTintChange();
}

void UIView::notifyTintChange() {
    tintColorDidChange();
    for (const auto& subview : subviews_) {
        if (!subview->tintColor_) subview->notifyTintChange();
    }
}

UIViewPtr UIView::viewWithTag(int64_t tag) const {
    if (tag_ == tag) return std::const_pointer_cast<UIView>(std::static_pointer_cast<const UIView>(shared_from_this()));
    for (const auto& subview : subviews_) {
        if (auto found = subview->viewWithTag(tag)) return found;
    }
    return nullptr;
}

// The tree.

std::shared_ptr<UIWindow> UIView::window() const {
    if (auto self = dynamic_cast<const UIWindow*>(this)) {
        return std::const_pointer_cast<UIWindow>(std::static_pointer_cast<const UIWindow>(self->shared_from_this()));
    }
    return window_.lock();
}

void UIView::placeSublayer(const UIViewPtr& view) {
    const auto& sublayers = layer()->sublayers();
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    size_t position = size_t(it - subviews_.begin());
    // Right above the layer of the subview below, else right below the layer
    // of the subview above; layers the view keeps of its own stay in place.
    size_t index = sublayers.size();
    if (position > 0) {
        auto below = std::find(sublayers.begin(), sublayers.end(), subviews_[position - 1]->layer());
        if (below != sublayers.end()) index = size_t(below - sublayers.begin()) + 1;
    } else if (subviews_.size() > 1) {
        auto above = std::find(sublayers.begin(), sublayers.end(), subviews_[1]->layer());
        if (above != sublayers.end()) index = size_t(above - sublayers.begin());
    }
    layer()->insertSublayer(view->layer(), index);
}

void UIView::insertSubviewAtIndex(const UIViewPtr& view, size_t index) {
    requireMainForView();
    if (!view || view.get() == this) return;
    if (isDescendantOfView(view.get())) {
        foundation::raise(foundation::kInvalidArgumentException, "a view cannot become a subview of its own subview");
    }
    auto self = std::static_pointer_cast<UIView>(shared_from_this());
    auto oldSuper = view->superview();
    if (oldSuper.get() == this) {
        // A move within the receiver: no window change, no move callbacks.
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        size_t from = size_t(it - subviews_.begin());
        subviews_.erase(it);
        if (index > from) --index;
        subviews_.insert(subviews_.begin() + std::ptrdiff_t(std::min(index, subviews_.size())), view);
        placeSublayer(view);
        return;
    }
    auto newWindow = window();
    view->willMoveToSuperview(this);
    if (oldSuper) {
        oldSuper->willRemoveSubview(*view);
        std::erase(oldSuper->subviews_, view);
    }
    subviews_.insert(subviews_.begin() + std::ptrdiff_t(std::min(index, subviews_.size())), view);
    view->superview_ = self;
    placeSublayer(view);
    if (view->window_.lock() != newWindow) view->moveToWindow(newWindow.get());
    view->didMoveToSuperview();
    didAddSubview(*view);
    setNeedsLayout();
}

void UIView::addSubview(const UIViewPtr& view) { insertSubviewAtIndex(view, subviews_.size()); }

void UIView::insertSubviewAboveSubview(const UIViewPtr& view, const UIViewPtr& sibling) {
    auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
    size_t index = it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin()) + 1;
    insertSubviewAtIndex(view, index);
}

void UIView::insertSubviewBelowSubview(const UIViewPtr& view, const UIViewPtr& sibling) {
    auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
    size_t index = it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin());
    insertSubviewAtIndex(view, index);
}

void UIView::removeFromSuperview() {
    requireMainForView();
    auto parent = superview();
    if (!parent) return;
    auto self = std::static_pointer_cast<UIView>(shared_from_this());
    willMoveToSuperview(nullptr);
    parent->willRemoveSubview(*this);
    std::erase(parent->subviews_, self);
    superview_.reset();
    layer()->removeFromSuperlayer();
    if (window_.lock()) moveToWindow(nullptr);
    didMoveToSuperview();
}

void UIView::bringSubviewToFront(const UIViewPtr& view) {
    if (view && view->superview().get() == this) insertSubviewAtIndex(view, subviews_.size());
}

void UIView::sendSubviewToBack(const UIViewPtr& view) {
    if (view && view->superview().get() == this) insertSubviewAtIndex(view, 0);
}

bool UIView::isDescendantOfView(const UIView* view) const {
    if (!view) return false;
    for (const UIView* v = this; v;) {
        if (v == view) return true;
        auto parent = v->superview_.lock();
        v = parent.get();
    }
    return false;
}

void UIView::moveToWindow(UIWindow* newWindow) {
    auto self = std::static_pointer_cast<UIView>(shared_from_this());
    willMoveToWindow(newWindow);
    window_ = newWindow ? std::static_pointer_cast<UIWindow>(newWindow->shared_from_this()) : nullptr;
    if (newWindow) UIAppearance::applyTo(*this);
    // Resigns a first responder that leaves the screen.
    if (!newWindow && isFirstResponder()) forceResignFirstResponder();
    auto subviews = subviews_;
    for (const auto& subview : subviews) subview->moveToWindow(newWindow);
    didMoveToWindow();
}

// Layout.

void UIView::layoutIfNeeded() {
    requireMainForView();
    if (needsLayout_) {
        needsLayout_ = false;
        auto controller = std::dynamic_pointer_cast<UIViewController>(viewController());
        if (controller) controller->viewLayoutWillRun();
        layoutSubviews();
        if (controller) controller->viewLayoutDidRun();
    }
    auto subviews = subviews_;
    for (const auto& subview : subviews) subview->layoutIfNeeded();
}

graphics::Size UIView::sizeThatFits(graphics::Size) const { return bounds_.size; }

void UIView::sizeToFit() {
    graphics::Rect f = frame();
    graphics::Size size = sizeThatFits(bounds_.size);
    setFrame({f.origin, size});
}

void UIView::addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    if (!constraint) return;
    constraints_.push_back(constraint);
    constraint->setActive(true);
    setNeedsUpdateConstraints();
}

void UIView::addConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& constraint : constraints) addConstraint(constraint);
}

void UIView::removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    auto it = std::find(constraints_.begin(), constraints_.end(), constraint);
    if (it == constraints_.end()) return;
    (*it)->setActive(false);
    constraints_.erase(it);
    setNeedsUpdateConstraints();
}

void UIView::removeConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& constraint : constraints) removeConstraint(constraint);
}

void UIView::updateConstraintsIfNeeded() {
    if (!needsUpdateConstraints_) return;
    needsUpdateConstraints_ = false;
    updateConstraints();
}

// Coordinates.

graphics::AffineTransform UIView::transformToRoot(const UIView** root) const {
    graphics::AffineTransform t;
    const UIView* v = this;
    UIViewPtr keep;
    while (true) {
        keep = v->superview_.lock();
        if (!keep) break;
        t = concat(t, v->transformToSuperview());
        v = keep.get();
    }
    *root = v;
    return t;
}

graphics::Point UIView::convertPointToView(graphics::Point point, const UIView* view) const {
    const UIView* myRoot = nullptr;
    graphics::Point p = transformToRoot(&myRoot).apply(point);
    if (!view) return p;
    const UIView* theirRoot = nullptr;
    graphics::AffineTransform theirs = view->transformToRoot(&theirRoot);
    if (theirRoot != myRoot) {
        // Separate trees meet on the screen, where each root sits at its frame.
        p = myRoot->transformToSuperview().apply(p);
        p = theirRoot->transformToSuperview().invert().apply(p);
    }
    return theirs.invert().apply(p);
}

graphics::Point UIView::convertPointFromView(graphics::Point point, const UIView* view) const {
    if (view) return view->convertPointToView(point, this);
    const UIView* myRoot = nullptr;
    return transformToRoot(&myRoot).invert().apply(point);
}

graphics::Rect UIView::convertRectToView(const graphics::Rect& rect, const UIView* view) const {
    graphics::Point a = convertPointToView(rect.origin, view);
    graphics::Point b = convertPointToView({rect.maxX(), rect.maxY()}, view);
    return graphics::Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

graphics::Rect UIView::convertRectFromView(const graphics::Rect& rect, const UIView* view) const {
    graphics::Point a = convertPointFromView(rect.origin, view);
    graphics::Point b = convertPointFromView({rect.maxX(), rect.maxY()}, view);
    return graphics::Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

UIViewPtr UIView::hitTest(graphics::Point point) {
    if (isHidden() || alpha() < 0.01 || !userInteractionEnabled_ || !pointInside(point)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        graphics::AffineTransform toSub = (*it)->transformToSuperview();
        if (!toSub.isInvertible()) continue;
        if (auto hit = (*it)->hitTest(toSub.invert().apply(point))) return hit;
    }
    return std::static_pointer_cast<UIView>(shared_from_this());
}

// Gestures and responders.

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    if (!recognizer) return;
    if (auto old = recognizer->view()) old->removeGestureRecognizer(recognizer);
    gestureRecognizers_.push_back(recognizer);
    recognizer->setView(std::static_pointer_cast<UIView>(shared_from_this()));
}

void UIView::removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    auto it = std::find(gestureRecognizers_.begin(), gestureRecognizers_.end(), recognizer);
    if (it == gestureRecognizers_.end()) return;
    gestureRecognizers_.erase(it);
    recognizer->setView(nullptr);
}

bool UIView::endEditing(bool force) {
    requireMainForView();
    auto responder = UIResponder::currentFirstResponder();
    auto view = std::dynamic_pointer_cast<UIView>(responder);
    if (!view || !view->isDescendantOfView(this)) return true;
    if (force) {
        view->forceResignFirstResponder();
        return true;
    }
    return view->resignFirstResponder();
}

UIResponderPtr UIView::nextResponder() const {
    if (auto controller = viewController_.lock()) return controller;
    return superview();
}

// Display.

void UIView::display(graphics::DrawingContext& context) {
    needsDisplay_ = false;
    if (const auto& background = backgroundColor()) {
        graphics::MutablePath path;
        path.addRect(bounds());
        context.fillPath(path, *background);
    }
    // Nested displays (a view drawing another) restore the outer context.
    UIGraphicsPushContext(&context);
    drawRect(bounds());
    UIGraphicsPopContext();
}

void UIView::drawRect(const graphics::Rect&) {}

bool UIView::drawViewHierarchyInRect(const graphics::Rect& rect, bool) const {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return false;
    const graphics::Rect b = bounds();
    context->saveGState();
    context->translateCTM(rect.origin.x, rect.origin.y);
    if (b.width() > 0 && b.height() > 0) context->scaleCTM(rect.width() / b.width(), rect.height() / b.height());
    context->translateCTM(-b.origin.x, -b.origin.y);
    renderView(*this, *context);
    context->restoreGState();
    return true;
}

}  // namespace uikit

namespace uikit {

std::shared_ptr<void> UIView::attachedObject(const std::string& key) const {
    auto it = attachedObjects_.find(key);
    return it == attachedObjects_.end() ? nullptr : it->second;
}

void UIView::setAttachedObject(const std::string& key, std::shared_ptr<void> object) {
    if (object) attachedObjects_[key] = std::move(object);
    else attachedObjects_.erase(key);
}

}  // namespace uikit

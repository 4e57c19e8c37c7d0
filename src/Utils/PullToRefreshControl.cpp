// The drop is drawn in the control's own coordinates: the control is 400
// points high and sits just above the content, so a pull of o points shows
// its bottom o points. At rest the drop is two equal circles one on the
// other at the bottom of the control; pulling moves the upper circle up with
// the content's top edge and shrinks the lower one, until the stretch reaches
// its limit and the pull triggers.
//
// Layer animations are records here: what an animation kept at its end value
// would show is also set on the layer, so the screen shows the end state, and
// the reset after a refresh puts the resting values back.
#include "Utils/PullToRefreshControl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/Clock.h"
#include "foundation/MainThreadChecker.h"
#include "graphics/LayerAnimation.h"
#include "graphics/MutablePath.h"
#include "graphics/ShapeLayer.h"
#include "graphics/Transaction.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITableView.h"

using graphics::Color;
using graphics::MutablePath;
using graphics::PathPtr;
using graphics::Point;
using graphics::Rect;

namespace {

constexpr double kPi = std::numbers::pi;

// Ranged constants: stretched to the limit → at rest.
struct Range {
    double stretched;
    double resting;
    // p runs from 1 (at rest) to 0 (stretched to the limit).
    double at(double p) const { return stretched + (resting - stretched) * p; }
};
constexpr Range kTopPadding{9, 5};
constexpr Range kTopRadius{12.5, 16};
constexpr Range kBottomRadius{3, 16};
constexpr Range kBottomPadding{4, 6};
constexpr Range kArrowSize{2, 3};
constexpr Range kArrowRadius{5, 7};

// The small drop the stretched one snaps into on trigger.
constexpr double kSnappedRadius = 5.6;
constexpr double kFadeDuration = 0.1;
constexpr double kDropFadeDelay = 0.1;
constexpr double kBeginRefreshingFadeDuration = 0.0001;
constexpr double kSpinnerStartScale = 0.1;
constexpr double kSpinnerGrowDelay = 0.15;
constexpr double kSpinnerGrowDuration = 0.2;

Color defaultTint() { return Color::rgb(155 / 255.0, 162 / 255.0, 172 / 255.0); }
Color lineColor() { return Color::gray(1.0 / 3.0, 0.5); }  // dark grey at half alpha

void requireMain() { foundation::requireMainThread("PullToRefreshControl is used from the main thread only"); }

graphics::Transform3D scale(double factor) { return graphics::Transform3D::makeScale(factor, factor, 1); }

// An animation of one layer property to its end value, kept there.
graphics::LayerAnimation keptAnimation(const std::string& keyPath, graphics::LayerAnimation::Value toValue,
                                       double duration, double beginTime = 0) {
    graphics::LayerAnimation animation(keyPath);
    animation.setToValue(std::move(toValue));
    animation.setDuration(duration);
    animation.setBeginTime(beginTime);
    animation.setFillMode(graphics::LayerAnimation::FillMode::Forwards);
    animation.setRemovedOnCompletion(false);
    return animation;
}

void fadeOut(graphics::ShapeLayer& layer, double duration, double beginTime = 0) {
    layer.addAnimation(keptAnimation("opacity", 0.0, duration, beginTime), "opacity");
    layer.setOpacity(0);
}

// Runs a layer change with implicit animations off.
template <class F>
void withoutActions(F&& change) {
    graphics::Transaction::begin();
    graphics::Transaction::setDisableActions(true);
    change();
    graphics::Transaction::commit();
}

}  // namespace

std::shared_ptr<PullToRefreshControl> PullToRefreshControl::initInScrollView(
    const std::shared_ptr<uikit::UIScrollView>& scrollView, const uikit::UIViewPtr& activity) {
    requireMain();
    if (!scrollView) return nullptr;
    auto control = std::make_shared<PullToRefreshControl>(scrollView);
    control->build(activity);
    scrollView->addSubview(control);
    control->startObserving();
    return control;
}

PullToRefreshControl::PullToRefreshControl(const std::shared_ptr<uikit::UIScrollView>& scrollView)
    : uikit::UIControl(Rect(0, -(scrollView->contentInset().top + kControlHeight), scrollView->bounds().size.width,
                            kControlHeight)),
      scrollView_(scrollView),
      originalContentInset_(scrollView->contentInset()) {
    setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
}

void PullToRefreshControl::build(const uikit::UIViewPtr& activity) {
    activity_ = activity ? activity : std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::Gray);
    activity_->setCenter({std::floor(bounds().size.width / 2), std::floor(kControlHeight / 2)});
    activity_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleRightMargin);
    activity_->setAlpha(0);
    if (auto indicator = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(activity_)) indicator->startAnimating();
    addSubview(activity_);

    shapeLayer_ = graphics::ShapeLayer::layer();
    shapeLayer_->setFillColor(defaultTint());
    shapeLayer_->setStrokeColor(lineColor());
    shapeLayer_->setLineWidth(0.5);
    shapeLayer_->setShadowColor(Color::black());
    shapeLayer_->setShadowOffset({0, 1});
    shapeLayer_->setShadowOpacity(0.4);
    shapeLayer_->setShadowRadius(0.5);
    layer()->addSublayer(shapeLayer_);

    arrowLayer_ = graphics::ShapeLayer::layer();
    arrowLayer_->setStrokeColor(lineColor());
    arrowLayer_->setLineWidth(0.5);
    arrowLayer_->setFillColor(Color::white());
    arrowLayer_->setFillRule(graphics::FillRule::EvenOdd);
    shapeLayer_->addSublayer(arrowLayer_);

    highlightLayer_ = graphics::ShapeLayer::layer();
    highlightLayer_->setFillColor(Color::gray(1, 0.2));
    shapeLayer_->addSublayer(highlightLayer_);

    // Last: the tint's change hook fills the drop.
    uikit::UIView::setTintColor(defaultTint());
}

PullToRefreshControl::~PullToRefreshControl() { stopObserving(); }

void PullToRefreshControl::startObserving() {
    auto scroll = scrollView();
    if (!scroll) return;
    std::weak_ptr<PullToRefreshControl> weak = std::static_pointer_cast<PullToRefreshControl>(shared_from_this());
    offsetObserver_ = scroll->addObserverForKeyPath(
        uikit::UIScrollView::kContentOffsetKey,
        [weak](uikit::UIScrollView&, const std::string&, const uikit::UIScrollView::ObservedValue& value) {
            auto self = weak.lock();
            if (self && std::holds_alternative<Point>(value)) self->contentOffsetChanged(std::get<Point>(value).y);
        });
    insetObserver_ = scroll->addObserverForKeyPath(
        uikit::UIScrollView::kContentInsetKey,
        [weak](uikit::UIScrollView&, const std::string&, const uikit::UIScrollView::ObservedValue& value) {
            auto self = weak.lock();
            if (self && std::holds_alternative<uikit::UIEdgeInsets>(value))
                self->contentInsetChanged(std::get<uikit::UIEdgeInsets>(value));
        });
}

void PullToRefreshControl::stopObserving() {
    if (auto scroll = scrollView()) {
        if (offsetObserver_) scroll->removeObserver(*offsetObserver_);
        if (insetObserver_) scroll->removeObserver(*insetObserver_);
    }
    offsetObserver_.reset();
    insetObserver_.reset();
}

void PullToRefreshControl::willMoveToSuperview(uikit::UIView* newSuperview) {
    uikit::UIControl::willMoveToSuperview(newSuperview);
    if (newSuperview) return;
    stopObserving();
    scrollView_.reset();
}

void PullToRefreshControl::setEnabled(bool enabled) {
    uikit::UIControl::setEnabled(enabled);
    if (shapeLayer_) shapeLayer_->setHidden(!enabled);
}

void PullToRefreshControl::tintColorDidChange() {
    uikit::UIControl::tintColorDidChange();
    if (shapeLayer_) shapeLayer_->setFillColor(tintColor());
}

int64_t PullToRefreshControl::activityIndicatorViewStyle() const {
    auto indicator = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(activity_);
    return indicator ? static_cast<int64_t>(indicator->activityIndicatorViewStyle()) : 0;
}

void PullToRefreshControl::setActivityIndicatorViewStyle(int64_t style) {
    if (auto indicator = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(activity_))
        indicator->setActivityIndicatorViewStyle(static_cast<uikit::UIActivityIndicatorViewStyle>(style));
}

std::optional<Color> PullToRefreshControl::activityIndicatorViewColor() const {
    auto indicator = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(activity_);
    if (!indicator) return std::nullopt;
    return indicator->color();
}

void PullToRefreshControl::setActivityIndicatorViewColor(const std::optional<Color>& color) {
    if (auto indicator = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(activity_)) indicator->setColor(color);
}

void PullToRefreshControl::setInsetOwnChange(const uikit::UIEdgeInsets& inset) {
    auto scroll = scrollView();
    if (!scroll) return;
    bool wasIgnoring = ignoreInset_;
    ignoreInset_ = true;
    scroll->setContentInset(inset);
    ignoreInset_ = wasIgnoring;
}

void PullToRefreshControl::contentInsetChanged(const uikit::UIEdgeInsets& inset) {
    if (ignoreInset_) return;
    originalContentInset_ = inset;
    auto scroll = scrollView();
    double width = scroll ? scroll->bounds().size.width : bounds().size.width;
    setFrame(Rect(0, -(inset.top + kControlHeight), width, kControlHeight));
}

void PullToRefreshControl::contentOffsetChanged(double offsetY) {
    if (!isEnabled() || ignoreOffset_) return;
    double offset = offsetY + originalContentInset_.top;
    if (refreshing_)
        followWhileRefreshing(offset);
    else
        drawDrop(offset);
}

bool PullToRefreshControl::tableHasSectionHeaders() const {
    auto table = std::dynamic_pointer_cast<uikit::UITableView>(scrollView());
    if (!table) return false;
    int64_t sections = table->numberOfSections();
    for (int64_t section = 0; section < sections; ++section)
        if (table->rectForHeaderInSection(section).size.height != 0) return true;
    return false;
}

void PullToRefreshControl::followWhileRefreshing(double offset) {
    if (offset == 0) return;
    auto scroll = scrollView();
    const double height = bounds().size.height;
    withoutActions([&] {
        shapeLayer_->setPosition({0, kMaximumStretch + offset + kRefreshingBandHeight});
        activity_->setCenter({std::floor(bounds().size.width / 2),
                              std::min(offset + height + kRefreshingBandHeight / 2, height - kRefreshingBandHeight / 2)});
    });
    if (!scroll) return;
    ignoreInset_ = true;
    ignoreOffset_ = true;
    if (offset >= 0) {
        if (hasSectionHeaders_) scroll->setContentInset(originalContentInset_);
    } else if (offset >= -kRefreshingBandHeight) {
        if (!scroll->isDragging()) {
            if (!didSetInset_) {
                didSetInset_ = true;
                hasSectionHeaders_ = tableHasSectionHeaders();
            }
            uikit::UIEdgeInsets inset = originalContentInset_;
            inset.top += hasSectionHeaders_ ? std::min(-offset, kRefreshingBandHeight) : kRefreshingBandHeight;
            scroll->setContentInset(inset);
        } else if (didSetInset_ && hasSectionHeaders_) {
            // The band follows the finger, so that section headers do not float over it.
            uikit::UIEdgeInsets inset = originalContentInset_;
            inset.top = originalContentInset_.top - offset;
            scroll->setContentInset(inset);
        }
    }
    ignoreInset_ = false;
    ignoreOffset_ = false;
}

void PullToRefreshControl::clearDrawing() {
    shapeLayer_->setPath(nullptr);
    shapeLayer_->setShadowPath(nullptr);
    arrowLayer_->setPath(nullptr);
    highlightLayer_->setPath(nullptr);
}

void PullToRefreshControl::drawDrop(double offset) {
    bool draw;
    if (!canRefresh_) {
        draw = offset >= 0;
        if (draw) {
            canRefresh_ = true;
            didSetInset_ = false;
        }
    } else {
        draw = offset < 0;
    }
    auto scroll = scrollView();
    // The content moving back on its own (a flick ending at the top) must not trigger.
    if (offset > 0 && lastOffset_ > offset && scroll && !scroll->isTracking()) {
        canRefresh_ = false;
        draw = false;
    }
    lastOffset_ = offset;
    if (!draw) {
        clearDrawing();
        return;
    }

    const double shift = std::max(0.0, -(offset + kRestingDropHeight));
    const double distance = std::min(shift, kMaximumStretch);
    const double p = 1 - distance / kMaximumStretch;
    const double topPadding = kTopPadding.at(p);
    const double topRadius = kTopRadius.at(p);
    const double bottomRadius = kBottomRadius.at(p);
    const double bottomPadding = kBottomPadding.at(p);
    const double arrowSize = kArrowSize.at(p);
    const double arrowRadius = kArrowRadius.at(p);
    const double width = bounds().size.width;
    const double height = bounds().size.height;
    const double cx = std::floor(width / 2);

    Point bottomCenter{cx, height - bottomPadding - bottomRadius};
    Point topCenter = bottomCenter;
    if (distance != 0) {
        topCenter = {cx, height + offset + topPadding + topRadius};
        if (p == 0) {
            // Stretched to the limit: the drop snaps instead of being drawn.
            trigger(topCenter);
            return;
        }
    }

    auto drop = std::make_shared<MutablePath>();
    drop->addArc(topCenter, topRadius, 0, kPi, true);
    const Point leftTop{cx - topRadius, topCenter.y}, leftBottom{cx - bottomRadius, bottomCenter.y};
    const double controlY = topCenter.y + (bottomCenter.y - topCenter.y) * 0.2;
    drop->addCurveToPoint({leftTop.x + (leftBottom.x - leftTop.x) * 0.1, controlY},
                          {leftTop.x + (leftBottom.x - leftTop.x) * 0.9, controlY}, leftBottom);
    drop->addArc(bottomCenter, bottomRadius, kPi, 0, true);
    const Point rightTop{cx + topRadius, topCenter.y}, rightBottom{cx + bottomRadius, bottomCenter.y};
    drop->addCurveToPoint({rightTop.x + (rightBottom.x - rightTop.x) * 0.9, controlY},
                          {rightTop.x + (rightBottom.x - rightTop.x) * 0.1, controlY}, rightTop);
    drop->closeSubpath();
    PathPtr dropPath = drop;
    shapeLayer_->setPath(dropPath);
    shapeLayer_->setShadowPath(dropPath);

    const double outer = arrowRadius + arrowSize / 2;
    const double inner = arrowRadius - arrowSize / 2;
    const double cy = topCenter.y;
    auto arrow = std::make_shared<MutablePath>();
    arrow->addArc(topCenter, outer, 0, 3 * kPi / 2, false);
    arrow->addLineToPoint({cx, cy - outer - arrowSize});
    arrow->addLineToPoint({cx + 2 * arrowSize, cy - outer + arrowSize / 2});
    arrow->addLineToPoint({cx, cy - outer + 2 * arrowSize});
    arrow->addLineToPoint({cx, cy - outer + arrowSize});
    arrow->addArc(topCenter, inner, 3 * kPi / 2, 0, true);
    arrow->closeSubpath();
    arrowLayer_->setPath(arrow);

    auto highlight = std::make_shared<MutablePath>();
    highlight->addArc(topCenter, topRadius, 0, kPi, true);
    highlight->addArc({cx, cy + 1.25}, topRadius, kPi, 0, false);
    highlightLayer_->setPath(highlight);
}

void PullToRefreshControl::trigger(Point topCenter) {
    const double cx = topCenter.x, cy = topCenter.y;
    auto small = std::make_shared<MutablePath>();
    small->addArc(topCenter, kSnappedRadius, 0, kPi, true);
    const Point left{cx - kSnappedRadius, cy}, right{cx + kSnappedRadius, cy};
    small->addCurveToPoint(left, left, left);
    small->addArc(topCenter, kSnappedRadius, kPi, 0, true);
    small->addCurveToPoint(right, right, right);
    small->closeSubpath();
    PathPtr snapped = small;

    shapeLayer_->addAnimation(keptAnimation("path", snapped, kTriggeredPathDuration), "path");
    shapeLayer_->addAnimation(keptAnimation("shadowPath", snapped, kTriggeredPathDuration), "shadowPath");
    shapeLayer_->setPath(snapped);
    shapeLayer_->setShadowPath(snapped);
    fadeOut(*shapeLayer_, kFadeDuration, foundation::Clock::now() + kDropFadeDelay);
    fadeOut(*arrowLayer_, kFadeDuration);
    fadeOut(*highlightLayer_, kFadeDuration);

    uikit::UIViewPtr activity = activity_;
    withoutActions([&] { activity->layer()->setTransform(scale(kSpinnerStartScale)); });
    uikit::UIView::animateWithDuration(kSpinnerGrowDuration, kSpinnerGrowDelay, uikit::UIViewAnimationOptionCurveLinear,
                                       [activity] {
                                           activity->setAlpha(1);
                                           activity->layer()->setTransform(scale(1));
                                       });

    refreshing_ = true;
    canRefresh_ = false;
    sendActionsForControlEvents(uikit::UIControlEventValueChanged);
}

void PullToRefreshControl::beginRefreshing() {
    requireMain();
    if (refreshing_) return;
    fadeOut(*shapeLayer_, kBeginRefreshingFadeDuration);
    fadeOut(*arrowLayer_, kBeginRefreshingFadeDuration);
    fadeOut(*highlightLayer_, kBeginRefreshingFadeDuration);
    activity_->setAlpha(1);
    activity_->layer()->setTransform(scale(1));
    if (auto scroll = scrollView()) {
        Point offset = scroll->contentOffset();
        uikit::UIEdgeInsets inset = originalContentInset_;
        inset.top += kRefreshingBandHeight;
        setInsetOwnChange(inset);
        scroll->setContentOffset(offset, false);
    }
    refreshing_ = true;
    canRefresh_ = false;
}

void PullToRefreshControl::endRefreshing() {
    requireMain();
    if (!refreshing_) return;
    refreshing_ = false;
    auto self = std::static_pointer_cast<PullToRefreshControl>(shared_from_this());
    uikit::UIView::animateWithDuration(
        kEndRefreshingDuration,
        [self] {
            self->setInsetOwnChange(self->originalContentInset_);
            self->activity_->setAlpha(0);
            self->activity_->layer()->setTransform(scale(kSpinnerStartScale));
        },
        [self](bool) {
            for (const auto& layer : {self->shapeLayer_, self->arrowLayer_, self->highlightLayer_}) {
                layer->removeAllAnimations();
                layer->setPath(nullptr);
                // With the kept animations gone the layers show their own opacity again.
                layer->setOpacity(1);
            }
            self->shapeLayer_->setShadowPath(nullptr);
            self->shapeLayer_->setPosition({0, 0});
            self->setInsetOwnChange(self->originalContentInset_);
        });
}

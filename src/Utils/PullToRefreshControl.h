// The pull-down refresh control of the list screens: a rubber-band drop above
// a scroll view's content that stretches as the content is pulled down, snaps
// into a spinner once stretched to its limit, holds a 44-point band open above
// the content while the refresh runs and sends value-changed once per pull.
//
// The control watches its scroll view's "contentOffset" and "contentInset"
// and has no other input. The scroll view holds the control as a subview; the
// control holds the scroll view weakly and stops watching it when it is taken
// out of it or destroyed. An inset set from outside is the owner's: the
// control moves to stay just above the content and restores that inset after
// each refresh. Main thread only.
#pragma once

#include <memory>
#include <optional>

#include "uikit/UIControl.h"
#include "uikit/UIEdgeInsets.h"

namespace graphics {
class ShapeLayer;
class Path;
}  // namespace graphics

namespace uikit {
class UIScrollView;
}

class PullToRefreshControl : public uikit::UIControl {
public:
    static constexpr double kControlHeight = 400;
    static constexpr double kRefreshingBandHeight = 44;
    static constexpr double kMaximumStretch = 53;
    static constexpr double kRestingDropHeight = 43;
    static constexpr double kTriggeredPathDuration = 0.15;
    static constexpr double kEndRefreshingDuration = 0.4;

    // Builds the control inside the scroll view, above its content, and adds
    // it there. Without an activity view a grey activity indicator is made.
    static std::shared_ptr<PullToRefreshControl> initInScrollView(const std::shared_ptr<uikit::UIScrollView>& scrollView,
                                                                  const uikit::UIViewPtr& activity = nullptr);
    // Use initInScrollView: the control is built and starts watching once it is shared.
    explicit PullToRefreshControl(const std::shared_ptr<uikit::UIScrollView>& scrollView);
    ~PullToRefreshControl() override;

    bool isRefreshing() const { return refreshing_; }
    // Enters the refreshing state without a pull and sends nothing.
    void beginRefreshing();
    // Closes the band with an animation; nothing when not refreshing.
    void endRefreshing();

    // Disabled, the drop is hidden and pulls are ignored.
    void setEnabled(bool enabled) override;
    // The drop is filled with the control's tint (setTintColor), RGB 155,
    // 162, 172 unless set.
    void tintColorDidChange() override;

    // Forwarded to the activity view when it is an activity indicator;
    // otherwise ignored, and the getters answer 0 and nothing.
    int64_t activityIndicatorViewStyle() const;
    void setActivityIndicatorViewStyle(int64_t style);
    std::optional<graphics::Color> activityIndicatorViewColor() const;
    void setActivityIndicatorViewColor(const std::optional<graphics::Color>& color);

    std::shared_ptr<uikit::UIScrollView> scrollView() const { return scrollView_.lock(); }
    const uikit::UIEdgeInsets& originalContentInset() const { return originalContentInset_; }
    const uikit::UIViewPtr& activityView() const { return activity_; }

    // The drop and its two sublayers, for those who look at what is drawn.
    const std::shared_ptr<graphics::ShapeLayer>& shapeLayer() const { return shapeLayer_; }
    const std::shared_ptr<graphics::ShapeLayer>& arrowLayer() const { return arrowLayer_; }
    const std::shared_ptr<graphics::ShapeLayer>& highlightLayer() const { return highlightLayer_; }

    void willMoveToSuperview(uikit::UIView* newSuperview) override;

    std::string className() const override { return "PullToRefreshControl"; }

private:
    void build(const uikit::UIViewPtr& activity);
    void startObserving();
    void stopObserving();
    void contentInsetChanged(const uikit::UIEdgeInsets& inset);
    void contentOffsetChanged(double offsetY);
    void followWhileRefreshing(double offset);
    void drawDrop(double offset);
    void clearDrawing();
    void trigger(graphics::Point topCenter);
    bool tableHasSectionHeaders() const;
    void setInsetOwnChange(const uikit::UIEdgeInsets& inset);

    std::weak_ptr<uikit::UIScrollView> scrollView_;
    uikit::UIEdgeInsets originalContentInset_;
    uikit::UIViewPtr activity_;
    bool refreshing_ = false;
    bool canRefresh_ = true;
    bool ignoreInset_ = false;
    bool ignoreOffset_ = false;
    bool didSetInset_ = false;
    bool hasSectionHeaders_ = false;
    double lastOffset_ = 0;
    std::shared_ptr<graphics::ShapeLayer> shapeLayer_;
    std::shared_ptr<graphics::ShapeLayer> arrowLayer_;
    std::shared_ptr<graphics::ShapeLayer> highlightLayer_;
    std::optional<size_t> offsetObserver_;
    std::optional<size_t> insetObserver_;
};

using PullToRefreshControlPtr = std::shared_ptr<PullToRefreshControl>;

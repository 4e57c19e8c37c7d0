// A view whose bounds origin is the offset of a larger content: the content
// size, the insets around it, and how a person moves it. Setting the offset
// (plain or animated: the flag is recorded and the offset moves at once)
// reports one scroll to the delegate. Observers of "contentOffset" and
// "contentInset" hear every setting with the new value, the way a pull-to-
// refresh control watches its scroll view.
//
// A drag is what a person's finger does: beginDragging (tracking and
// dragging on, will-begin-dragging), a sequence of dragToContentOffset steps,
// then endDragging, the release: did-end-dragging, then a content pulled past
// its ends travels back (decelerating, in steps of at most 10 points, each
// reported) to its resting offset — the top one being minus the top inset,
// read again at each step — and a paging view snaps to the nearest page.
// An inset changed while no drag or return is under way adjusts the offset
// and reports it (observers hear "contentOffset" after "contentInset"): a
// content left above its new resting top moves down to it.
// Main thread only.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "uikit/UIEdgeInsets.h"
#include "uikit/UIView.h"

namespace uikit {

class UIScrollView;

class UIScrollViewDelegate {
public:
    virtual ~UIScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(UIScrollView& scrollView) { (void)scrollView; }
    virtual void scrollViewWillBeginDragging(UIScrollView& scrollView) { (void)scrollView; }
    virtual void scrollViewDidEndDragging(UIScrollView& scrollView, bool willDecelerate) {
        (void)scrollView, (void)willDecelerate;
    }
};

class UIScrollView : public UIView {
public:
    // The new value an observer hears: a point for "contentOffset", insets for "contentInset".
    using ObservedValue = std::variant<graphics::Point, UIEdgeInsets>;
    using Observer = std::function<void(UIScrollView& scrollView, const std::string& keyPath, const ObservedValue& newValue)>;
    using ObserverId = size_t;
    static constexpr const char* kContentOffsetKey = "contentOffset";
    static constexpr const char* kContentInsetKey = "contentInset";

    explicit UIScrollView(const graphics::Rect& frame = {});
    ~UIScrollView() override;

    std::shared_ptr<UIScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIScrollViewDelegate>& delegate) { delegate_ = delegate; }

    // The offset is the bounds origin.
    graphics::Point contentOffset() const { return bounds().origin; }
    void setContentOffset(graphics::Point offset) { setContentOffset(offset, false); }
    void setContentOffset(graphics::Point offset, bool animated);
    // Whether the last offset set through setContentOffset asked for animation.
    bool lastContentOffsetAnimated() const { return lastOffsetAnimated_; }
    const UIEdgeInsets& contentInset() const { return contentInset_; }
    void setContentInset(const UIEdgeInsets& inset);
    const UIEdgeInsets& scrollIndicatorInsets() const { return scrollIndicatorInsets_; }
    void setScrollIndicatorInsets(const UIEdgeInsets& insets) { scrollIndicatorInsets_ = insets; }
    graphics::Size contentSize() const { return contentSize_; }
    void setContentSize(graphics::Size size) { contentSize_ = size; }
    // The offsets a released content rests within: from minus the top
    // (left) inset to where the content's end, with the bottom (right)
    // inset, meets the bounds' end.
    graphics::Point minimumContentOffset() const;
    graphics::Point maximumContentOffset() const;

    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool value) { alwaysBounceVertical_ = value; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool value) { alwaysBounceHorizontal_ = value; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool showsVerticalScrollIndicator() const { return showsVerticalScrollIndicator_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVerticalScrollIndicator_ = shows; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontalScrollIndicator_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontalScrollIndicator_ = shows; }
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool value) { scrollsToTop_ = value; }

    bool isTracking() const { return tracking_; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }

    // --- A person's drag ---
    // False (and nothing happens) when scrolling is disabled or a drag is under way.
    bool beginDragging();
    // One step of the finger: the offset moves there; a view that does not
    // bounce stops at its resting range. Ignored outside a drag.
    void dragToContentOffset(graphics::Point offset);
    // The release (see above). Ignored outside a drag.
    void endDragging();
    // A whole drag through the offsets, then the release. False when the
    // drag could not begin.
    bool dragThroughContentOffsets(const std::vector<graphics::Point>& offsets);

    // Observers of kContentOffsetKey or kContentInsetKey; any other key path raises.
    ObserverId addObserverForKeyPath(const std::string& keyPath, Observer observer);
    void removeObserver(ObserverId id);

    void setFrame(const graphics::Rect& frame) override;
    void setBounds(const graphics::Rect& bounds) override;

    std::string className() const override { return "UIScrollView"; }

protected:
    // After the bounds moved or resized (a table brings rows into view here).
    virtual void boundsDidChange() {}

private:
    void notify(const std::string& keyPath, const ObservedValue& value);
    void moveOffset(graphics::Point offset);

    std::weak_ptr<UIScrollViewDelegate> delegate_;
    UIEdgeInsets contentInset_;
    UIEdgeInsets scrollIndicatorInsets_;
    graphics::Size contentSize_;
    bool lastOffsetAnimated_ = false;
    bool pagingEnabled_ = false;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool scrollEnabled_ = true;
    bool showsVerticalScrollIndicator_ = true;
    bool showsHorizontalScrollIndicator_ = true;
    bool scrollsToTop_ = true;
    bool tracking_ = false;
    bool dragging_ = false;
    bool decelerating_ = false;
    struct ObserverEntry {
        ObserverId id;
        std::string keyPath;
        Observer observer;
    };
    std::vector<ObserverEntry> observers_;
    ObserverId nextObserverId_ = 1;
};

using UIScrollViewPtr = std::shared_ptr<UIScrollView>;

}  // namespace uikit

#include "uikit/UIScrollView.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"

namespace uikit {

namespace {

void requireMainForScrollView() { foundation::requireMainThread("UIScrollView is used from the main thread only"); }

// The nearest multiple of the page length, within the range.
double snapToPage(double offset, double page, double low, double high) {
    if (page <= 0) return offset;
    double snapped = std::round(offset / page) * page;
    return std::clamp(snapped, low, std::max(low, high));
}

// One step of a returning content: at most kReturnStep points.
constexpr double kReturnStep = 10;
constexpr int kMaximumReturnSteps = 100000;

double towards(double from, double to) {
    if (to > from) return std::min(to, from + kReturnStep);
    return std::max(to, from - kReturnStep);
}

}  // namespace

UIScrollView::UIScrollView(const graphics::Rect& frame) : UIView(frame) { setClipsToBounds(true); }

UIScrollView::~UIScrollView() = default;

void UIScrollView::setContentOffset(graphics::Point offset, bool animated) {
    requireMainForScrollView();
    lastOffsetAnimated_ = animated;
    moveOffset(offset);
}

void UIScrollView::moveOffset(graphics::Point offset) {
    graphics::Rect b = bounds();
    bool moved = !(b.origin == offset);
    b.origin = offset;
    if (moved) UIView::setBounds(b);
    if (moved) boundsDidChange();
    notify(kContentOffsetKey, offset);
    if (moved)
        if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

void UIScrollView::setContentInset(const UIEdgeInsets& inset) {
    requireMainForScrollView();
    contentInset_ = inset;
    notify(kContentInsetKey, inset);
    // The offset is adjusted to the new inset, and reported, while the
    // content is at rest: one that a shrinking inset leaves pulled past its
    // top (a refresh band closing) goes back to its resting top, as a
    // released content would. Under a finger or on its way back it is left
    // alone.
    if (dragging_ || decelerating_) return;
    graphics::Point now = contentOffset(), low = minimumContentOffset();
    moveOffset({std::max(now.x, low.x), std::max(now.y, low.y)});
}

graphics::Point UIScrollView::minimumContentOffset() const { return {-contentInset_.left, -contentInset_.top}; }

graphics::Point UIScrollView::maximumContentOffset() const {
    graphics::Size size = bounds().size;
    graphics::Point low = minimumContentOffset();
    return {std::max(low.x, contentSize_.width + contentInset_.right - size.width),
            std::max(low.y, contentSize_.height + contentInset_.bottom - size.height)};
}

bool UIScrollView::beginDragging() {
    requireMainForScrollView();
    if (!scrollEnabled_ || dragging_) return false;
    tracking_ = true;
    dragging_ = true;
    decelerating_ = false;
    if (auto d = delegate()) d->scrollViewWillBeginDragging(*this);
    return true;
}

void UIScrollView::dragToContentOffset(graphics::Point offset) {
    requireMainForScrollView();
    if (!dragging_) return;
    if (!bounces_) {
        graphics::Point low = minimumContentOffset(), high = maximumContentOffset();
        offset = {std::clamp(offset.x, low.x, high.x), std::clamp(offset.y, low.y, high.y)};
    }
    lastOffsetAnimated_ = false;
    moveOffset(offset);
}

void UIScrollView::endDragging() {
    requireMainForScrollView();
    if (!dragging_) return;
    tracking_ = false;
    // The delegate may change the insets on release (a refresh control
    // holding its spinner in view), so the resting range is read after it.
    graphics::Point low = minimumContentOffset(), high = maximumContentOffset();
    graphics::Point now = contentOffset();
    bool willMove = now.x < low.x || now.x > high.x || now.y < low.y || now.y > high.y || pagingEnabled_;
    if (auto d = delegate()) d->scrollViewDidEndDragging(*this, willMove);
    dragging_ = false;
    // The content travels back in small steps, as it decelerates on the
    // platform, towards the end it was pulled past; that end is read again at
    // each step, since an observer may move the insets on the way (a refresh
    // control holding its band open once the content passes into it).
    low = minimumContentOffset();
    high = maximumContentOffset();
    now = contentOffset();
    enum class End { None, Low, High };
    auto endOf = [](double value, double lowest, double highest) {
        return value < lowest ? End::Low : value > highest ? End::High : End::None;
    };
    End endX = endOf(now.x, low.x, high.x), endY = endOf(now.y, low.y, high.y);
    std::optional<graphics::Point> page;
    if (pagingEnabled_) {
        graphics::Size size = bounds().size;
        graphics::Point clamped{std::clamp(now.x, low.x, high.x), std::clamp(now.y, low.y, high.y)};
        page = graphics::Point{snapToPage(clamped.x, size.width, low.x, high.x), snapToPage(clamped.y, size.height, low.y, high.y)};
    }
    auto target = [](End end, double value, double lowest, double highest, std::optional<double> snapped) {
        if (snapped) return std::clamp(*snapped, lowest, std::max(lowest, highest));
        return end == End::Low ? lowest : end == End::High ? highest : value;
    };
    decelerating_ = true;
    for (int step = 0; step < kMaximumReturnSteps; ++step) {
        low = minimumContentOffset();
        high = maximumContentOffset();
        now = contentOffset();
        graphics::Point rest{target(endX, now.x, low.x, high.x, page ? std::optional(page->x) : std::nullopt),
                             target(endY, now.y, low.y, high.y, page ? std::optional(page->y) : std::nullopt)};
        if (rest == now) break;
        lastOffsetAnimated_ = true;
        moveOffset({towards(now.x, rest.x), towards(now.y, rest.y)});
    }
    decelerating_ = false;
}

bool UIScrollView::dragThroughContentOffsets(const std::vector<graphics::Point>& offsets) {
    if (!beginDragging()) return false;
    for (const auto& offset : offsets) dragToContentOffset(offset);
    endDragging();
    return true;
}

UIScrollView::ObserverId UIScrollView::addObserverForKeyPath(const std::string& keyPath, Observer observer) {
    requireMainForScrollView();
    if (keyPath != kContentOffsetKey && keyPath != kContentInsetKey)
        foundation::raise(foundation::kInvalidArgumentException, "UIScrollView cannot be observed for the key path " + keyPath);
    ObserverId id = nextObserverId_++;
    observers_.push_back({id, keyPath, std::move(observer)});
    return id;
}

void UIScrollView::removeObserver(ObserverId id) {
    observers_.erase(std::remove_if(observers_.begin(), observers_.end(), [id](const ObserverEntry& e) { return e.id == id; }),
                     observers_.end());
}

void UIScrollView::notify(const std::string& keyPath, const ObservedValue& value) {
    // A copy: an observer may add or remove observers.
    std::vector<ObserverEntry> observers = observers_;
    for (const auto& entry : observers)
        if (entry.keyPath == keyPath) entry.observer(*this, keyPath, value);
}

void UIScrollView::setFrame(const graphics::Rect& frame) {
    graphics::Size old = bounds().size;
    UIView::setFrame(frame);
    if (!(old == bounds().size)) boundsDidChange();
}

void UIScrollView::setBounds(const graphics::Rect& newBounds) {
    graphics::Rect old = bounds();
    UIView::setBounds(newBounds);
    graphics::Rect now = bounds();
    if (old == now) return;
    boundsDidChange();
    if (!(old.origin == now.origin)) {
        notify(kContentOffsetKey, now.origin);
        if (auto d = delegate()) d->scrollViewDidScroll(*this);
    }
}

}  // namespace uikit

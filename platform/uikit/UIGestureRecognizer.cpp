// Firing a recogniser and reading where it fired.
#include "uikit/UIGestureRecognizer.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/UIView.h"

namespace uikit {

graphics::Point UIGestureRecognizer::locationInView(const UIView* view) const {
    auto own = view_.lock();
    if (!own) return location_;
    return own->convertPointToView(location_, view);
}

bool UIGestureRecognizer::fireAtPoint(graphics::Point point) {
    foundation::requireMainThread("UIGestureRecognizer is used from the main thread only");
    auto view = view_.lock();
    if (!enabled_ || !view) return false;
    location_ = point;
    if (!accepts()) {
        state_ = UIGestureRecognizerState::Failed;
        return false;
    }
    auto keep = shared_from_this();
    state_ = UIGestureRecognizerState::Recognized;
    auto targets = targets_;
    for (const auto& target : targets) target(*this);
    state_ = UIGestureRecognizerState::Possible;
    return true;
}

}  // namespace uikit

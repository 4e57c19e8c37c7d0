// Swipes checked against the recognised directions.
#include "uikit/UISwipeGestureRecognizer.h"

namespace uikit {

bool UISwipeGestureRecognizer::fireAtPoint(graphics::Point point, UISwipeGestureRecognizerDirection direction) {
    fired_ = direction;
    bool recognized = UIGestureRecognizer::fireAtPoint(point);
    fired_ = 0;
    return recognized;
}

}  // namespace uikit

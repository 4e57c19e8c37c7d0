// Taps counted against the required number.
#include "uikit/UITapGestureRecognizer.h"

namespace uikit {

bool UITapGestureRecognizer::fireAtPoint(graphics::Point point, unsigned taps) {
    taps_ = taps;
    return UIGestureRecognizer::fireAtPoint(point);
}

}  // namespace uikit

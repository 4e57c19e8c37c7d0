#include "Utils/RWLabel.h"

// The base sets the first frame before this class's overrides take part.
RWLabel::RWLabel(const graphics::Rect& frame) : uikit::UILabel(frame) { followWidth(); }

void RWLabel::setBounds(const graphics::Rect& bounds) {
    uikit::UILabel::setBounds(bounds);
    followWidth();
}

void RWLabel::setFrame(const graphics::Rect& frame) {
    uikit::UILabel::setFrame(frame);
    followWidth();
}

void RWLabel::followWidth() {
    const double width = bounds().size.width;
    if (width != preferredMaxLayoutWidth()) {
        setPreferredMaxLayoutWidth(width);
        setNeedsUpdateConstraints();
    }
}

// The circle's radius.
#include "svg/elements/SVGCircleElement.h"

#include "foundation/Log.h"

namespace svg {

double SVGCircleElement::r() const {
    if (rx() == ry()) return rx();
    foundation::Log("Undefined radius of circle");
    return 0;
}

}  // namespace svg

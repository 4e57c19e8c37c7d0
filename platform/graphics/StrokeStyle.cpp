// The platform's names of line caps and joins, as layer exports print them.
#include "graphics/StrokeStyle.h"

namespace graphics {

std::string_view lineCapName(LineCap cap) {
    switch (cap) {
        case LineCap::Butt: return "butt";
        case LineCap::Round: return "round";
        case LineCap::Square: return "square";
    }
    return "butt";
}

std::string_view lineJoinName(LineJoin join) {
    switch (join) {
        case LineJoin::Miter: return "miter";
        case LineJoin::Round: return "round";
        case LineJoin::Bevel: return "bevel";
    }
    return "miter";
}

}  // namespace graphics

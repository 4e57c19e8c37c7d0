// A shadow that drawing casts: the filled shape again, underneath, in the
// shadow's colour, moved by the offset and blurred by the blur (both in user
// space, so they scale with the transform).
#pragma once

#include "graphics/Color.h"
#include "graphics/Geometry.h"

namespace graphics {

struct Shadow {
    Size offset;
    double blur = 0;
    Color color = Color::black();
    bool operator==(const Shadow&) const = default;
};

}  // namespace graphics

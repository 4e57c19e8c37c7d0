// How an outline is stroked: colour, width, the shape of ends and corners,
// and an optional dash. A dash pattern that is empty, or has a negative
// length, or no positive one, draws a solid line.
#pragma once

#include <string_view>
#include <vector>

#include "graphics/Color.h"

namespace graphics {

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };

// The platform's names: "butt", "round", "square" and "miter", "round", "bevel".
std::string_view lineCapName(LineCap cap);
std::string_view lineJoinName(LineJoin join);

struct StrokeStyle {
    Color color = Color::black();
    double lineWidth = 1;
    LineCap lineCap = LineCap::Butt;
    LineJoin lineJoin = LineJoin::Miter;
    double miterLimit = 10;
    std::vector<double> dashPattern;
    double dashPhase = 0;

    bool operator==(const StrokeStyle&) const = default;
};

}  // namespace graphics

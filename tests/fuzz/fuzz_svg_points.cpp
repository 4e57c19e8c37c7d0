// Any text given as polygon or polyline points reads without a sanitizer
// report: a polygon's path is closed whenever it has one, a polyline never
// holds more points than half its tokens, and every coordinate is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/Log.h"
#include "svg/elements/SVGPolygonElement.h"
#include "svg/elements/SVGPolylineElement.h"

using namespace svg;

namespace {

void checkFinite(const graphics::Path& path) {
    for (const auto& segment : path.elements()) {
        for (int i = 0; i < segment.pointCount(); ++i) {
            if (!std::isfinite(segment.points[i].x) || !std::isfinite(segment.points[i].y)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const bool quiet = (foundation::setLogSink([](const std::string&) {}), true);
    (void)quiet;
    std::string text(reinterpret_cast<const char*>(bytes), size);

    auto polygon = std::make_shared<SVGPolygonElement>("polygon", std::map<std::string, std::string>{});
    polygon->parseData(text);
    if (text.empty() != !polygon->pathForShapeInRelativeCoords()) std::abort();
    if (const auto& path = polygon->pathForShapeInRelativeCoords()) {
        checkFinite(*path);
        if (!path->isEmpty() && path->elements().back().type != graphics::PathElement::Type::CloseSubpath) {
            std::abort();
        }
    }

    auto polyline = SVGPolylinePointsPathCreate(text, false);
    checkFinite(*polyline);
    if (polyline->elements().size() > size / 2 + 1) std::abort();
    auto closed = SVGPolylinePointsPathCreate(text, true);
    if (closed->elements().size() > polyline->elements().size() + 1) std::abort();
    return 0;
}

// Any text given as path data reads to a path without a sanitizer report and
// in time linear in its length: every segment costs at least one character,
// so the path never holds more than two elements per input byte, and every
// coordinate is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/Log.h"
#include "svg/elements/SVGPathElement.h"

using namespace svg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const bool quiet = (foundation::setLogSink([](const std::string&) {}), true);
    (void)quiet;
    std::string text(reinterpret_cast<const char*>(bytes), size);

    auto element = std::make_shared<SVGPathElement>("path", std::map<std::string, std::string>{});
    element->parseData(text);
    const auto& path = element->pathForShapeInRelativeCoords();
    if (!path) std::abort();
    if (path->elements().size() > 2 * size + 1) std::abort();
    if (!path->isEmpty() && path->elements().front().type != graphics::PathElement::Type::MoveToPoint) std::abort();
    for (const auto& segment : path->elements()) {
        for (int i = 0; i < segment.pointCount(); ++i) {
            if (!std::isfinite(segment.points[i].x) || !std::isfinite(segment.points[i].y)) std::abort();
        }
    }
    return 0;
}

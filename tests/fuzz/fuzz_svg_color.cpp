// Any text given as a colour or a length reads without a sanitizer report:
// a colour is always opaque and converts to a platform colour within 0...1,
// and a length always answers one of the SVG length units.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "svg/css/SVGLength.h"
#include "svg/elements/SVGRGBAColor.h"

using namespace svg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);

    SVGRGBAColor color = SVGRGBAColorFromString(text.c_str());
    if (color.a != 255) std::abort();
    graphics::Color platformColor = CGColorFromSVGRGBAColor(color);
    for (double component : platformColor.components()) {
        if (component < 0 || component > 1) std::abort();
    }
    (void)SVGRGBAColorForKeyword(text);

    auto length = SVGLength::svgLengthFromNSString(text);
    if (length->unitType() < SVG_LENGTHTYPE_UNKNOWN || length->unitType() > SVG_LENGTHTYPE_PC) std::abort();
    (void)length->value();
    (void)length->pixelsValue();
    (void)length->numberValue();
    return 0;
}

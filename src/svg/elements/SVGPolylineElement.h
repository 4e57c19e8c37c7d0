// The "polyline" element: its "points" read by a character-level tokenizer,
// left open.
#pragma once

#include <string_view>

#include "graphics/MutablePath.h"
#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

// The points tokenizer. Blanks, tabs, line feeds and commas separate tokens;
// "-", "." and digits make them up; every other byte is dropped without
// ending its token (so "1e5" reads 15). Tokens pair up into points, the first
// a move and the others lines; a lone last number is dropped, and a token
// that holds no number ("-" alone) reads 0. Closed when asked. The caller
// owns the new path.
graphics::MutablePathPtr SVGPolylinePointsPathCreate(std::string_view points, bool close);

class SVGPolylineElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // The inherited step, then "points", open; empty points leave no path.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGPolylineElement"; }
};

}  // namespace svg

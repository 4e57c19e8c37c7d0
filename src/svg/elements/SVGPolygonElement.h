// The "polygon" element: its "points" read as one move and lines, closed.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGPolygonElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // The inherited step, then "points".
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    // Empty points leave the shape without a path.
    void parseData(const std::string& points);

    std::string className() const override { return "SVGPolygonElement"; }
};

}  // namespace svg

// The "path" element: its "d" attribute read as path data.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGPathElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // The inherited step, then "d".
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    // Splits the data into commands and reads each into a new path, which
    // becomes the shape's path. A command letter without arguments is
    // skipped; text where no command letter stands ends the reading; arcs
    // and smooth quadratic curves are logged and left out.
    void parseData(const std::string& data);

    std::string className() const override { return "SVGPathElement"; }
};

}  // namespace svg

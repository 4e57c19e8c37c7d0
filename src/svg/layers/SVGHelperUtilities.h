// What the element classes share when they build their layer: the element's
// transform into document coordinates (viewports of svg elements included),
// the common layer set-up with the keys through which the indoor map finds
// rooms, and the whole shape layer of a path-based element.
#pragma once

#include <string>

#include "graphics/AffineTransform.h"
#include "graphics/Layer.h"
#include "graphics/MutablePath.h"

namespace svg {

class SVGElement;

// The layer keys the indoor map reads. Values are the element's texts as
// written.
inline constexpr const char* kSVGElementIdentifierKey = "SVGElementIdentifier";
inline constexpr const char* kSVGElementIsSelectableKey = "SVGElementIsSelectable";
inline constexpr const char* kSVGElementPointOfInterestTypeKey = "SVGElementPointOfInterestType";

class SVGHelperUtilities {
public:
    SVGHelperUtilities() = delete;

    // The element's own transform (identity when it carries none), then the
    // viewport transform it establishes, if it establishes one.
    static graphics::AffineTransform transformRelativeIncludingViewportForTransformableOrViewportEstablishingElement(
        const SVGElement& element);
    // From the element's user space to document coordinates: its relative
    // transform, then those of its transformable and svg ancestors upward.
    static graphics::AffineTransform transformAbsoluteIncludingViewportForTransformableOrViewportEstablishingElement(
        const SVGElement& element);

    // Name, the three layer keys and the cascaded opacity (1 when none).
    static void configureCALayer(graphics::Layer& layer, const SVGElement& usingElement);
    // A hit-testing shape layer framed on the integral bounds of the path in
    // document coordinates, with the path re-based onto that frame and the
    // cascaded stroke and fill. A fill "url(#id)" naming a gradient gives
    // the gradient's layer instead, masked by the shape layer; one naming
    // anything else gives null. A null path draws nothing but still gets its
    // layer.
    static graphics::LayerPtr newCALayerForPathBasedSVGElement(const SVGElement& element,
                                                               const graphics::PathPtr& withPath);
};

// A copy of the path with every point, control points included, moved by
// minus the offset. The caller owns the result.
graphics::MutablePathPtr SVGPathCreateByOffsetting(const graphics::Path& path, graphics::Point offset);

}  // namespace svg

// The point-of-interest attributes of the floor plans, read by the generic
// attribute step right after "id". The element keeps the raw texts of
// "isSelectable", "type" and "idRoom" for the layer keys; a selectable
// element is also handed to the floor-plan sink while it collects.
#include "svg/elements/SVGElement.h"

#include "foundation/StringUtils.h"
#include "svg/floorplan/SVGFloorPlanAttributes.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

namespace svg {

void SVGElement::readPointOfInterestAttributes() {
    if (std::string selectable = getAttribute("isSelectable"); !selectable.empty()) {
        rareForWriting().isSelectable = selectable;
        collectPointOfInterest();
    }
    if (std::string type = getAttribute("type"); !type.empty()) rareForWriting().pointOfInterestType = type;
    if (std::string room = getAttribute("idRoom"); !room.empty()) rareForWriting().idRoom = room;
}

void SVGElement::collectPointOfInterest() {
    SVGFloorPlanSink* sink = SVGFloorPlanSink::collectingSink();
    if (!sink) return;
    SVGFloorPlanPointOfInterest pointOfInterest;
    pointOfInterest.identifier = identifier_;
    pointOfInterest.type = givenAttribute(*this, "type");
    pointOfInterest.idRoom = givenAttribute(*this, "idRoom");
    pointOfInterest.categoryName = givenAttribute(*this, "categoryName");
    // Files that escape the ampersand of a title twice leave "&#38;" behind
    // after XML decoding.
    if (auto title = givenAttribute(*this, "title")) {
        pointOfInterest.title = foundation::StringUtils::replace(*title, "&#38;", "&");
    }
    // Only the exact word "false" switches a flag off.
    pointOfInterest.isSelectable = getAttribute("isSelectable") != "false";
    if (auto listed = givenAttribute(*this, "isInDestinationList")) {
        pointOfInterest.isInDestinationList = *listed != "false";
    }
    if (auto navigable = givenAttribute(*this, "isNavigatable")) pointOfInterest.isNavigateable = *navigable != "false";
    sink->addPointOfInterest(pointOfInterest);
}

}  // namespace svg

#include "maps/InteractiveMapsDetailsViewController.h"

#include "app/StubPlaceholder.h"
#include "foundation/Format.h"
#include "uikit/UIStoryboard.h"

namespace {

std::vector<InteractiveMapsDetailsViewController::Navigation>& navigations() {
    static std::vector<InteractiveMapsDetailsViewController::Navigation> recorded;
    return recorded;
}

}  // namespace

void InteractiveMapsDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<InteractiveMapsDetailsViewController>(); });
}

void InteractiveMapsDetailsViewController::navigateFromController(
    const std::shared_ptr<uikit::UIViewController>& source, int navType, const std::optional<std::string>& locationId,
    bool shouldWaitUntilPositionIsGot, bool hasPositionGotWhenComesFromSpotlight) {
    const std::string sourceName = source ? source->className() : std::string("nil");
    navigations().push_back(
        {sourceName, navType, locationId, shouldWaitUntilPositionIsGot, hasPositionGotWhenComesFromSpotlight});
    using StubPlaceholder::flag;
    open<InteractiveMapsDetailsViewController>(
        source, navType,
        foundation::Format("navigateFromController: %@ withNavType: %d forLocationId: %@ "
                           "shouldWaitUntilPositionIsGot: %@ hasPositionGotWhenComesFromSpotlight: %@",
                           sourceName, navType, StubPlaceholder::text(locationId), flag(shouldWaitUntilPositionIsGot),
                           flag(hasPositionGotWhenComesFromSpotlight)));
}

const std::vector<InteractiveMapsDetailsViewController::Navigation>&
InteractiveMapsDetailsViewController::recordedNavigations() {
    return navigations();
}

void InteractiveMapsDetailsViewController::resetRecordedNavigations() { navigations().clear(); }

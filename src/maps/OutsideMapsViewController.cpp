#include "maps/OutsideMapsViewController.h"

#include "app/StubPlaceholder.h"
#include "foundation/Format.h"
#include "uikit/UIStoryboard.h"

namespace {

std::vector<OutsideMapsViewController::Navigation>& navigations() {
    static std::vector<OutsideMapsViewController::Navigation> recorded;
    return recorded;
}

}  // namespace

void OutsideMapsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OutsideMapsViewController>(); });
}

void OutsideMapsViewController::navigateFromController(const std::shared_ptr<uikit::UIViewController>& source,
                                                       int navType,
                                                       const std::optional<std::string>& preselectedBuildingName) {
    const std::string sourceName = source ? source->className() : std::string("nil");
    navigations().push_back({sourceName, navType, preselectedBuildingName});
    open<OutsideMapsViewController>(
        source, navType,
        foundation::Format("navigateFromController: %@ withNavType: %d forPreselectedBuildingName: %@", sourceName,
                           navType, StubPlaceholder::text(preselectedBuildingName)));
}

const std::vector<OutsideMapsViewController::Navigation>& OutsideMapsViewController::recordedNavigations() {
    return navigations();
}

void OutsideMapsViewController::resetRecordedNavigations() { navigations().clear(); }

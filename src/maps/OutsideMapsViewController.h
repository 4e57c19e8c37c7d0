// The outdoor venue map, standing in until the maps are built: opened by
// the class-wide navigate operation, it records the arguments and shows
// them. Scene "OutsideMapsViewController" (addScene). Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapStubScreen.h"

namespace uikit {
class UIStoryboard;
}

class OutsideMapsViewController : public MapStubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "OutsideMapsViewController";
    static constexpr const char* kTitle = "Venue map";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // One call of navigateFromController, as it was made.
    struct Navigation {
        std::string sourceClassName;
        int navType = 0;
        std::optional<std::string> preselectedBuildingName;
    };

    // Type 0 pushes the map on the source's navigation controller, with the
    // building preselected when one is named.
    static void navigateFromController(const std::shared_ptr<uikit::UIViewController>& source, int navType,
                                       const std::optional<std::string>& preselectedBuildingName);
    static const std::vector<Navigation>& recordedNavigations();
    static void resetRecordedNavigations();

    Text vcTitle() const override { return std::string(kTitle); }
    std::string className() const override { return "OutsideMapsViewController"; }
};

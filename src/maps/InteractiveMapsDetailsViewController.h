// The indoor map screen, standing in until the maps are built: opened by
// the class-wide navigate operation, it records the arguments and shows
// them. Scene "InteractiveMapsDetailsViewController" (addScene). Main
// thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapStubScreen.h"

namespace uikit {
class UIStoryboard;
}

class InteractiveMapsDetailsViewController : public MapStubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "InteractiveMapsDetailsViewController";
    static constexpr const char* kTitle = "Indoor map";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // One call of navigateFromController, as it was made.
    struct Navigation {
        std::string sourceClassName;
        int navType = 0;
        std::optional<std::string> locationId;
        bool shouldWaitUntilPositionIsGot = false;
        bool hasPositionGotWhenComesFromSpotlight = false;
    };

    // Type 0 pushes the map on the source's navigation controller; the last
    // flag says whether a beacon position is already known.
    static void navigateFromController(const std::shared_ptr<uikit::UIViewController>& source, int navType,
                                       const std::optional<std::string>& locationId, bool shouldWaitUntilPositionIsGot,
                                       bool hasPositionGotWhenComesFromSpotlight);
    // Every navigation since the last reset, oldest first.
    static const std::vector<Navigation>& recordedNavigations();
    static void resetRecordedNavigations();

    Text vcTitle() const override { return std::string(kTitle); }
    std::string className() const override { return "InteractiveMapsDetailsViewController"; }
};

// What a details screen that stands in for one not built yet carries, on top
// of a stand-in's recorded calls: the inputs its details base was given
// (entity name, identifier, swiping, the parent list and the row there),
// shown in the screen dump, and each object it was asked to show, recorded
// as "updateUIContentForObject: <entity> <id>" (or "... nil" when the object
// is gone). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/StubScreen.h"

class DetailsScreenSupport;

namespace coredata {
class ManagedObject;
}

namespace uikit {
class UIViewController;
}

class DetailsStubScreen : public StubScreen {
protected:
    // Records the object shown.
    void recordShownObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // The dump's items: the stand-in's, then the five inputs.
    std::vector<std::pair<std::string, std::string>> detailsStubDescriptionItems(
        const std::string& className, const DetailsScreenSupport& inputs) const;
    // A stand-in's view: plain white.
    static void paintWhite(uikit::UIViewController& screen);
};

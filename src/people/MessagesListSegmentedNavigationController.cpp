#include "people/MessagesListSegmentedNavigationController.h"

#include "app/StubPlaceholder.h"

std::vector<uikit::UIViewControllerPtr> MessagesListSegmentedNavigationController::createSegmentedControllers() {
    return {StubPlaceholder::screenWithTitle("Messages")};
}

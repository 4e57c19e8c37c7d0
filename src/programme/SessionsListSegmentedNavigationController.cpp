#include "programme/SessionsListSegmentedNavigationController.h"

#include "app/StubPlaceholder.h"
#include "programme/AddPersonalEntryViewController.h"

using StubPlaceholder::flag;
using StubPlaceholder::text;

void SessionsListSegmentedNavigationController::displayProgrammeList() { recordCall("displayProgrammeList"); }

void SessionsListSegmentedNavigationController::displayAgendaList() { recordCall("displayAgendaList"); }

void SessionsListSegmentedNavigationController::filterSessionsWithStarredParticipants() {
    recordCall("filterSessionsWithStarredParticipants");
}

void SessionsListSegmentedNavigationController::filterSessionsWithNotes() { recordCall("filterSessionsWithNotes"); }

void SessionsListSegmentedNavigationController::filterSessionsByType(const Text& type) {
    recordCall("filterSessionsByType: " + text(type));
}

void SessionsListSegmentedNavigationController::filterSessionsBySpouseAllowed(bool allowed) {
    recordCall(std::string("filterSessionsBySpouseAllowed: ") + flag(allowed));
}

void SessionsListSegmentedNavigationController::filterSessionsByPressAllowed(bool allowed) {
    recordCall(std::string("filterSessionsByPressAllowed: ") + flag(allowed));
}

void SessionsListSegmentedNavigationController::filterSessionsByHasMeal(bool hasMeal) {
    recordCall(std::string("filterSessionsByHasMeal: ") + flag(hasMeal));
}

std::vector<uikit::UIViewControllerPtr> SessionsListSegmentedNavigationController::createSegmentedControllers() {
    auto placeholder = StubPlaceholder::screenWithTitle("Sessions");
    // The session lists open the personal-entry form from their bar.
    std::weak_ptr<SessionsListSegmentedNavigationController> weakSelf =
        std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(shared_from_this());
    AddPersonalEntryViewController::installOpeningButton(*placeholder, nullptr, [weakSelf] {
        if (auto container = weakSelf.lock()) container->recordCall(AddPersonalEntryViewController::kUnwindAction);
    });
    return {placeholder};
}

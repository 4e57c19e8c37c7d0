#include "programme/SessionsListSegmentedNavigationController.h"

#include "app/StubPlaceholder.h"

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
    return {StubPlaceholder::screenWithTitle("Sessions")};
}

#include "people/ParticipantsListSegmentedNavigationController.h"

#include "app/StubPlaceholder.h"

using StubPlaceholder::text;

void ParticipantsListSegmentedNavigationController::filterParticipantsByCountry(const Text& country) {
    recordCall("filterParticipantsByCountry: " + text(country));
}

void ParticipantsListSegmentedNavigationController::filterParticipantsByNetwork(const Text& network,
                                                                                const Text& community) {
    recordCall("filterParticipantsByNetwork: " + text(network) + " andByCommunity: " + text(community));
}

void ParticipantsListSegmentedNavigationController::filterParticipantsByGroupMembership(const Text& group) {
    recordCall("filterParticipantsByGroupMembership: " + text(group));
}

void ParticipantsListSegmentedNavigationController::filterParticipantsWithNotes() {
    recordCall("filterParticipantsWithNotes");
}

std::vector<uikit::UIViewControllerPtr> ParticipantsListSegmentedNavigationController::createSegmentedControllers() {
    return {StubPlaceholder::screenWithTitle("Participants")};
}

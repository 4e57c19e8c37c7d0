// The participants tab's container, standing in until the people lists
// exist: it shows one placeholder screen and records each filter call.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"
#include "app/StubScreen.h"

class ParticipantsListSegmentedNavigationController : public CustomSegmentedNavigationController, public StubScreen {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    using Text = std::optional<std::string>;

    void filterParticipantsByCountry(const Text& country);
    void filterParticipantsByNetwork(const Text& network, const Text& community);
    void filterParticipantsByGroupMembership(const Text& group);
    void filterParticipantsWithNotes();

    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    std::string className() const override { return "ParticipantsListSegmentedNavigationController"; }
};

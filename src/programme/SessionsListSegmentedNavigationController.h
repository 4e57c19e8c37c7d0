// The sessions tab's container (programme and agenda lists), standing in
// until the programme lists exist: it shows one placeholder screen, whose
// bar opens the personal-entry form, and records each display and filter
// call it receives and each return from the form.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"
#include "app/StubScreen.h"

class SessionsListSegmentedNavigationController : public CustomSegmentedNavigationController, public StubScreen {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    using Text = std::optional<std::string>;

    void displayProgrammeList();
    void displayAgendaList();
    void filterSessionsWithStarredParticipants();
    void filterSessionsWithNotes();
    void filterSessionsByType(const Text& type);
    void filterSessionsBySpouseAllowed(bool allowed);
    void filterSessionsByPressAllowed(bool allowed);
    void filterSessionsByHasMeal(bool hasMeal);

    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    std::string className() const override { return "SessionsListSegmentedNavigationController"; }
};

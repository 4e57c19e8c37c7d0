// The sessions tab: the Programme list and, for users with a personal agenda
// (any of the four "my_agenda:" permissions), the My agenda list, switched by
// the segmented control in the bar. The tab bar and the home screen open the
// Programme through it already filtered: each entry point shows the
// Programme, ends its search and applies a fresh filter set with one value
// chosen, in place of whatever the user had chosen. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"

class FilterModel;
class ListSessionsBaseViewController;
class ProgrammeListDelegate;

class SessionsListSegmentedNavigationController : public CustomSegmentedNavigationController {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    using Text = std::optional<std::string>;

    void displayProgrammeList();
    // Does nothing without the agenda segment.
    void displayAgendaList();
    void filterSessionsWithStarredParticipants();
    void filterSessionsWithNotes();
    void filterSessionsByType(const Text& type);
    void filterSessionsBySpouseAllowed(bool allowed);
    void filterSessionsByPressAllowed(bool allowed);
    void filterSessionsByHasMeal(bool hasMeal);

    // Two list screens of the device storyboard, the agenda's only with one
    // of its permissions.
    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    // The list leaving takes its popovers with it, even off screen (the
    // pad's master hidden in portrait).
    void showControllerAtIndex(int64_t index) override;
    std::string className() const override { return "SessionsListSegmentedNavigationController"; }

private:
    // Shows the Programme, ends its search and applies the set its delegate makes.
    void applyProgrammeFilters(
        const std::function<std::vector<std::shared_ptr<FilterModel>>(ProgrammeListDelegate&)>& makeFilters);
};

// The participants tab: the participants, organisations and contributors
// lists, switched by the segmented control in the bar. The tab bar (and the
// home screen's link to the participants with notes) opens the participants
// already filtered: each shortcut shows the first segment, ends its search
// and applies a fresh filter set with one value preset, in place of
// whatever the user had chosen. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"

class FilterModel;
class ParticipantsListDelegate;

class ParticipantsListSegmentedNavigationController : public CustomSegmentedNavigationController {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    using Text = std::optional<std::string>;

    void filterParticipantsByCountry(const Text& country);
    void filterParticipantsByNetwork(const Text& network, const Text& community);
    void filterParticipantsByGroupMembership(const Text& group);
    void filterParticipantsWithNotes();

    // The three lists of the device storyboard, each with pull-to-refresh.
    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    std::string className() const override { return "ParticipantsListSegmentedNavigationController"; }

private:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;
    void applyParticipantsFilters(const std::function<Filters(ParticipantsListDelegate&)>& makeFilters);
};

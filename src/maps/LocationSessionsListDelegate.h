// The session list of one place: every session held in the room, or in any
// room of the venue, on every day of the meeting, grouped by day under the
// place's name in the list's toolbar (which then pages no days). Everything
// else is the programme list's. Main thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "programme/ProgrammeListDelegate.h"

class LocationSessionsListDelegate : public ProgrammeListDelegate {
public:
    LocationSessionsListDelegate(std::string locationName, std::vector<std::string> roomIds);

    const std::string& locationName() const { return locationName_; }
    const std::vector<std::string>& roomIds() const { return roomIds_; }

    // The rooms' predicate, in place of the day's.
    std::optional<PredicatePtr> fetchPredicate() override;
    Text sectionNameKeyPath() override { return std::string(kDayKey); }
    Text toolbarTitle() override { return locationName_; }

    std::string className() const { return "LocationSessionsListDelegate"; }

private:
    std::string locationName_;
    std::vector<std::string> roomIds_;
};

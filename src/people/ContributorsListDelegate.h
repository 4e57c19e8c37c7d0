// The contributors segment's list: every stored participant with
// contributions, in the booklet or not; its starred section holds only
// followed contributors. Everything else as the participants' list.
// Main thread only.
#pragma once

#include <string>

#include "people/ParticipantsListDelegate.h"

class ContributorsListDelegate : public ParticipantsListDelegate {
public:
    std::optional<PredicatePtr> fetchPredicate() override;
    std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage() override;
    Text searchHintText() override { return std::string("Search in contributors"); }
    Text getStarredSectionHeaderTitle() override { return std::string("Starred contributors"); }
    Text getAnalyticsEventName() override { return std::string("View contributors"); }
    PredicatePtr favoritesFetchPredicate() override;

    std::string className() const override { return "ContributorsListDelegate"; }
};

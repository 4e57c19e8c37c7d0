// The participants segment's list: the stored participants of the booklet,
// by first letter of the last name, searched by name, organisation or
// profile, filtered by country, notes, group, network community, sector and
// organisation country, with the note and star marks of the rows. The
// organisation details' participant list uses it as well, with a predicate
// of its own. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "people/ParticipantsListBaseDelegate.h"

class FilterModel;

class ParticipantsListDelegate : public ParticipantsListBaseDelegate {
public:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;

    static constexpr const char* kFilterSegue = "personsFiltersSegID";
    static constexpr const char* kNotesPresetValue = "With notes";

    ParticipantsListDelegate();

    SortDescriptors sortDescriptors() override;
    std::optional<SortDescriptors> sortDescriptorsForSearch() override;
    Text sectionNameKeyPath() override { return std::string("sectionTitle"); }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return searchScopesArray_; }
    std::optional<PredicatePtr> fetchPredicate() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage() override;
    std::optional<std::shared_ptr<SegBarButtonItem>> rightBarButtonItem() override;
    Text searchHintText() override { return std::string("Search in participants"); }
    Text getStarredSectionHeaderTitle() override { return std::string("Starred participants"); }
    Text getAnalyticsEventName() override { return std::string("View participants"); }
    // The followed participants, wherever they are listed.
    virtual PredicatePtr favoritesFetchPredicate();

    bool implementsRefreshContentWhenPulledToRefresh() const override { return true; }
    void refreshContentWhenPulledToRefresh() override;

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;
    // The row's itemId; none for an index path the controller does not hold.
    Text getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath,
                                 coredata::FetchedResultsController& fromFetchController) override;

    // A new set each time: country, notes (with "event:notes"), group, one
    // network filter per network of two or more communities, sector,
    // organisation country.
    std::optional<Filters> filtersCollection() override;
    // The set with one filter preset; a preset whose filter is not in the
    // set leaves the set as it is.
    Filters filtersWithSelectedCountry(const std::string& country);
    Filters filtersWithSelectedNetwork(const std::string& network, const std::string& andSelectedCommunity);
    Filters filtersWithSelectedGroup(const std::string& group);
    Filters filtersWithNotes();

    std::string className() const override { return "ParticipantsListDelegate"; }

private:
    Filters filtersWithValue(const std::string& filterClassName, const std::string& value);

    std::vector<std::shared_ptr<SearchScopeModel>> searchScopesArray_;
};

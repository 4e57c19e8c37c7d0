// The Programme tab's list: the user's selections, responsibilities and
// pending or accepted invitations, then every official session not listed
// yet, one day at a time in hour sections. It offers the programme's filters
// (the notes and starred-participant filters only with their permissions)
// and the filter sets the tab bar, the home screen and the session pages
// open it with. The per-room and per-participant session lists derive from
// it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "programme/ListSessionsBaseDelegate.h"

class CoreDataStack;

class ProgrammeListDelegate : public ListSessionsBaseDelegate {
public:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;

    static constexpr const char* kSearchHint = "Search in programme";
    static constexpr const char* kAnalyticsEventName = "View programme";
    static constexpr const char* kSegmentImage = "calendar-white.png";
    static constexpr const char* kFilterButtonImage = "list-filter.png";
    static constexpr const char* kFiltersSegue = "sessionsFiltersSegID";

    ProgrammeListDelegate();

    // --- Protocol ---
    std::string entityName() override;
    std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> listSelectionModelEntities() override;
    std::optional<PredicatePtr> fetchPredicate() override;
    Text sectionNameKeyPath() override { return std::string(kSectionKey); }
    SortDescriptors sortDescriptors() override;
    std::optional<SortDescriptors> sortDescriptorsForSearch() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    Text searchHintText() override { return std::string(kSearchHint); }
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }
    std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage() override;
    void refreshContentWhenPulledToRefresh() override;
    std::optional<std::shared_ptr<SegBarButtonItem>> rightBarButtonItem() override;
    // The days of the sessions, selections, responsibilities and pending or
    // accepted invitations under the filters, merged; kept while the filters
    // and what the store shows stay the same.
    void refreshAllDaysArray(const std::shared_ptr<CoreDataStack>& stack,
                             const PredicatePtr& forCompoundPredicate) override;

    // New filters on every call: Date, Time, Type, Location, Press allowed,
    // Spouse allowed, With meal; then Notes when "event:notes" is granted and
    // the starred participants when "relationships:read" is, in the current
    // store.
    std::optional<Filters> filtersCollection() override;
    // The set of the given stack (none: the permissions count as refused).
    static Filters filtersCollectionForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack);
    // A fresh set with the filter of that class (its className) set to the
    // value; every filter at its default when the class is not in the set.
    Filters getFiltersWithSelectedValue(const std::string& value, const std::string& forFilterModel);
    Filters filtersWithStarredParticipants();
    Filters filtersWithNotes();

    // Shared with the agenda: the four descriptions, the last being `last`
    // (entity, model class) and the invitations restricted by `invitations`.
    static std::vector<std::shared_ptr<ListSelectionModel>> selectionModels(const char* lastEntity,
                                                                           const char* lastModelClass,
                                                                           const PredicatePtr& invitations);
    // The shown day's rows: "startDateString" equal to the current day.
    static PredicatePtr dayPredicate(const Text& day);
    // Pending or accepted invitations.
    static PredicatePtr listedInvitationsPredicate();
    // Sections by start hour, then start, keyword and title.
    static SortDescriptors sessionListSortDescriptors();
    static SortDescriptors sessionSearchSortDescriptors();

    std::string className() const override { return "ProgrammeListDelegate"; }

private:
    StoreReadStamp daysRead_;
    PredicatePtr daysFilters_;
};

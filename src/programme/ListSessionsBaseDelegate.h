// What the session lists share behind their screen: the meeting days the
// list can page through and the day shown, and the lookups that flag a row
// (in the agenda, outside the official programme, with a note) and place it
// (rooms and venues). The lookups are read again from the store at each
// refresh of the additional data that finds the store showing something
// else than when they were last read; between refreshes every row is
// answered from them, so filling a row never reaches the store. The flags are kept
// as hash sets beside the arrays, and each room's location text once worked
// out: a day of several hundred rows costs one look-up per flag and row,
// whatever the size of the meeting.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/Value.h"
#include "lists/ListsDataSourceProtocol.h"
#include "store/StoreReadStamp.h"

class QVASession;
class SegBarButtonItemProtocol;
class SubactivityCell;

class ListSessionsBaseDelegate : public ListsDataSourceProtocol {
public:
    using Strings = std::vector<std::string>;

    static constexpr const char* kNoEntriesDay = "No entries";
    static constexpr const char* kDayKey = "startDateString";
    static constexpr const char* kSectionKey = "sectionTitle";

    ListSessionsBaseDelegate();

    const foundation::Value::Array& roomsModelArray() const { return roomsModelArray_; }
    const foundation::Value::Array& venuesModelArray() const { return venuesModelArray_; }
    const Strings& agendaIDsArray() const { return agendaIDsArray_; }
    const Strings& sessionsOfficialIdsArray() const { return sessionsOfficialIdsArray_; }
    const Strings& personalNoteIdsArray() const { return personalNoteIdsArray_; }

    // The days ("yyyy-MM-dd", ascending) and the day shown.
    const Strings& allDays() const { return allDays_; }
    // Stores the days and chooses the current day: the one shown while it
    // still exists, else the first that is today in the meeting's time
    // zone (only when none was chosen yet), else the first; "No entries"
    // without days.
    void setAllDays(Strings days);
    const Text& currentDay() const { return currentDay_; }
    const std::vector<std::shared_ptr<SearchScopeModel>>& searchScopesArray() const { return searchScopesArray_; }

    // --- Protocol ---
    // Sessions of the official programme, by start (lists that show more override it).
    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return searchScopesArray_; }

    bool implementsRefreshAdditionalDataSource() const override { return true; }
    // Raises off the main thread; else the days under the list's filters,
    // then every lookup, from the stack's main-queue context (kept when it
    // shows what it showed at the last read).
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                     LiteListBaseViewController& forController) override;
    bool implementsRefreshAllDaysArray() const override { return true; }
    void refreshAllDaysArray(const std::shared_ptr<CoreDataStack>& stack,
                             const PredicatePtr& forCompoundPredicate) override;
    bool implementsCurrentDayString() const override { return true; }
    Text currentDayString() override { return currentDay_; }
    void setCurrentDayString(Text day) override { currentDay_ = std::move(day); }
    std::optional<Strings> allDaysArray() override { return allDays_; }

    bool implementsModelObjectConfigureCell() const override { return true; }
    // A session row (or any of its subclasses) into a session row cell; rows
    // of other classes and other cells are left alone.
    void modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                     BaseViewController& inController) override;
    // The same, typed: a session's row filled from the lookups.
    void configureCell(SubactivityCell& cell, const QVASession& session, bool forSearch = true) const;

    // The stored session's id for a fetched-results list's row; none for
    // another entity or a path past the rows.
    Text getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath,
                                 coredata::FetchedResultsController& fromFetchController) override;
    bool implementsRefreshContentWhenPulledToRefresh() const override { return true; }
    void refreshContentWhenPulledToRefresh() override {}

    bool subactivityIsInAgendaWithId(const std::string& itemId) const { return agendaIds_.count(itemId) > 0; }
    bool subactivityIsAPrivateSessionWithId(const std::string& itemId) const {
        return officialIds_.count(itemId) == 0;
    }
    bool subactivityHasPersonalNotes(const std::string& itemId) const { return noteIds_.count(itemId) > 0; }

    // The row's time text: "<day>, <time>" for a search result, the display time otherwise.
    static Text timeTextForSession(const QVASession& session, bool forSearch);
    // The row's location text from the lookups.
    Text locationTextForSession(const QVASession& session) const;

    // How many times the lookups were read, for tests.
    int refreshCount() const { return refreshCount_; }

    virtual std::string className() const { return "ListSessionsBaseDelegate"; }

protected:
    void setSearchScopesArray(std::vector<std::shared_ptr<SearchScopeModel>> scopes) {
        searchScopesArray_ = std::move(scopes);
    }

private:
    foundation::Value::Array roomsModelArray_;
    foundation::Value::Array venuesModelArray_;
    Strings agendaIDsArray_;
    Strings sessionsOfficialIdsArray_;
    Strings personalNoteIdsArray_;
    std::unordered_set<std::string> agendaIds_;
    std::unordered_set<std::string> officialIds_;
    std::unordered_set<std::string> noteIds_;
    // Each room's location text, worked out once per read of the rooms: a room is
    // looked up among all the rooms, which grow with the meeting.
    mutable std::unordered_map<std::string, Text> locationByRoom_;
    StoreReadStamp lookupsRead_;
    Strings allDays_;
    Text currentDay_;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopesArray_;
    int refreshCount_ = 0;
};

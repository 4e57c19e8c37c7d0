// The home screen: the first tab on the phone, the split view's detail pane
// on the pad. One table (the home table) of seven sections, each known by its
// title and built from the store of the current account and meeting:
// notifications, what runs now, what comes next, the sessions of starred
// participants, and after the meeting the sessions and participants with
// notes. A search bar above the table hands its results table to the global
// search.
//
// The screen never writes to the store. It rebuilds its sections whenever
// something it shows may have changed: a save of an observed kind on the
// main-queue context it found at load (one reload per save, on a later turn
// of the main run loop), and the return to the foreground. The mode (before
// or during the meeting, or after it) is chosen again at every rebuild: the
// meeting ends at midnight of its last day in the meeting zone plus one day.
//
// Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "foundation/Value.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"

class GlobalSearchManager;
class IdIndexPair;
class QVASessionOccupancy;
class SpotlightSectionDataModel;
class SpotlightSessionModel;
struct SearchAdditionalDataSources;

namespace coredata {
class Predicate;
}

namespace foundation {
struct Notification;
}

namespace uikit {
class UISearchBar;
}

class SpotlightViewController : public BaseViewController,
                                public uikit::UITableViewDataSource,
                                public uikit::UITableViewDelegate,
                                public uikit::UISearchDisplayDelegate,
                                public SwipeParentControllerProtocol {
public:
    using Strings = std::vector<std::string>;
    using SectionModelPtr = std::shared_ptr<SpotlightSectionDataModel>;
    // Section title → its entry; a section not loaded has none.
    using DataSourceDictionary = std::map<std::string, SectionModelPtr>;
    using SessionModels = std::vector<std::shared_ptr<SpotlightSessionModel>>;

    static constexpr int64_t kNumberOfSections = 7;
    static constexpr int64_t kNotificationsSection = 1;
    static constexpr int64_t kWhatsOnNowSection = 2;
    static constexpr int64_t kComingUpSection = 3;
    static constexpr int64_t kStarredParticipantsSessionsSection = 4;
    static constexpr int64_t kSessionsWithNotesSection = 5;
    static constexpr int64_t kParticipantsWithNotesSection = 6;
    static constexpr double kSectionHeaderHeight = 23;
    static constexpr size_t kComingUpRows = 6;
    static constexpr size_t kStarredSessionsCapBeforeAndDuring = 3;
    // One day after midnight of the meeting's last day.
    static constexpr double kMeetingEndAfterLastDayStart = 86400;

    static constexpr const char* kNotificationsTitle = "Notifications";
    static constexpr const char* kWhatsOnNowTitle = "What's on now";
    static constexpr const char* kComingUpTitle = "Coming up";
    static constexpr const char* kStarredParticipantsSessionsTitlePhone = "Starred participants' sessions";
    static constexpr const char* kStarredParticipantsSessionsTitlePad = "Sessions with my starred participants";
    static constexpr const char* kSessionsWithNotesTitle = "Sessions with notes";
    static constexpr const char* kParticipantsWithNotesTitle = "Participants with notes";
    static constexpr const char* kStarredParticipantsSessionsMorePhone = "View all starred participants' sessions";
    static constexpr const char* kStarredParticipantsSessionsMorePad = "View all sessions with my starred participants";
    static constexpr const char* kSessionsWithNotesMore = "View all sessions with notes";
    static constexpr const char* kParticipantsWithNotesMore = "View all participants with notes";

    static constexpr const char* kBeforeOrDuringMeetingLog = "Spotlight - Before or during meeting";
    static constexpr const char* kAfterMeetingLog = "Spotlight - After meeting";
    static constexpr const char* kRefreshLog = "Refresh spotlight!!!";
    static constexpr const char* kForegroundRefreshLog = "Refresh spotlight when coming from background!!!";
    static constexpr const char* kDeallocLog = "Dealloc spotlight view controller";
    static constexpr const char* kViewHomepageEvent = "View app homepage";
    static constexpr const char* kOffMainThreadSaveException = "New exception introduced for parent child core data contexts";
    static constexpr const char* kOffMainThreadUpdateException = "Please call this method from main thread only";

    // The rows' reuse identifiers.
    static constexpr const char* kMoreCellIdentifier = "spotlightMoreCellID";
    static constexpr const char* kNotificationCellIdentifier = "spotlightNotificationCellId";
    static constexpr const char* kParticipantCellIdentifier = "spotlightParticipantCellID";
    static constexpr const char* kSessionCellIdentifier = "spotlightSessionCellID";

    SpotlightViewController();
    ~SpotlightViewController() override;

    // The section's title for the device's idiom, asked afresh at every call.
    static std::string titleForSection(int64_t section);

    // --- State ---
    const DataSourceDictionary& dataSourceDictionary() const { return dataSourceDictionary_; }
    // The entry under the section's title, or null.
    SectionModelPtr sectionModelForSection(int64_t section) const;
    bool isCurrentMeetingInThePast() const { return isCurrentMeetingInThePast_; }
    const Strings& personalNoteIdsArray() const { return personalNoteIdsArray_; }
    const Strings& agendaIDsArray() const { return agendaIDsArray_; }
    const Strings& sessionsOfficialIdsArray() const { return sessionsOfficialIdsArray_; }
    const foundation::Value::Array& roomsModelArray() const { return roomsModelArray_; }
    const foundation::Value::Array& venuesModelArray() const { return venuesModelArray_; }
    // The five lists, as the search results' rows take them.
    SearchAdditionalDataSources additionalDataSources() const;
    // The occupancy cache: session id → its last known occupancy.
    std::map<std::string, std::shared_ptr<QVASessionOccupancy>>& statusForSessionsDictionary() {
        return statusForSessionsDictionary_;
    }
    const std::shared_ptr<GlobalSearchManager>& globalSearchManager() const { return globalSearchManager_; }
    const std::shared_ptr<uikit::UITableView>& homeTableView() const { return homeTableView_; }
    const std::shared_ptr<uikit::UISearchBar>& searchBar() const { return searchBar_; }

    // --- Loading ---
    // Chooses the mode and rebuilds every section into a new dictionary.
    void loadSpotlight();
    void loadAdditionalDataSources();
    void loadNotifications();
    void loadWhatsOnNow();
    void loadComingUp();
    // Section 4; before or during the meeting only the sessions not ended yet.
    void loadSessionsWithStarredParticipants(bool afterMeeting);
    void loadSessionsWithNotes();
    void loadParticipantsWithNotes();
    // One row per session id, agenda entries over the official session, in
    // the session lists' order. Elements that are not stored sessions are skipped.
    SessionModels getSessionsModelFromCoreDataSessionsArray(const foundation::Value::Array& sessions) const;
    void limitNumberOfDisplayedItems(bool afterMeeting);
    static void limitSectionModel(const SectionModelPtr& section, size_t maxItemsNumber);
    // YES when any loaded section holds a row (notifications count).
    bool tableHasAtLeastSomethingToBeDisplayed() const;

    SectionModelPtr sessionsWithStarredParticipantsSectionModel() const;
    void setSessionsWithStarredParticipantsSectionModel(SectionModelPtr model);
    SectionModelPtr sessionsWithNotesSectionModel() const;
    void setSessionsWithNotesSectionModel(SectionModelPtr model);
    SectionModelPtr participantsWithNotesSectionModel() const;
    void setParticipantsWithNotesSectionModel(SectionModelPtr model);

    // --- Reloading ---
    // The entity names whose saves reload the screen (sub-entities included).
    static std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates();
    void contextDidSave(const foundation::Notification& notification);
    void updateUiContentBecauseItsNeeded();
    void refreshDataAndTable();
    void onApplicationWillEnterForeground() override;
    // Whether a main-queue context was there to observe when the view loaded.
    bool isObservingSaves() const { return observedContext_ != nullptr; }

    // --- Left to the screen's actions, rows and maps ---
    // Asks for the occupancy of the shown sessions; nothing yet.
    virtual void loadSessionsOccupancy() {}
    // The navigation bar's buttons as the maps allow; nothing yet.
    virtual void setUpNavigationBarForMaps() {}
    // A home-table row: a plain cell with the row's title, message or full
    // name, the "more" row with its text.
    virtual uikit::UITableViewCellPtr homeCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                const uikit::NSIndexPath& indexPath);

    // --- UIKit ---
    Text vcTitle() const override { return std::string("Home"); }
    void loadView() override;
    void viewDidLoad() override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section);
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;

    // No neighbour to swipe to yet.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId,
        const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "SpotlightViewController"; }

private:
    std::shared_ptr<SpotlightViewController> self();
    void observeSavesOfCurrentStore();
    // The first rows of the merge of the stored sessions the predicate selects.
    SessionModels fetchSessionModels(const std::shared_ptr<const coredata::Predicate>& predicate,
                                     size_t maxRows = SIZE_MAX) const;
    SessionModels mergedSessionModels(const foundation::Value::Array& sessions, size_t maxRows) const;
    void storeSection(const std::string& title, SectionModelPtr model);
    // The row models of a section's entry, none without one.
    size_t rowModelCount(int64_t section) const;

    DataSourceDictionary dataSourceDictionary_;
    bool isCurrentMeetingInThePast_ = false;
    Strings personalNoteIdsArray_;
    Strings agendaIDsArray_;
    Strings sessionsOfficialIdsArray_;
    foundation::Value::Array roomsModelArray_;
    foundation::Value::Array venuesModelArray_;
    std::map<std::string, std::shared_ptr<QVASessionOccupancy>> statusForSessionsDictionary_;
    std::shared_ptr<GlobalSearchManager> globalSearchManager_;
    std::shared_ptr<uikit::UITableView> homeTableView_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
    // The context whose saves are observed, to tell its notifications apart
    // (identity only; the notification centre's registration keeps it).
    const foundation::Object* observedContext_ = nullptr;
};

using SpotlightViewControllerPtr = std::shared_ptr<SpotlightViewController>;

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
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "foundation/Value.h"
#include "lists/SearchAdditionalDataSources.h"
#include "lists/StoreSaveObserver.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"

class GlobalSearchManager;
class IdIndexPair;
class QVASessionOccupancy;
class SpotlightSectionDataModel;
class SpotlightSessionModel;
class SpotlightSessionTableViewCell;
class QVANotification;
class SpotlightTitleView;
class QVAParticipant;


namespace coredata {
class Predicate;
}

namespace foundation {
struct Notification;
}

// -- positioning (forward declarations)
namespace foundation {
class Timer;
}
namespace location {
class CLBeacon;
class CLBeaconRegion;
class CLLocation;
class CLLocationManager;
class CLLocationManagerDelegate;
class CLRegion;
enum class CLRegionState;
}  // namespace location

namespace uikit {
class UIControl;
class UIImageView;
class UISearchBar;
class UIStoryboardSegue;
class UIView;
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
    static constexpr const char* kOffMainThreadSaveException = StoreSaveObserver::kOffMainThreadSaveException;
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
    const Strings& personalNoteIdsArray() const { return additionalDataSources_.noteIds; }
    const Strings& agendaIDsArray() const { return additionalDataSources_.agendaIds; }
    const Strings& sessionsOfficialIdsArray() const { return additionalDataSources_.officialIds; }
    const foundation::Value::Array& roomsModelArray() const { return additionalDataSources_.rooms; }
    const foundation::Value::Array& venuesModelArray() const { return additionalDataSources_.venues; }
    // The five lists, as the search results' rows take them.
    const SearchAdditionalDataSources& additionalDataSources() const { return additionalDataSources_; }
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
    bool isObservingSaves() const { return saveObserver_.context() != nullptr; }

    // --- Left to the screen's actions, rows and maps ---

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

    // -- actions, occupancy and search
    // Asks for the occupancy of the shown sessions (before or during the meeting).
    virtual void loadSessionsOccupancy();
    // The navigation bar's buttons as the maps allow, at load (defined with the positioning).
    virtual void setUpNavigationBarForMaps();
    static constexpr const char* kOccupancyErrorTitle = "Unable to get session status to display in spotlight";
    static constexpr const char* kOccupancyReadyLog = "Ready getting subactivities status in spotligt";
    static constexpr const char* kAcknowledgeErrorMessage = "Unable to acknowledge notification. Please try again later.";
    static constexpr const char* kWhereAmIImageName = "my_location_spotlight.png";
    static constexpr const char* kFeedbackImageName = "feedback.png";
    static constexpr const char* kSwitchUserImageName = "switch_user.png";
    static constexpr const char* kEventFeedbackTitle = "Event feedback";
    static constexpr const char* kEventFeedbackSegue = "pushedEventFeedbackSegue";
    static constexpr const char* kSwitchBackAlertTitleFormat =
        "You are currently logged in as %@. Do you want to switch back to %@ ?";
    static constexpr const char* kChangeUserEvent = "Change user";
    static constexpr const char* kViewSessionEvent = "View session from homepage";
    static constexpr const char* kSessionDetailsSegue = "spotlightToProgrammeDetailsSegID";
    static constexpr const char* kParticipantDetailsSegue = "spotlightToParticipantDetailsSegID";
    // The occupancy is asked for on the rows of these sections.
    static constexpr int64_t kOccupancySections[] = {kWhatsOnNowSection, kComingUpSection,
                                                     kStarredParticipantsSessionsSection};

    // The ids of the rows that can have an occupancy (personal entries have none).
    static Strings getSessionIds(const std::vector<foundation::ObjectPtr>& rows);
    // Puts it on the first matching row of each of the occupancy sections.
    void updateOccupancyForSession(const std::string& sessionId, const std::shared_ptr<QVASessionOccupancy>& occupancy);
    static void updateSession(const std::string& sessionId, const std::shared_ptr<QVASessionOccupancy>& occupancy,
                              const SectionModelPtr& rows);
    // The live status labels of a session row from its occupancy; nothing without one.
    static void configureLiveStatusTextForCell(SpotlightSessionTableViewCell& cell, const SpotlightSessionModel& model);
    // What a notification row's acknowledge button runs on touch-up-inside
    // (the screen held weakly, the notification strongly).
    // (UIBlockButton::ActionBlock.)
    std::function<void(uikit::UIControl&)> acknowledgementBlockForNotification(const std::shared_ptr<QVANotification>& notification);
    void acknowledgeNotification(const QVANotification& notification);

    // Rebuilds the right bar buttons, the first the rightmost.
    void configureNavigationBar(bool mapsReady);
    // Whether the meeting has maps and they can be used now.
    bool canUseInteractiveMapsNow() const;
    void showLastPushedEventFeedback(const foundation::ObjectPtr& sender);
    void onSwitchBackExecuted(const foundation::ObjectPtr& sender);
    // The steps of "OK" on the switch-back alert.
    void switchBackToBaseUser();
    void onNetworkStatusChanged(bool online) override;

    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    // The next detail: from the search results while searching, else from the home table.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId,
        const uikit::NSIndexPath& indexPath) override;
    std::shared_ptr<IdIndexPair> nextIdIndexPairFromHomeTable(unsigned direction,
                                                              const std::optional<std::string>& currentDetailId,
                                                              const uikit::NSIndexPath& indexPath);
    std::shared_ptr<IdIndexPair> nextIdIndexPairFromSearchResults(unsigned direction,
                                                                  const std::optional<std::string>& currentDetailId,
                                                                  const uikit::NSIndexPath& indexPath);

    // The search hand-over: the screen serves the results table too, its
    // section i being the search manager's entity i.
    void setUpSearchHandOver();
    bool isSearchResultsTable(const uikit::UITableView& tableView) const;
    int64_t searchResultsNumberOfSections(uikit::UITableView& tableView);
    int64_t searchResultsNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section);
    uikit::UITableViewCellPtr searchResultsCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                const uikit::NSIndexPath& indexPath);
    std::optional<std::string> searchResultsTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section);
    std::optional<double> searchResultsHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section);
    std::shared_ptr<uikit::UIView> searchResultsViewForHeaderInSection(uikit::UITableView& tableView, int64_t section);
    std::optional<double> searchResultsHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                               const uikit::NSIndexPath& indexPath);
    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController& controller,
                                                                const std::optional<std::string>& searchString) override;
    void searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) override;
    void searchDisplayControllerDidLoadSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                              uikit::UITableView& tableView) override;
    void searchDisplayControllerWillShowSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                              uikit::UITableView& tableView) override;
    void searchDisplayControllerDidHideSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                             uikit::UITableView& tableView) override;
    void keyboardWillHide();
    // -- end of actions, occupancy and search

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
    // The five lists, kept as the search's cells take them: every result
    // row's configure and height reads them, so they are never copied.
    SearchAdditionalDataSources additionalDataSources_;
    std::map<std::string, std::shared_ptr<QVASessionOccupancy>> statusForSessionsDictionary_;
    std::shared_ptr<GlobalSearchManager> globalSearchManager_;
    std::shared_ptr<uikit::UITableView> homeTableView_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
    StoreSaveObserver saveObserver_;

    // -- header, rows and heights
public:
    static constexpr double kPhoneHeaderChrome = 54;  // the search bar and a margin
    static constexpr double kPadHeaderChrome = 44;
    static constexpr double kPadHeaderLogoMargin = 20;
    static constexpr double kTitleViewInset = 15;
    static constexpr double kPhoneHeaderStripHeight = 5;
    static constexpr double kPadHeaderStripHeight = 15;
    static constexpr double kHeaderStripGrey = 210;
    static constexpr double kSectionTitleGrey = 121;
    static constexpr double kMoreRowFontSize = 16;
    static constexpr double kRowHeight = 70;
    static constexpr double kPhoneSessionRowWithOccupancyHeight = 87;
    static constexpr double kIconWidth = 15;
    static constexpr double kIconSpacing = 5;
    static constexpr double kLiveStatusLabelHeight = 16;
    static constexpr const char* kPhoneHeaderBackgroundImage = "spotlight_background_image_iphone.png";
    static constexpr const char* kPadHeaderBackgroundImage = "spotlight_background_image_ipad.png";
    static constexpr const char* kPhoneLogoImage = "logo_orvane_spotlight.png";
    static constexpr const char* kPadLogoImage = "orvane_logo_ipad.png";
    static constexpr const char* kSectionHeaderImage = "ios7_spotlight_table_section_header";
    static constexpr const char* kStarredSectionHintImage = "favStarActive_small.png";
    static constexpr const char* kNotesSectionHintImage = "note_header.png";
    static constexpr const char* kInAgendaImage = "session_in_agenda.png";
    static constexpr const char* kParallelSessionImage = "parallel_session.png";
    static constexpr const char* kPersonalEntryImage = "personal_entry.png";
    static constexpr const char* kNoteImage = "note.png";
    // The period's month and year, in this locale whatever the device's.
    static constexpr const char* kPeriodFormat = "MMMM yyyy";
    static constexpr const char* kPeriodLocale = "en_US";

    // Phone: the view's height less the search bar and a margin; pad: less
    // the search bar, the logo and a margin; halved when rows are shown.
    int heightForSpotlightHeader();
    // Makes the header once (background, title view, and the strip when rows
    // are shown then); afterwards only follows heightForSpotlightHeader.
    void initSpotlightHeaderIfNotInited();
    void initSpotlightTitleView();
    // The meeting's days, month and year in the meeting zone; nil across a
    // new year, "" without both dates.
    std::optional<std::string> meetingDaysToDisplayInHeader() const;
    static std::optional<std::string> meetingDaysToDisplayInHeader(const std::optional<std::string>& startDate,
                                                                   const std::optional<std::string>& endDate);
    static std::optional<std::string> quovanaNotificationMessage() { return std::nullopt; }
    const std::shared_ptr<uikit::UIView>& spotlightTableViewHeaderView() const { return spotlightTableViewHeaderView_; }
    const std::shared_ptr<SpotlightTitleView>& spotlightTitleView() const { return spotlightTitleView_; }
    std::shared_ptr<uikit::UIImageView> orvaneHeaderImageView() const { return orvaneHeaderImageView_.lock(); }
    // The strip along the header's bottom, when one was added.
    const std::shared_ptr<uikit::UIView>& spotlightHeaderStripView() const { return spotlightHeaderStripView_; }

    uikit::UITableViewCellPtr getSpotlightSessionCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                                  uikit::UITableView& tableView);
    uikit::UITableViewCellPtr getSpotlighSessionCellForSessionModel(SpotlightSessionModel& model);
    uikit::UITableViewCellPtr getNotificationCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                              uikit::UITableView& tableView);
    uikit::UITableViewCellPtr getParticipantCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                             uikit::UITableView& tableView);
    uikit::UITableViewCellPtr getParticipantCellForParticipantModel(const QVAParticipant& participant);
    // Whether the near-me pin shows on the row, by the positioning state now.
    bool isSessionNearCurrentBeacon(const SpotlightSessionModel& model) const;

    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    void willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation, double duration) override;
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;

private:
    void registerHomeCells();
    void setLogoImageForIdiom();
    std::shared_ptr<uikit::UIView> spotlightTableViewHeaderView_;
    std::shared_ptr<uikit::UIView> spotlightHeaderStripView_;
    std::shared_ptr<SpotlightTitleView> spotlightTitleView_;
    std::weak_ptr<uikit::UIImageView> orvaneHeaderImageView_;
    // -- end of header, rows and heights

    // -- positioning
public:
    static constexpr const char* kNoIBeaconSupportLog = "This device does not support iBeacon. To treat this case";
    static constexpr const char* kLocationEnabledLog = "Is location enabled";
    static constexpr const char* kDidUpdateToLocationLog = "didUpdateToLocation: %@";
    // How long the where-am-I action waits for a GPS fix before it opens the
    // indoor map without a position.
    static constexpr double kGpsPositionTimeLimit = 5.0;
    // A fix older than this is from an earlier walk and is ignored.
    static constexpr double kMaximumGpsFixAge = 10.0;
    // The map screens' navigation type that pushes on the screen's stack.
    static constexpr int kMapNavigationPush = 0;

    // setUpNavigationBarForMaps() (declared above) is defined with these: at
    // load, with the maps in memory the where-am-I button and ranging; maps
    // still coming, wait for their notification; no maps, no button.
    // Both maps notifications; adding again replaces the registrations.
    void addInteractiveMapsLoadingNotifications();
    void removeInteractiveMapsLoadingNotifications();
    // Each acts on its own name only, and only on the main thread: from any
    // other thread it hands the notification to the main queue and returns.
    void notificationReceivedMapsDownloadedAndLoadedInMemory(const foundation::Notification& notification);
    void notificationReceivedMapsFailedToDownload(const foundation::Notification& notification);
    // With maps, on a later turn of the main queue: the regions, monitoring
    // and ranging, and a reload when a current beacon is already known.
    void makeNecessaryInitsNeededForInteractiveMaps();
    void initLocationManagerIfNotInited();
    void initBeaconsRegion();
    // The home table reloaded on a later turn of the main queue.
    void reloadTableWhenBeaconIdentifierChanged();
    // The bar button's action: the indoor map at the current beacon, else a
    // GPS search.
    void whereAmIButtonPressed(const foundation::ObjectPtr& sender);
    void initLocationManagerAndStartGPSsearching();
    // Ends a GPS search with the indoor map without a position (also the
    // time limit's action).
    void failedToGetGpsPositionFunctionalityOrGpsGotButInsideBuildingCenterRange(const foundation::ObjectPtr& sender);
    // The screen goes: no GPS time limit fires for it any more.
    void positioningTearDown();
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // What the location manager tells the screen (through its delegate object).
    void locationManagerDidRangeBeaconsInRegion(location::CLLocationManager& manager,
                                                const std::vector<std::shared_ptr<location::CLBeacon>>& beacons,
                                                const std::shared_ptr<location::CLBeaconRegion>& region);
    void locationManagerRangingBeaconsDidFailForRegionWithError(location::CLLocationManager& manager,
                                                                const std::shared_ptr<location::CLBeaconRegion>& region,
                                                                const foundation::ErrorPtr& error);
    void locationManagerDidEnterRegion(location::CLLocationManager& manager,
                                       const std::shared_ptr<location::CLRegion>& region);
    void locationManagerDidExitRegion(location::CLLocationManager& manager,
                                      const std::shared_ptr<location::CLRegion>& region);
    void locationManagerDidDetermineStateForRegion(location::CLLocationManager& manager, location::CLRegionState state,
                                                   const std::shared_ptr<location::CLRegion>& region);
    void locationManagerDidUpdateToLocationFromLocation(location::CLLocationManager& manager,
                                                        const std::shared_ptr<location::CLLocation>& newLocation,
                                                        const std::shared_ptr<location::CLLocation>& oldLocation);
    void locationManagerDidFailWithError(location::CLLocationManager& manager, const foundation::ErrorPtr& error);

    const std::shared_ptr<location::CLLocationManager>& locationManager() const { return locationManager_; }
    const std::shared_ptr<foundation::Timer>& timerToWaitMaxSecondsForGpsPosition() const {
        return timerToWaitMaxSecondsForGpsPosition_;
    }
    // The manager's recordings and the current beacon, for the screen dump.
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;

private:
    // Whether the current meeting has maps, and whether the maps service
    // reports indoor positioning on for it.
    bool currentEventHasInteractiveMaps() const;
    bool isIndoorPositioningOn() const;
    std::weak_ptr<location::CLLocationManagerDelegate> positioningDelegate();
    void stopGpsTimer();
    // The manager holds its delegate weakly; the screen keeps it.
    std::shared_ptr<location::CLLocationManagerDelegate> locationDelegate_;
    std::shared_ptr<location::CLLocationManager> locationManager_;
    std::shared_ptr<foundation::Timer> timerToWaitMaxSecondsForGpsPosition_;
    // -- end of positioning

};

using SpotlightViewControllerPtr = std::shared_ptr<SpotlightViewController>;

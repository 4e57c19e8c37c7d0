// The details of one item of the programme or the personal agenda: an
// official session, an agenda role (selection, responsibility, invitation)
// or a personal entry. One table under the session's picture header, in
// k + 6 sections for k contributor types: the preparatory line, the
// description, the invitation status, the session status, one section per
// contributor type, the personal note and the navigation rows (the live
// status and invitation parts are in ProgrammeDetailsViewControllerStatus.cpp;
// the navigation rows come from their own members). A personal entry shows
// the header alone, with "Remove" and "Edit".
// Contributor rows open the participant's details, which step through the
// contributors in table order. On the pad the entry's editor opens in a
// popover that only the editor itself closes. Scene "ProgrammeDetailsViewController"
// (registered with the details scenes' swipe wiring). Main thread only.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsWithListBaseViewController.h"
#include "programme/QVAPersonalNotesViewDelegate.h"
#include "settings/UnsavedPersonalNote.h"
#include "uikit/NSAttributedString.h"
#include "uikit/UIPopoverController.h"

class InvitationObjectModel;
class QVAParticipant;
class QVASessionStatusMessage;
class QVAPersonalNoteCell;
class QVASessionHeaderView;
namespace uikit {
class UIBarButtonItem;
class UIControl;
class UIStoryboard;
class UITapGestureRecognizer;
}  // namespace uikit

class ProgrammeDetailsViewController : public DetailsWithListBaseViewController,
                                       public QVAPersonalNotesViewDelegate,
                                       public uikit::UIPopoverControllerDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsViewController";
    static constexpr const char* kParticipantSegue = "participantToDetailsSegId";
    static constexpr const char* kLocationSegue = "sessionToLocationSegueId";
    static constexpr const char* kEditPersonalEntrySegue = "editPersonalEntrySegID";
    static constexpr const char* kInvitationOptionsSegue = "invitationOptionsSegID";
    static constexpr const char* kHiddenCellIdentifier = "hiddenCell";
    static constexpr const char* kPreparatoryFormat = "Please arrive at %@ for a preparatory discussion";
    static constexpr const char* kInvitationStatusTitle = "Invitation status";
    static constexpr const char* kSessionStatusTitle = "Session status";
    static constexpr const char* kNoDataText = "There is no data available for this session.";
    static constexpr const char* kRemoveTitle = "Remove";
    static constexpr const char* kRemoveQuestion = "Are you sure you want to remove this entry?";
    static constexpr const char* kRemoveFailedTitle = "Unable to remove personal entry. Please try again later.";
    static constexpr const char* kNoteFailedTitle = "Unable to add personal note to subactivity.";
    static constexpr const char* kRecommendationsFailedTitle = "Unable to load session recommendations.";
    static constexpr double kContributorRowHeight = 80;
    static constexpr double kNavigationRowHeight = 40;
    static constexpr double kPendingStatusHeight = 54;
    static constexpr double kEmptyNoteHeight = 54;
    static constexpr double kTitledHeaderHeight = 23;
    // The session status and agenda actions.
    static constexpr int64_t kAgendaActionButtonTag = 10001;
    static constexpr int64_t kStatusIndicatorButtonTag = 10002;
    static constexpr const char* kAddToAgendaImage = "add_to_agenda-white.png";
    static constexpr const char* kRemoveFromAgendaImage = "remove_from_agenda-white.png";
    static constexpr const char* kStatusNotAvailable = "Status is not available";
    static constexpr const char* kStatusNotRetrieved = "Session status could not be retrieved";
    static constexpr const char* kStatusOffline = "Session status cannot be determined without an Internet connection";
    static constexpr const char* kAddFailedTitle = "Unable to add session to agenda. Please try again later.";
    static constexpr const char* kRemoveFromAgendaFailedTitle = "Unable to remove session from agenda. Please try again later.";
    // The invitation replies.
    static constexpr const char* kInvitationOfflineTitle = "Warning";
    static constexpr const char* kInvitationOfflineMessage =
        "Cannot change invitation status without an active Internet connection.";
    static constexpr const char* kInvitationFailedFormat = "Unable to execute invitation action: \"%@\".";
    static constexpr const char* kConflictTitle = "Conflict";
    static constexpr const char* kConflictFormat = "Invitation conflicts with \"%@\"";
    static constexpr const char* kGoToSessionTitle = "Go to session";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with its swipe wiring and the location segue.
    static void addScene(uikit::UIStoryboard& storyboard);

    ProgrammeDetailsViewController();
    ~ProgrammeDetailsViewController() override;

    // --- Properties ---
    bool displayLoadingOverlayOnLoad() const { return displayLoadingOverlayOnLoad_; }
    void setDisplayLoadingOverlayOnLoad(bool value) { displayLoadingOverlayOnLoad_ = value; }
    bool isDisplayingAMeetingRequest() const { return isDisplayingAMeetingRequest_; }
    void setIsDisplayingAMeetingRequest(bool value) { isDisplayingAMeetingRequest_ = value; }
    const std::vector<std::string>& contributorTypesArray() const { return contributorTypesArray_; }
    const std::map<std::string, std::vector<std::shared_ptr<QVAParticipant>>>& contributorsDataSource() const {
        return contributorsDataSource_;
    }
    const std::vector<DetailsNavigationDataModelPtr>& navigationRows() const { return navigationRows_; }
    const Text& agendaItemId() const { return agendaItemId_; }
    const Text& oldAgendaItemStatus() const { return oldAgendaItemStatus_; }
    bool isInvitation() const { return isInvitation_; }
    const Text& sessionName() const { return sessionName_; }
    const Text& sessionRoomId() const { return sessionRoomId_; }
    const Text& preparatoryDiscussionString() const { return preparatoryDiscussionString_; }
    const Text& sessionNote() const { return sessionNote_; }
    // The shown session's own id, under which its note is kept, whatever row
    // opened it (an agenda row's selection id is not the session's).
    const Text& sessionId() const { return sessionId_; }
    bool isKeyboardVisible() const { return keyboardVisible_; }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }
    const std::shared_ptr<uikit::UITapGestureRecognizer>& tapOutsidePersonalNotes() const { return tapOutside_; }
    // The pad's popover holding the personal-entry editor, while the editor
    // has not closed.
    const std::shared_ptr<uikit::UIPopoverController>& popoverForEditPersonalEntry() const {
        return popoverForEditPersonalEntry_;
    }

    int preparatoryDiscussionSectionIndex() const { return preparatorySection_; }
    int descriptionSectionIndex() const { return descriptionSection_; }
    int invitationStatusSectionIndex() const { return invitationSection_; }
    int sessionStatusSectionIndex() const { return statusSection_; }
    int contributorsStartSectionIndex() const { return contributorsSection_; }
    int personalNoteSectionIndex() const { return noteSection_; }
    int navigationSectionIndex() const { return navigationSection_; }

    // --- Life cycle ---
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void onNetworkStatusChanged(bool online) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    // Follows and participant notes saved elsewhere redraw the stars and marks.
    void contextDidSave(const foundation::Notification& notification) override;

    // --- Content ---
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void refreshContributorsData();
    void refreshAdditionalDataSourceForCoreDataStack();
    void trackAnalyticsEventForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    Text getSessionNameForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // The live status of a session or agenda role (not of a personal entry).
    virtual void getStatusMessageForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // The navigation rows (rebuilt for every session or agenda role shown):
    // which pages exist and which can be opened now, read at build time.
    virtual void createNavigationDataSourceForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // A session whose start has passed or falls on today in the meeting zone.
    bool canShowFeedbackForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // Asks the service; the stored sessions among its answer become the row's extraInfo.
    void setSessionRecommendationsListOnRecommendationModel(const DetailsNavigationDataModelPtr& model);
    // The row's page with this screen's object, parent list, place in it and
    // swiping, pushed animated; nothing for a disabled row.
    virtual void pushNavigationWithDetailsDataModel(const DetailsNavigationDataModelPtr& model);

    // --- The session status and the agenda actions ---
    void refreshStatusMessage();
    // The two lines from the status, or the fallback wording from none.
    void processStatusMessage(const std::shared_ptr<QVASessionStatusMessage>& status,
                              const std::shared_ptr<coredata::ManagedObject>& object);
    void showRightBarButtonItemWithActionFromStatus(const QVASessionStatusMessage& status,
                                                    const std::shared_ptr<coredata::ManagedObject>& object);
    void addToAgenda(uikit::UIBarButtonItem& sender);
    void removeFromAgenda(uikit::UIBarButtonItem& sender);
    const uikit::NSAttributedStringPtr& sessionStatusAttributedString() const { return sessionStatusAttributedString_; }

    // --- The invitation ---
    void configureInvitationViewWithSessionStatusMessage(const QVASessionStatusMessage& status);
    const std::shared_ptr<InvitationObjectModel>& invitationObjectModel() const { return invitationObjectModel_; }
    void unwindOnSelectInvitationOption(uikit::UIStoryboardSegue& segue);
    void unwindOnCancelInvitationOptions(uikit::UIStoryboardSegue& segue);
    // The reply's outcome: `action` is the reply title.
    void inviteActionExecutedWithResult(const foundation::Value& result, const foundation::ErrorPtr& error,
                                        const std::string& action, const Text& delegateName = std::nullopt);
    const Text& conflictingInvitationId() const { return conflictingInvitationId_; }
    // "Go to session" of a conflict: the conflicting agenda item's details.
    void openConflictingInvitation();

    // --- Actions ---
    // The star of the contributor row: offline the alert; else the follow flipped.
    void checkButtonTapped(uikit::UIControl& star);
    void locationButtonTapped();
    bool currentVenueIsPrimaryAndHasInteractiveMapsForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    void locationButtonPressed();
    void removePersonalEntry();
    void tapOnScreen();
    // The editor's way back: on the pad its popover goes, at once.
    void unwindPersonalEntry();
    // The editor's popover stays up whatever is tapped outside it.
    bool popoverControllerShouldDismissPopover(uikit::UIPopoverController& popover) override;

    // --- Segues ---
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    // --- Swiping through the contributors, in table order, wrapping ---
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId,
        const uikit::NSIndexPath& indexPath) override;

    // --- The note (QVAPersonalNotesViewDelegate) ---
    void endEditingNote(const std::string& note) override;
    void refreshNoteCellHeightWithText(const std::string& text) override;

    // --- Table ---
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ProgrammeDetailsViewController"; }

private:
    std::shared_ptr<ProgrammeDetailsViewController> self();
    bool isContributorSection(int64_t section) const;
    const std::vector<std::shared_ptr<QVAParticipant>>* participantsOfSection(int64_t section) const;
    std::shared_ptr<QVAParticipant> participantAt(const uikit::NSIndexPath& indexPath) const;
    uikit::UITableViewCellPtr hiddenCell(uikit::UITableView& tableView);
    std::shared_ptr<QVAPersonalNoteCell> visibleNoteCell() const;
    void showPersonalEntry(const std::shared_ptr<coredata::ManagedObject>& object);
    void showSession(const std::shared_ptr<coredata::ManagedObject>& object);
    void setRightBarButtonsForPersonalEntryObject();
    void openContributor(const uikit::NSIndexPath& indexPath);
    uikit::UITableViewCellPtr sizingCell(const std::string& identifier);
    double sizingHeight(const std::string& identifier, const std::optional<std::string>& text);
    // The configured status cell's height; the pending height until the model is there.
    double invitationStatusHeight();
    uikit::UITableViewCellPtr statusCell(uikit::UITableView& tableView);
    uikit::UITableViewCellPtr invitationCell(uikit::UITableView& tableView);
    void removeStatusIndicator();
    void sendInvitationReply(const std::string& action, const Text& delegateName);
    bool shouldOpenInvitationOptions();
    void remeasureRows();
    // Keeps the note as not yet taken, then sends it; a success forgets it.
    void sendNote(const std::string& note);

    std::shared_ptr<uikit::UITableView> table_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
    std::shared_ptr<uikit::UITapGestureRecognizer> tapOutside_;
    std::shared_ptr<uikit::UIPopoverController> popoverForEditPersonalEntry_;
    std::vector<std::string> contributorTypesArray_;
    std::map<std::string, std::vector<std::shared_ptr<QVAParticipant>>> contributorsDataSource_;
    std::vector<std::string> favoritedParticipantIdsArray_;
    std::vector<std::string> personalNoteIdsArray_;
    std::vector<DetailsNavigationDataModelPtr> navigationRows_;
    Text agendaItemId_, sessionName_, sessionRoomId_, sessionContributorsString_, preparatoryDiscussionString_,
        sessionDescription_, sessionNote_, oldAgendaItemStatus_, conflictingInvitationId_, sessionId_;
    // The notes this opening of the page has sent, handed on to the page a
    // swipe brings: a note the service has not taken yet (UnsavedPersonalNote)
    // goes again once per opening, not on every reload or swipe back.
    std::shared_ptr<UnsavedPersonalNote::Opening> noteOpening_ = std::make_shared<UnsavedPersonalNote::Opening>();
    uikit::NSAttributedStringPtr sessionStatusAttributedString_;
    std::shared_ptr<InvitationObjectModel> invitationObjectModel_;
    bool isInvitation_ = false;
    bool isPersonalEntry_ = false;
    bool shown_ = false;
    int preparatorySection_ = 0, descriptionSection_ = 1, invitationSection_ = 2, statusSection_ = 3,
        contributorsSection_ = 4, noteSection_ = 4, navigationSection_ = 5;
    bool displayLoadingOverlayOnLoad_ = false;
    bool isDisplayingAMeetingRequest_ = false;
    bool keyboardVisible_ = false;
    bool observingKeyboard_ = false;
};

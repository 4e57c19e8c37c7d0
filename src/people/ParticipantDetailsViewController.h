// One participant's details: the participant header (photo, name, position,
// organisation, Follow) over four sections: the user's note on the
// participant, the profile, the sessions the participant contributes to and
// the rows to "Additional details" and to the participants recommended with
// this one. The bar carries Action (add to the address book) and, with the
// "messages:send" permission, Compose, except on the user's own details.
// Opened from every participant list, a session's contributors, the global
// search and the settings screen; sessions opened from it step through the
// contribution rows. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/ABPersonViewControllers.h"
#include "lists/DetailsPushNavigationProtocol.h"
#include "lists/DetailsWithListBaseViewController.h"
#include "people/QVAParticipantHeaderDelegate.h"
#include "programme/QVAPersonalNotesViewDelegate.h"
#include "settings/UnsavedPersonalNote.h"

class DetailsNavigationDataModel;
class ParticipantContributionsListDelegate;
class QVACoreDataParticipant;
class QVAParticipantHeaderView;
class QVAPersonalNoteCell;
namespace uikit {
class UIStoryboard;
class UITapGestureRecognizer;
}  // namespace uikit

class ParticipantDetailsViewController : public DetailsWithListBaseViewController,
                                         public QVAParticipantHeaderDelegate,
                                         public DetailsPushNavigationProtocol,
                                         public QVAPersonalNotesViewDelegate,
                                         public addressbook::ABNewPersonViewControllerDelegate,
                                         public addressbook::ABUnknownPersonViewControllerDelegate,
                                         public addressbook::ABPeoplePickerNavigationControllerDelegate,
                                         public addressbook::ABPersonViewControllerDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ParticipantDetailsViewController";
    static constexpr const char* kSessionDetailsSegue = "pushProgrammeDetails";
    static constexpr const char* kOrganizationSegue = "pushOrganizationView";
    static constexpr const char* kHiddenCellIdentifier = "hiddenCell";
    static constexpr const char* kContributionsTitle = "Contributions";
    static constexpr const char* kAdditionalDetailsTitle = "Additional details";
    static constexpr const char* kRecommendedTitle = "Also recommended...";
    static constexpr const char* kExtraInfoStoryboardIdentifier = "ParticipantExtraInfoViewController";
    static constexpr const char* kContributionIdsOffMainThread = "Please call this from main thread only";
    static constexpr const char* kUpdateOffMainThreadName =
        "Please don't call this function by hand, and worse, from background thread";
    static constexpr const char* kUpdateOffMainThreadReason = "This function is called automatically !";
    static constexpr const char* kRecommendationsFailureLog = "Unable to load participant recommendations.";
    static constexpr const char* kNoteFailureTitle = "Unable to add personal note to participant.";
    static constexpr const char* kNewContactTitle = "Add to Contacts";
    static constexpr const char* kExistingContactTitle = "Choose Action";
    static constexpr const char* kNoteFontName = "HelveticaNeue-Light";
    static constexpr double kNoteFontSize = 14;
    static constexpr double kEmptyNoteHeight = 54;
    static constexpr double kNoteVerticalPadding = 32;
    static constexpr double kNavigationRowHeight = 40;
    enum Section : int64_t { kNoteSection = 0, kProfileSection = 1, kContributionsSection = 2, kNavigationSection = 3 };

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The session details' and the composer's segues of the scene (which
    // the details scenes register, with their swipe wiring).
    static void addSegues(uikit::UIStoryboard& storyboard, bool pad);

    ParticipantDetailsViewController();
    ~ParticipantDetailsViewController() override;

    const Text& participantNote() const { return participantNote_; }
    const Text& participantFullName() const { return participantFullName_; }
    const Text& participantProfile() const { return participantProfile_; }
    const std::vector<std::string>& contributionIds() const { return contributionIds_; }
    const std::vector<std::shared_ptr<DetailsNavigationDataModel>>& navigationRows() const { return navigationRows_; }
    std::optional<size_t> recommandationsCellIndex() const { return recommandationsCellIndex_; }
    std::shared_ptr<QVAParticipantHeaderView> participantHeaderView() const;

    void loadView() override;
    void viewDidLoad() override;
    void didRotateFromInterfaceOrientation(uikit::UIInterfaceOrientation orientation) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    // The session ids the participant's "contributions" name, in order.
    void refreshAdditionalDataSource();
    // The contribution records, one per session, the user's own record first.
    void initDataSource();
    void createNavigationDataSourceForObject(const QVACoreDataParticipant& participant);
    // Action unless the participant is the user; Compose too with "messages:send".
    void setRightBarButtonsOnNavBar(const Text& participantId);

    // --- Bar items ---
    void addToContacts();
    // The participant as an address-book record: the unknown-person screen
    // when the book holds someone of the same first and last names, else
    // the new-person screen, modal in its own navigation controller.
    void showNewPersonViewController();
    addressbook::ABRecordRef participantContactRecord();
    void newPersonViewControllerDidCompleteWithNewPerson(addressbook::ABNewPersonViewController& controller,
                                                         const addressbook::ABRecordRef& person) override;
    void unknownPersonViewControllerDidResolveToPerson(addressbook::ABUnknownPersonViewController& controller,
                                                       const addressbook::ABRecordRef& person) override;
    bool unknownPersonViewControllerShouldPerformDefaultActionForPerson(addressbook::ABUnknownPersonViewController& controller,
                                                                        const addressbook::ABRecordRef& person) override;
    // A chosen person goes on to its card; a chosen value stops there, as
    // it does on the person card: the screen only shows the contact.
    void peoplePickerNavigationControllerDidCancel(addressbook::ABPeoplePickerNavigationController& picker) override;
    bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
        addressbook::ABPeoplePickerNavigationController& picker, const addressbook::ABRecordRef& person) override;
    bool peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
        addressbook::ABPeoplePickerNavigationController& picker, const addressbook::ABRecordRef& person,
        addressbook::ABPropertyID property, addressbook::ABMultiValueIdentifier identifier) override;
    bool personViewControllerShouldPerformDefaultActionForPerson(addressbook::ABPersonViewController& controller,
                                                                 const addressbook::ABRecordRef& person,
                                                                 addressbook::ABPropertyID property,
                                                                 addressbook::ABMultiValueIdentifier identifier) override;
    void sendMessage();
    void showOptionToChooseMeetingOrSendMessage();

    // --- Header ---
    void changeFollowedStatusTo(bool followed) override;
    void showOrganizationDetail() override;

    // --- Navigation rows ---
    void pushNavigationWithDetailsDataModel(const std::shared_ptr<DetailsNavigationDataModel>& model) override;

    // --- The note (the shared note cell's owner) ---
    void refreshNoteCellHeightWithText(const std::string& text) override;
    // The text kept as the note, then sent; a failure alerts and the text
    // stays kept (shown and sent again when a screen opens on the participant).
    void endEditingNote(const std::string& text) override;

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
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    // The sessions opened from the contributions step through them, wrapping.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "ParticipantDetailsViewController"; }

private:
    std::shared_ptr<ParticipantDetailsViewController> self();
    bool hasNotesPermission();
    void askRecommendationsFor(const std::shared_ptr<DetailsNavigationDataModel>& row);
    // The note cell, when section 0 holds one on screen.
    std::shared_ptr<QVAPersonalNoteCell> visibleNoteCell();
    // Keeps the note as not yet taken, then sends it; a success forgets it.
    void sendNote(const std::string& text);

    std::shared_ptr<ParticipantContributionsListDelegate> contributionsDelegate_;
    std::vector<std::string> contributionIds_;
    std::vector<std::shared_ptr<DetailsNavigationDataModel>> navigationRows_;
    std::optional<size_t> recommandationsCellIndex_;
    Text participantNote_;
    // The notes this opening of the page has sent, handed on to the page a
    // swipe brings: a note the service has not taken yet (UnsavedPersonalNote)
    // goes again once per opening, not on every reload or swipe back.
    std::shared_ptr<UnsavedPersonalNote::Opening> noteOpening_ = std::make_shared<UnsavedPersonalNote::Opening>();
    Text participantFullName_;
    Text participantProfile_;
    std::shared_ptr<uikit::UITapGestureRecognizer> tapRecognizer_;
};

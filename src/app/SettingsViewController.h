// The settings screen ("settingsViewControllerIdentifier"): a table built
// from section models — the account, the privacy, member and logout actions,
// the meeting with the device-calendar mirror and its alert time, the content
// refresh and cache clearing, the version with the update check and the
// feedback mail. Rows that need the network are built disabled while offline
// and the table is rebuilt on every network change once first built. Every
// row action takes one argument, none when a tap runs it. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "app/ChooseCalendarControllerDelegate.h"
#include "app/SettingsSectionModel.h"
#include "messageui/MFMailComposeViewController.h"
#include "uikit/UITableView.h"

namespace uikit {
class UIStoryboard;
class UISwitch;
}  // namespace uikit

namespace eventkit {
class EKCalendar;
}

class SettingsViewController : public BaseViewController,
                               public uikit::UITableViewDataSource,
                               public uikit::UITableViewDelegate,
                               public ChooseCalendarControllerDelegate,
                               public messageui::MFMailComposeViewControllerDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "settingsViewControllerIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTableOutlet = "settingsTableView";
    static constexpr const char* kPushParticipantSegue = "settingsPushParticipant";
    static constexpr const char* kChooseCalendarSegue = "settingsToChooseCalendarSegID";
    static constexpr const char* kChangeAlertTimeSegue = "settingsToChangeAlertTimeSegID";
    static constexpr const char* kLoginDelegatorsSegue = "testSegueGoTOLoginDelegators";
    static constexpr const char* kSwitchMeetingSegue = "testSegue";
    static constexpr double kRowHeight = 44;
    static constexpr const char* kFeedbackSubjectFormat = "%@ Quovana Events app feedback";
    static constexpr const char* kFeedbackBodyFormat = "\n\n--\nEvent: %@\nOS version: %@\nDevice model: %@";
    static constexpr const char* kReloadFailedMessage =
        "An error occurred while trying to reload content. Please log in again.";

    using AlertTimes = std::map<int32_t, std::string>;
    // Alert-time choice → its label, 0 "None" to 6 "2 hours before".
    static const AlertTimes& calendarAlertTimeStrings();
    // The scene with its table and the three storyboard segues, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    SettingsViewController();
    ~SettingsViewController() override;

    const std::vector<SettingsSectionModelPtr>& settingsDataSource() const { return settingsDataSource_; }
    const std::shared_ptr<uikit::UITableView>& settingsTableView() const { return settingsTableView_; }
    bool isParticipantCellEnabled() const { return isParticipantCellEnabled_; }
    bool hasDataLoaded() const { return hasDataLoaded_; }

    void configureSettingsDataSource();
    void refreshSettingsTableView();
    void addAccountSection();
    void addActivitySection();
    void addSyncSection();
    void addAutoUpdateContentSection();
    void addPushNotificationsSection();
    void addVersionSection();

    // --- Row actions ---
    void onUserClick(const foundation::Value& sender);
    void onPrivacyExecuted(const foundation::Value& sender);
    void onSwitchUserExecuted(const foundation::Value& sender);
    void onSwitchBackExecuted(const foundation::Value& sender);
    void onLogoutExecuted(const foundation::Value& sender);
    void onSwitchMeetingExecuted(const foundation::Value& sender);
    void onSyncWithCalendarExecuted(uikit::UISwitch& calendarSwitch);
    void onChangeAlertTimeExecuted(const foundation::Value& sender);
    void onUpdateContentExecuted(const foundation::Value& sender);
    void onClearCacheAndReloadContentExecuted(const foundation::Value& sender);
    void checkForUpdatesAction(const foundation::Value& sender);
    void sendFeedback(const foundation::Value& sender);
    void onCreditCardExecuted(const foundation::Value& sender);
    void onHideParallelProgrammeExecuted(const foundation::Value& sender);
    void onAutoUpdateContentExecuted(const foundation::Value& sender);
    void registerForPushNotifications(const foundation::Value& sender);
    void syncCalendarAuhorized();

    // --- The choosers' answers ---
    void onSelectCalendarToSync(ChooseCalendarViewController& chooser) override;
    void unwindOnChooseCalendarToSync(uikit::UIStoryboardSegue& segue);
    void unwindOnChangeAlertTime(uikit::UIStoryboardSegue& segue);

    // The clearing shared by logout, switch back and a failed cache reload.
    void clearAppDataAndSettings();

    void viewDidLoad() override;
    void onNetworkStatusChanged(bool online) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    void mailComposeController(messageui::MFMailComposeViewController& controller,
                               messageui::MFMailComposeResult result, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "SettingsViewController"; }

private:
    std::shared_ptr<SettingsViewController> self();
    const SettingsCellDataModelPtr& rowAt(const uikit::NSIndexPath& indexPath) const;
    // A row whose action is kept only when `online` holds; disabled otherwise.
    SettingsCellDataModelPtr makeRow(Text text, int type, void (SettingsViewController::*action)(const foundation::Value&),
                                     bool enabled);
    // Shows a code-built segue to the screen, pushing it after prepareForSegue saw it.
    void pushThroughCodeSegue(const std::string& identifier, const uikit::UIViewControllerPtr& destination,
                              bool logsTest);
    void syncAgendaIntoCalendar(const std::shared_ptr<eventkit::EKCalendar>& calendar);
    void addSection(std::string name, std::vector<SettingsCellDataModelPtr> rows);

    std::vector<SettingsSectionModelPtr> settingsDataSource_;
    std::shared_ptr<uikit::UITableView> settingsTableView_;
    bool isParticipantCellEnabled_ = false;
    bool hasDataLoaded_ = false;
};

using SettingsViewControllerPtr = std::shared_ptr<SettingsViewController>;

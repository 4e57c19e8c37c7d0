// "Privacy settings": which of the user's contact details (e-mail, fixed
// phone, mobile phone, nationality) other participants may see. The
// current choices are read from the service behind the progress overlay;
// the four switches change them on this screen only, and "Update settings"
// sends all four together. A failed read leaves the table empty; a failed
// update keeps the edits on screen for another try. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/LiteListBaseViewController.h"

class QVAPrivacySettings;
class SettingsCellDataModel;

namespace uikit {
class UIStoryboard;
class UISwitch;
}  // namespace uikit

class PrivacySettingsViewController : public LiteListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "PrivacySettingsViewControllerIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kTitle = "Privacy settings";
    static constexpr const char* kSectionTitle = "Edit privacy settings";
    static constexpr double kHeaderHeight = 40;
    static constexpr double kRowHeight = 52;

    static constexpr const char* kEmailRowTitle = "Show my email";
    static constexpr const char* kPhoneRowTitle = "Show my fixed phone";
    static constexpr const char* kMobilePhoneRowTitle = "Show my mobile phone";
    static constexpr const char* kNationalityRowTitle = "Show my nationality";
    static constexpr const char* kUpdateRowTitle = "Update settings";

    static constexpr const char* kViewAnalyticsName = "View privacy settings";
    static constexpr const char* kUpdateAnalyticsName = "Update privacy settings";
    static constexpr const char* kLoadFailedTitle = "An error has occured. Please try later.";
    static constexpr const char* kUpdateFailedTitle = "An error has occured. Please try again later.";
    static constexpr const char* kOKButtonTitle = "OK";

    // The scene with its table, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    PrivacySettingsViewController();
    ~PrivacySettingsViewController() override;

    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;
    void trackAnalyticsEvent() override;

    // The settings last read, edited in place by the switches; null until read.
    const std::shared_ptr<QVAPrivacySettings>& currentSettings() const { return currentSettings_; }

    // The five rows, in order.
    void configureDataSource();
    void reloadDataSourceAndTable() override;

    // --- Row actions ---
    void onSwitchPrivacyEmail(uikit::UISwitch& sender);
    void onSwitchPrivacyPhone(uikit::UISwitch& sender);
    void onSwitchPrivacyMobilePhone(uikit::UISwitch& sender);
    void onSwitchPrivacyNationality(uikit::UISwitch& sender);
    void onUpdateSettingsExecuted(const foundation::Value& sender);

    // --- The table ---
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    // None: the table's own header shows the title.
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "PrivacySettingsViewController"; }

private:
    std::shared_ptr<SettingsCellDataModel> rowAt(const uikit::NSIndexPath& indexPath) const;
    void showFailureAlert(const char* title);

    std::shared_ptr<QVAPrivacySettings> currentSettings_;
};

using PrivacySettingsViewControllerPtr = std::shared_ptr<PrivacySettingsViewController>;

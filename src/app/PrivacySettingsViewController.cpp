#include "app/PrivacySettingsViewController.h"

#include "Utils/UIBlockAlertView.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/SettingsCellDataModel.h"
#include "app/SettingsCellFactory.h"
#include "model/QVAPrivacySettings.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwitch.h"
#include "uikit/UITableView.h"

namespace {

using Flag = bool (QVAPrivacySettings::*)() const;
using SwitchAction = void (PrivacySettingsViewController::*)(uikit::UISwitch&);

// A switch row: its switch reads the flag of the screen's current settings
// each time its cell is built, and hands the switch to the screen's action.
std::shared_ptr<SettingsCellDataModel> switchRow(const char* title, Flag flag, SwitchAction action,
                                                 const std::weak_ptr<PrivacySettingsViewController>& screen) {
    auto row = std::make_shared<SettingsCellDataModel>();
    row->setCellText(std::string(title));
    row->setCellType(SettingsCellDataModel::kSwitchCellType);
    row->setGetSwitchValueBlock([screen, flag] {
        auto self = screen.lock();
        return self && self->currentSettings() && ((*self->currentSettings()).*flag)();
    });
    row->setSwitchValue(row->getSwitchValueBlock()());
    row->setSwitchActionSelector([action](foundation::Object& target, const foundation::Value& argument) {
        auto* self = dynamic_cast<PrivacySettingsViewController*>(&target);
        auto rowSwitch = argument.objectAs<uikit::UISwitch>();
        if (self && rowSwitch) (self->*action)(*rowSwitch);
    });
    return row;
}

}  // namespace

void PrivacySettingsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<PrivacySettingsViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect(kTableOutlet, std::make_shared<uikit::UITableView>(
                                                           graphics::Rect{0, 0, 320, 480}, uikit::UITableViewStyle::Grouped));
            static_cast<PrivacySettingsViewController&>(owner).setTableView(table);
            return table;
        });
}

PrivacySettingsViewController::PrivacySettingsViewController() = default;

PrivacySettingsViewController::~PrivacySettingsViewController() = default;

void PrivacySettingsViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    auto self = std::static_pointer_cast<PrivacySettingsViewController>(shared_from_this());
    if (auto table = tableView()) {
        table->setDataSource(self);
        table->setDelegate(self);
    }
    setTitle(std::string(kTitle));
    trackAnalyticsEvent();

    startProgress();
    QVAApiManager::sharedApiManager().getPrivacySettingsForAuthCode(
        authenticationCode(), [self](const foundation::ErrorPtr& error, const foundation::Value& result) {
            self->stopProgress();
            auto settings = error ? nullptr : result.objectAs<QVAPrivacySettings>();
            if (!settings) {
                self->showFailureAlert(kLoadFailedTitle);
                return;
            }
            self->currentSettings_ = settings;
            self->reloadDataSourceAndTable();
        });
}

void PrivacySettingsViewController::trackAnalyticsEvent() { AnalyticsUtils::trackEventWithName(kViewAnalyticsName); }

void PrivacySettingsViewController::showFailureAlert(const char* title) {
    auto alert = UIBlockAlertView::initWithTitle(std::string(title), std::nullopt);
    alert->addButtonWithTitle(std::string(kOKButtonTitle), UIBlockAlertView::ActionBlock());
    alert->show();
}

// --- Rows ---

void PrivacySettingsViewController::configureDataSource() {
    std::weak_ptr<PrivacySettingsViewController> weak =
        std::static_pointer_cast<PrivacySettingsViewController>(shared_from_this());
    RowObjects rows;
    rows.push_back(switchRow(kEmailRowTitle, &QVAPrivacySettings::isPrimaryEmailVisible,
                             &PrivacySettingsViewController::onSwitchPrivacyEmail, weak));
    rows.push_back(switchRow(kPhoneRowTitle, &QVAPrivacySettings::isPhoneVisible,
                             &PrivacySettingsViewController::onSwitchPrivacyPhone, weak));
    rows.push_back(switchRow(kMobilePhoneRowTitle, &QVAPrivacySettings::isMobilePhoneVisible,
                             &PrivacySettingsViewController::onSwitchPrivacyMobilePhone, weak));
    rows.push_back(switchRow(kNationalityRowTitle, &QVAPrivacySettings::isNationalityVisible,
                             &PrivacySettingsViewController::onSwitchPrivacyNationality, weak));

    auto update = std::make_shared<SettingsCellDataModel>();
    update->setCellText(std::string(kUpdateRowTitle));
    update->setCellType(SettingsCellDataModel::kActionCellType);
    update->setCellActionSelector([](foundation::Object& target, const foundation::Value& argument) {
        if (auto* self = dynamic_cast<PrivacySettingsViewController*>(&target)) self->onUpdateSettingsExecuted(argument);
    });
    rows.push_back(update);
    setDataSourceArray(std::move(rows));
}

void PrivacySettingsViewController::reloadDataSourceAndTable() {
    configureDataSource();
    if (auto table = tableView()) table->reloadData();
}

std::shared_ptr<SettingsCellDataModel> PrivacySettingsViewController::rowAt(const uikit::NSIndexPath& indexPath) const {
    const auto& rows = dataSourceArray();
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= rows.size()) return nullptr;
    return std::dynamic_pointer_cast<SettingsCellDataModel>(rows[static_cast<size_t>(indexPath.row)]);
}

// --- Switches and the update ---

void PrivacySettingsViewController::onSwitchPrivacyEmail(uikit::UISwitch& sender) {
    if (currentSettings_) currentSettings_->setIsPrimaryEmailVisible(sender.isOn());
}

void PrivacySettingsViewController::onSwitchPrivacyPhone(uikit::UISwitch& sender) {
    if (currentSettings_) currentSettings_->setIsPhoneVisible(sender.isOn());
}

void PrivacySettingsViewController::onSwitchPrivacyMobilePhone(uikit::UISwitch& sender) {
    if (currentSettings_) currentSettings_->setIsMobilePhoneVisible(sender.isOn());
}

void PrivacySettingsViewController::onSwitchPrivacyNationality(uikit::UISwitch& sender) {
    if (currentSettings_) currentSettings_->setIsNationalityVisible(sender.isOn());
}

void PrivacySettingsViewController::onUpdateSettingsExecuted(const foundation::Value& sender) {
    (void)sender;
    if (!currentSettings_) return;
    startProgress();
    AnalyticsUtils::trackEventWithName(kUpdateAnalyticsName);
    auto self = std::static_pointer_cast<PrivacySettingsViewController>(shared_from_this());
    const auto& flags = *currentSettings_;
    QVAApiManager::sharedApiManager().updatePrivacySettingsForAuthCode(
        authenticationCode(), flags.isPrimaryEmailVisible(), flags.isPhoneVisible(), flags.isMobilePhoneVisible(),
        flags.isNationalityVisible(), [self](const foundation::ErrorPtr& error, const foundation::Value&) {
            self->stopProgress();
            // The edits stay on screen either way, for another try.
            if (error) self->showFailureAlert(kUpdateFailedTitle);
        });
}

// --- The table ---

std::optional<std::string> PrivacySettingsViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                             int64_t section) {
    (void)tableView;
    (void)section;
    return std::string(kSectionTitle);
}

std::optional<double> PrivacySettingsViewController::tableViewHeightForHeaderInSection(uikit::UITableView& tableView,
                                                                                     int64_t section) {
    (void)tableView;
    (void)section;
    return kHeaderHeight;
}

std::shared_ptr<uikit::UIView> PrivacySettingsViewController::tableViewViewForHeaderInSection(uikit::UITableView& tableView,
                                                                                            int64_t section) {
    (void)tableView;
    (void)section;
    return nullptr;
}

std::optional<double> PrivacySettingsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                    const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    (void)indexPath;
    return kRowHeight;
}

uikit::UITableViewCellPtr PrivacySettingsViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                      const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    auto row = rowAt(indexPath);
    if (!row) return std::make_shared<uikit::UITableViewCell>();
    return SettingsCellFactory::cellForRow(*row, shared_from_this());
}

void PrivacySettingsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                     const uikit::NSIndexPath& indexPath) {
    auto row = rowAt(indexPath);
    if (row) SettingsCellFactory::didSelectRow(tableView, indexPath, *row, shared_from_this());
}

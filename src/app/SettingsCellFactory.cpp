#include "app/SettingsCellFactory.h"

#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "app/SettingsCellDataModel.h"
#include "foundation/StringUtils.h"
#include "foundation/Value.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UISwitch.h"
#include "uikit/UITableView.h"

uikit::UITableViewCellPtr SettingsCellFactory::cellForRow(const SettingsCellDataModel& row,
                                                          const std::shared_ptr<foundation::Object>& screen) {
    const auto& detail = row.cellDetailedText();
    const bool hasDetail = detail && !StringUtility::isNilOrEmpty(std::string_view(*detail));
    auto cell = std::make_shared<uikit::UITableViewCell>(
        hasDetail ? uikit::UITableViewCellStyle::Value1 : uikit::UITableViewCellStyle::Default, kCellIdentifier);

    const auto& title = cell->textLabel();
    title->setText(row.cellText());
    if (hasDetail && cell->detailTextLabel()) {
        cell->detailTextLabel()->setText(detail);
        cell->detailTextLabel()->setFont(uikit::UIFont::systemFontOfSize(kDetailFontSize));
    }
    const size_t limit = Utils::isIPad() ? kOneLineLimitPad : kOneLineLimitPhone;
    if (row.cellText() && foundation::StringUtils::toUTF16(*row.cellText()).size() > limit) title->setNumberOfLines(2);

    switch (row.cellType()) {
        case SettingsCellDataModel::kSwitchCellType: {
            auto rowSwitch = std::make_shared<uikit::UISwitch>();
            rowSwitch->setOn(row.getSwitchValueBlock() ? row.getSwitchValueBlock()() : row.switchValue());
            std::weak_ptr<foundation::Object> weakScreen = screen;
            rowSwitch->addTarget(
                [weakScreen, selector = row.switchActionSelector()](uikit::UIControl& sender) {
                    auto target = weakScreen.lock();
                    if (target && selector) selector(*target, foundation::Value(sender.shared_from_this()));
                },
                uikit::UIControlEventTouchUpInside);
            cell->setAccessoryView(rowSwitch);
            break;
        }
        case SettingsCellDataModel::kNavigationCellType:
            cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
            break;
        default:
            title->setTextAlignment(uikit::NSTextAlignment::Center);
            break;
    }
    if (!row.isEnabled()) {
        cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
        title->setEnabled(false);
    }
    title->setFont(uikit::UIFont::systemFontOfSize(kTitleFontSize));
    return cell;
}

void SettingsCellFactory::didSelectRow(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath,
                                       const SettingsCellDataModel& row, const std::shared_ptr<foundation::Object>& screen) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (row.cellActionSelector())
        Utils::performWithoutWarningTheSelector(row.cellActionSelector(), screen, foundation::Value());
}

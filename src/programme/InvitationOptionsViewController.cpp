#include "programme/InvitationOptionsViewController.h"

#include "app/AppStoryboards.h"
#include "app/CustomNavigationController.h"
#include "Utils/Utils.h"
#include "programme/InvitationDelegatesViewController.h"
#include "programme/InvitationObjectModel.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {

constexpr const char* kOptionsDoneOutlet = "doneButton";
constexpr const char* kOptionsCancelOutlet = "cancelButton";
constexpr double kOptionsRowHeight = 44;

uikit::UIStoryboardSegueDefinition invitationOptionsUnwind(const char* identifier, const char* action,
                                                           const char* outlet) {
    return uikit::UIStoryboardSegueDefinition::unwind(identifier, action,
                                                      {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, outlet});
}

}  // namespace

void InvitationOptionsViewController::addScenes(uikit::UIStoryboard& storyboard, const std::string& detailsScene) {
    if (storyboard.hasScene(kStoryboardIdentifier)) return;
    const bool pad = storyboard.name() == AppStoryboards::kPadStoryboardName;
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<InvitationOptionsViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto& screen = static_cast<InvitationOptionsViewController&>(owner);
            auto table = outlets.connect(kTableOutlet, std::make_shared<uikit::UITableView>());
            table->setRowHeight(kOptionsRowHeight);
            screen.setInvitationOptionsTableView(table);
            screen.navigationItem()->setLeftBarButtonItem(outlets.connect(
                kOptionsCancelOutlet,
                uikit::UIBarButtonItem::withTitle(std::string("Cancel"), uikit::UIBarButtonItemStyle::Plain)));
            screen.navigationItem()->setRightBarButtonItem(outlets.connect(
                kOptionsDoneOutlet, uikit::UIBarButtonItem::withTitle(std::string("Done"), uikit::UIBarButtonItemStyle::Done)));
            return table;
        });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier, [] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    });
    uikit::UIStoryboardSegueDefinition delegates;
    delegates.identifier = kDelegatesSegue;
    delegates.kind = uikit::UIStoryboardSegueKind::Push;
    delegates.destination = InvitationDelegatesViewController::kStoryboardIdentifier;
    delegates.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, kCellIdentifier};
    storyboard.addSegue(kStoryboardIdentifier, std::move(delegates));
    storyboard.addSegue(kStoryboardIdentifier,
                        invitationOptionsUnwind(kSelectUnwindSegue, kSelectUnwindAction, kOptionsDoneOutlet));
    storyboard.addSegue(kStoryboardIdentifier,
                        invitationOptionsUnwind(kCancelUnwindSegue, kCancelUnwindAction, kOptionsCancelOutlet));
    InvitationDelegatesViewController::addScene(storyboard);

    uikit::UIStoryboardSegueDefinition open;
    open.identifier = "invitationOptionsSegID";
    if (pad) {
        storyboard.addScene(kNavigationStoryboardIdentifier, [](uikit::UIStoryboard& board) -> uikit::UIViewControllerPtr {
            auto navigation = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
            navigation->setViewControllers({board.instantiateViewControllerWithIdentifier(kStoryboardIdentifier)}, false);
            return navigation;
        });
        open.kind = uikit::UIStoryboardSegueKind::Modal;
        open.destination = kNavigationStoryboardIdentifier;
        open.presentationStyle = uikit::UIModalPresentationStyle::FormSheet;
    } else {
        open.kind = uikit::UIStoryboardSegueKind::Push;
        open.destination = kStoryboardIdentifier;
    }
    storyboard.addSegue(detailsScene, std::move(open));
}

InvitationOptionsViewController::InvitationOptionsViewController() {
    addUnwindAction(kCancelDelegatesUnwindAction, [this](uikit::UIStoryboardSegue& segue) {
        unwindOnCancelInvitationDelegates(segue);
    });
}

void InvitationOptionsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    setTitle(std::string(kTitle));
    // The rows start under the bar, not behind it.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    if (!table_) return;
    table_->setBackgroundColor(graphics::Color::white());
    auto self = std::static_pointer_cast<InvitationOptionsViewController>(shared_from_this());
    table_->setDataSource(self);
    table_->setDelegate(self);
}

std::optional<std::string> InvitationOptionsViewController::titleAt(int64_t row) const {
    if (!invitationObjectModel_ || row < 0) return std::nullopt;
    const auto& titles = invitationObjectModel_->invitationActions();
    if (static_cast<size_t>(row) >= titles.size()) return std::nullopt;
    return titles[static_cast<size_t>(row)];
}

bool InvitationOptionsViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                      const foundation::ObjectPtr& sender) {
    if (identifier == kDelegatesSegue) {
        auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
        return cell && cell->textLabel()->text() == std::optional<std::string>(InvitationObjectModel::kDelegateTitle);
    }
    return BaseViewController::shouldPerformSegueWithIdentifier(identifier, sender);
}

void InvitationOptionsViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    if (segue.identifier() == kSelectUnwindSegue && invitationObjectModel_) {
        // Nothing selected sends nothing, rather than a reply chosen earlier.
        const auto selected = table_ ? table_->indexPathForSelectedRow() : std::nullopt;
        invitationObjectModel_->setSelectedValue(selected ? titleAt(selected->row) : std::nullopt);
        return;
    }
    BaseViewController::prepareForSegue(segue, sender);
}

void InvitationOptionsViewController::unwindOnCancelInvitationDelegates(uikit::UIStoryboardSegue&) {}

int64_t InvitationOptionsViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 1; }

int64_t InvitationOptionsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return invitationObjectModel_ ? static_cast<int64_t>(invitationObjectModel_->invitationActions().size()) : 0;
}

uikit::UITableViewCellPtr InvitationOptionsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    const auto title = titleAt(indexPath.row);
    cell->textLabel()->setText(title);
    cell->setAccessoryType(title == std::optional<std::string>(InvitationObjectModel::kDelegateTitle)
                               ? uikit::UITableViewCellAccessoryType::DisclosureIndicator
                               : uikit::UITableViewCellAccessoryType::None);
    return cell;
}

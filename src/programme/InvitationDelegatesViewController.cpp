#include "programme/InvitationDelegatesViewController.h"

#include "Utils/Utils.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "foundation/StringUtils.h"
#include "lists/ListsDataSourceProtocol.h"
#include "model/QVACoreDataMeetingDelegate.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace {

constexpr const char* kDelegatesDoneOutlet = "doneButton";
constexpr const char* kDelegatesCancelOutlet = "cancelButton";

// Every stored delegate, one section, by last name, no search scopes.
class InvitationDelegatesListDefinition : public ListsDataSourceProtocol {
public:
    std::string entityName() override { return QVACoreDataMeetingDelegate::kEntityName; }
    SortDescriptors sortDescriptors() override { return {coredata::SortDescriptor("lastName", true)}; }
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override { return InvitationDelegatesViewController::kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController&) override {
        auto row = controller
                       .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataMeetingDelegate>();
        cell.textLabel()->setText(row ? row->fullName() : std::nullopt);
    }
};

}  // namespace

void InvitationDelegatesViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<InvitationDelegatesViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto& screen = static_cast<InvitationDelegatesViewController&>(owner);
            auto table = outlets.connect(kTableOutlet, std::make_shared<uikit::UITableView>());
            screen.setTableView(table);
            screen.navigationItem()->setLeftBarButtonItem(outlets.connect(
                kDelegatesCancelOutlet,
                uikit::UIBarButtonItem::withTitle(std::string("Cancel"), uikit::UIBarButtonItemStyle::Plain)));
            screen.navigationItem()->setRightBarButtonItem(outlets.connect(
                kDelegatesDoneOutlet, uikit::UIBarButtonItem::withTitle(std::string("Done"), uikit::UIBarButtonItemStyle::Done)));
            return table;
        });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier, [] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    });
    storyboard.addSegue(kStoryboardIdentifier,
                        uikit::UIStoryboardSegueDefinition::unwind(
                            kSelectUnwindSegue, "unwindOnSelectInvitationOption:",
                            {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, kDelegatesDoneOutlet}));
    storyboard.addSegue(kStoryboardIdentifier,
                        uikit::UIStoryboardSegueDefinition::unwind(
                            kCancelUnwindSegue, "unwindOnCancelInvitationDelegates:",
                            {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, kDelegatesCancelOutlet}));
}

InvitationDelegatesViewController::InvitationDelegatesViewController()
    : listDefinition_(std::make_shared<InvitationDelegatesListDefinition>()) {}

void InvitationDelegatesViewController::awakeFromNib() {
    ListBaseViewController::awakeFromNib();
    setListDelegate(listDefinition_);
}

void InvitationDelegatesViewController::viewDidLoad() {
    if (!listDelegate()) setListDelegate(listDefinition_);
    ListBaseViewController::viewDidLoad();
    setTitle(std::string(kTitle));
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    if (auto table = tableView()) {
        auto self = std::static_pointer_cast<InvitationDelegatesViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
}

InvitationDelegatesViewController::Text InvitationDelegatesViewController::selectedDelegateName() {
    auto table = tableView();
    const auto selected = table ? table->indexPathForSelectedRow() : std::nullopt;
    const auto& controller = fetchedResultsController();
    if (!selected || !controller) return std::nullopt;
    auto row = controller
                   ->objectAtIndexPath({static_cast<size_t>(selected->section), static_cast<size_t>(selected->row)})
                   .objectAs<QVACoreDataMeetingDelegate>();
    if (!row || !row->fullName()) return std::nullopt;
    return foundation::StringUtils::trim(*row->fullName());
}

bool InvitationDelegatesViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                        const foundation::ObjectPtr& sender) {
    if (identifier != kSelectUnwindSegue) return ListBaseViewController::shouldPerformSegueWithIdentifier(identifier, sender);
    const Text name = selectedDelegateName();
    if (!name || name->empty()) {
        Utils::displayAlertViewWithMessage(std::string(kNoDelegateMessage), std::string(kNoDelegateTitle));
        return false;
    }
    delegateName_ = name;
    return true;
}

std::optional<double> InvitationDelegatesViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                         const uikit::NSIndexPath&) {
    return kRowHeight;
}

void InvitationDelegatesViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&, const uikit::NSIndexPath&) {
    // The row stays selected: "Done" reads it.
}

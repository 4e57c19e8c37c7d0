#include "lists/FilterScreenScenes.h"

#include "lists/FiltersTableViewController.h"
#include "lists/SelectFilterTableViewController.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

namespace FilterScreenScenes {

namespace {

uikit::UIStoryboard::CellFactory plainCell(const char* reuseIdentifier) {
    return [reuseIdentifier] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, reuseIdentifier);
    };
}

// The filters screen's table, with Apply (the unwind to the list) on the
// right and Cancel (closing without applying) on the left.
std::shared_ptr<uikit::UIView> buildFiltersView(uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect{}, uikit::UITableViewStyle::Grouped);
    std::weak_ptr<uikit::UIViewController> weakOwner =
        std::static_pointer_cast<uikit::UIViewController>(owner.shared_from_this());
    auto apply = uikit::UIBarButtonItem::withTitle(std::string("Apply"), uikit::UIBarButtonItemStyle::Done);
    auto cancel = uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Cancel,
                                                         [weakOwner](uikit::UIBarButtonItem&) {
                                                             if (auto screen = weakOwner.lock())
                                                                 screen->dismissViewControllerAnimated(true);
                                                         });
    owner.navigationItem()->setRightBarButtonItem(outlets.connect(kApplyButtonOutlet, apply));
    owner.navigationItem()->setLeftBarButtonItem(outlets.connect(kCancelButtonOutlet, cancel));
    return table;
}

}  // namespace

void addScenes(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kFiltersNavigationScene, [](uikit::UIStoryboard& board) {
        return uikit::UINavigationController::withRootViewController(board.instantiateViewControllerWithIdentifier(kFiltersScene));
    });

    storyboard.addScene(
        kFiltersScene, [](uikit::UIStoryboard&) { return std::make_shared<FiltersTableViewController>(); },
        buildFiltersView);
    storyboard.addPrototypeCell(kFiltersScene, FiltersTableViewController::kCellIdentifier,
                                plainCell(FiltersTableViewController::kCellIdentifier));
    uikit::UIStoryboardSegueDefinition select;
    select.identifier = FiltersTableViewController::kSelectFilterSegue;
    select.kind = uikit::UIStoryboardSegueKind::Push;
    select.destination = kSelectFilterScene;
    select.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, FiltersTableViewController::kCellIdentifier};
    storyboard.addSegue(kFiltersScene, select);
    storyboard.addSegue(kFiltersScene, uikit::UIStoryboardSegueDefinition::unwind(
                                           FiltersTableViewController::kApplyFiltersSegue, kListApplyFiltersAction,
                                           {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, kApplyButtonOutlet}));

    storyboard.addScene(kSelectFilterScene,
                        [](uikit::UIStoryboard&) { return std::make_shared<SelectFilterTableViewController>(); });
    storyboard.addPrototypeCell(kSelectFilterScene, SelectFilterTableViewController::kCellIdentifier,
                                plainCell(SelectFilterTableViewController::kCellIdentifier));
    storyboard.addSegue(kSelectFilterScene,
                        uikit::UIStoryboardSegueDefinition::unwind(
                            SelectFilterTableViewController::kUnwindToFiltersSegue,
                            FiltersTableViewController::kUnwindToFiltersAction,
                            {uikit::UIStoryboardSegueTrigger::Kind::TableCell,
                             SelectFilterTableViewController::kCellIdentifier}));
}

void addListFiltersSegue(uikit::UIStoryboard& storyboard, const std::string& listScene, const char* identifier,
                         bool pad) {
    uikit::UIStoryboardSegueDefinition filters;
    filters.identifier = identifier;
    filters.kind = pad ? uikit::UIStoryboardSegueKind::Popover : uikit::UIStoryboardSegueKind::Modal;
    filters.destination = kFiltersNavigationScene;
    storyboard.addSegue(listScene, filters);
}

std::shared_ptr<uikit::UIPopoverController> prepareListFiltersSegue(
    uikit::UIStoryboardSegue& segue, const std::function<void(FiltersTableViewController&)>& prepare) {
    auto destination = segue.destinationViewController();
    if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
        destination = navigation->topViewController();
    if (auto filters = std::dynamic_pointer_cast<FiltersTableViewController>(destination)) prepare(*filters);
    auto* popover = dynamic_cast<uikit::StoryboardPopoverSegue*>(&segue);
    return popover ? popover->popoverController() : nullptr;
}

}  // namespace FilterScreenScenes

#include "lists/SearchEntity.h"

#include "Utils/Utils.h"
#include "coredata/FetchedResultsController.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/ListCellNibs.h"
#include "lists/QVASubtitleStyleTableViewCell.h"
#include "lists/SearchAdditionalDataSources.h"
#include "lists/SearchScopeModel.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVACoreDataParticipant.h"
#include "coredata/ManagedObject.h"
#include "store/CoreDataStack.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UIViewController.h"

namespace {

constexpr const char* kMissingStackMessage =
    "Unable to create a new instance for search frc in global search: coreDataStack or managedObjectContextMainQueue is "
    "nil";
constexpr const char* kLostObjectMessage =
    "Core data object was lost due to searchFetchedResultsController refresh, but changes are not seen yet in "
    "tableview. Probably it's a delete from database.";
constexpr const char* kLostEntityMessage = "Search entity lost in GLobal search is %@";

// The result at the row, or null when the row is no longer in the results.
foundation::Value resultAtRow(const coredata::FetchedResultsController* controller, int64_t row) {
    if (!controller || row < 0) return foundation::Value::null();
    return controller->objectAtIndexPath({0, static_cast<size_t>(row)});
}

// The standard result cell is the shared subtitle-style cell.
std::vector<foundation::ObjectPtr> standardCellNib(const foundation::ObjectPtr& owner) {
    ListCellNibs::registerNibs();
    return uikit::UINib::loadNibNamed("QVASubtitleStyleTableViewCell", owner);
}

}  // namespace

SearchEntity::SearchEntity(StackPtr coreDataStack) : coreDataStack_(std::move(coreDataStack)) {}

SearchEntity::~SearchEntity() { setSearchFetchedResultsController(nullptr); }

std::string SearchEntity::title() const { foundation::raise("Please override title in subclasses", ""); }

std::string SearchEntity::entityName() const { foundation::raise("Please override entityName in subclasses", ""); }

std::vector<coredata::SortDescriptor> SearchEntity::sortDescriptors() const {
    foundation::raise("Please override sortDescriptors in subclasses", "");
}

coredata::PredicatePtr SearchEntity::searchPredicateForSearchString(const std::string&) const {
    foundation::raise("Please override searchPredicate in subclasses", "");
}

void SearchEntity::configureCell(uikit::UITableViewCell&, uikit::UITableView&, const ViewControllerPtr&,
                                 const foundation::Value&, const SearchAdditionalDataSources&) {
    foundation::raise("Please override configureCell:withObject: in subclasses", "");
}

double SearchEntity::rowHeightForCoreDataObject(const foundation::Value& object, uikit::UITableView&,
                                                const ViewControllerPtr&, const SearchAdditionalDataSources&) {
    auto stored = object.objectAs<coredata::ManagedObject>();
    if (stored && stored->isKindOfEntity(QVACoreDataParticipant::kEntityName)) return kParticipantRowHeight;
    return kStandardRowHeight;
}

void SearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                   const uikit::NSIndexPath& indexPath) {
    foundation::Value object = foundation::Value::null();
    try {
        object = resultAtRow(searchFetchedResultsController_.get(), indexPath.row);
    } catch (const foundation::Exception&) {
        object = foundation::Value::null();
    }
    if (!object.isObject()) {
        foundation::Log(kLostObjectMessage);
        foundation::Log(kLostEntityMessage, className());
        return;
    }
    const bool isSwipeEnabled = searchFetchedResultsController_->fetchedObjects().size() > 1;
    navigateToDetailsFromController(controller, object, indexPath, isSwipeEnabled);
}

void SearchEntity::navigateToDetailsFromController(const ViewControllerPtr&, const foundation::Value&,
                                                   const uikit::NSIndexPath&, bool) {
    foundation::raise("Please override navigation (navigateToDetailsFromController:) in subclasses", "");
}

std::string SearchEntity::nibName() const {
    if (!uikit::UINib::hasNibNamed(kStandardNibName)) uikit::UINib::registerNib(kStandardNibName, standardCellNib);
    return kStandardNibName;
}

size_t SearchEntity::searchResultsCount() const {
    if (!searchFetchedResultsController_) return 0;
    const auto& sections = searchFetchedResultsController_->sections();
    return sections.empty() ? 0 : sections.front().numberOfObjects();
}

void SearchEntity::configureCell(uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                 const ViewControllerPtr& controller, uikit::UITableView& tableView,
                                 const SearchAdditionalDataSources& additionalDataSources) {
    configureCell(cell, tableView, controller, resultAtRow(searchFetchedResultsController_.get(), indexPath.row),
                  additionalDataSources);
}

double SearchEntity::heightForRowAtIndexPath(const uikit::NSIndexPath& indexPath, uikit::UITableView& tableView,
                                             const ViewControllerPtr& controller,
                                             const SearchAdditionalDataSources& additionalDataSources) {
    return rowHeightForCoreDataObject(resultAtRow(searchFetchedResultsController_.get(), indexPath.row), tableView,
                                      controller, additionalDataSources);
}

SearchEntity::ControllerPtr SearchEntity::newSearchFetchedResultsControllerForSearchString(
    const std::string& searchString, const StackPtr& coreDataStack) const {
    if (!coreDataStack || !coreDataStack->managedObjectContextMainQueue()) {
        foundation::Log(kMissingStackMessage);
        return nullptr;
    }
    auto request = coredata::FetchRequest::fetchRequestWithEntityName(entityName());
    request.setSortDescriptors(sortDescriptors());
    request.setPredicate(searchPredicateForSearchString(searchString));
    auto controller = std::make_shared<coredata::FetchedResultsController>(
        std::move(request), coreDataStack->managedObjectContextMainQueue(), std::nullopt,
        Utils::generateUniqueStringForFetchedResultControllerCache());
    if (auto error = controller->performFetch()) {
        foundation::Log("%s(%p) %@", "-[SearchEntity newSearchFetchedResultsControllerForSearchString:withCoreDataStack:]",
                        static_cast<const void*>(this),
                        foundation::Format("Unresolved error %@\n%@", error->localizedDescription(),
                                           foundation::Value(error->userInfo()).description()));
    }
    return controller;
}

coredata::PredicatePtr SearchEntity::searchPredicateForSearchString(const std::string& searchString,
                                                                    const std::string& propertyName) const {
    // The list scopes' word rule; the property is always given here.
    return SearchScopeModel(propertyName, std::nullopt).filterPredicateWithCoreDataStack(coreDataStack_, searchString);
}

void SearchEntity::setSearchFetchedResultsController(ControllerPtr controller) {
    searchFetchedResultsController_ = std::move(controller);
}

void SearchEntity::setStandardCellTexts(uikit::UITableViewCell& cell, const std::optional<std::string>& title,
                                        const std::optional<std::string>& subtitle) {
    auto* standard = dynamic_cast<QVASubtitleStyleTableViewCell*>(&cell);
    if (!standard) return;
    if (auto label = standard->titleLabel()) label->setText(title);
    if (auto label = standard->subtitleLabel()) label->setText(subtitle);
}

void SearchEntity::pushDetailsScreen(const ViewControllerPtr& controller, const ViewControllerPtr& details,
                                     const std::optional<std::string>& selectionPropertyId,
                                     const std::string& entityName, const uikit::NSIndexPath& indexPath,
                                     bool isSwipeEnabled) {
    auto screen = std::dynamic_pointer_cast<DetailsScreenSupport>(details);
    if (!screen) return;
    screen->setInputs({selectionPropertyId, entityName,
                       std::dynamic_pointer_cast<SwipeParentControllerProtocol>(controller), indexPath, isSwipeEnabled});
    if (auto navigation = controller ? controller->navigationController() : nullptr)
        navigation->pushViewController(details, true);
}

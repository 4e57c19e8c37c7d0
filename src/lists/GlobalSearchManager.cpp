#include "lists/GlobalSearchManager.h"

#include "Utils/StringUtility.h"
#include "foundation/StringUtils.h"
#include "lists/SearchAdditionalDataSources.h"
#include "lists/SearchEntity.h"
#include "lists/SearchEntityRegistry.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIViewController.h"

namespace {

constexpr size_t kMinimumSearchLength = 2;
constexpr auto kSearchRowAnimation = uikit::UITableViewRowAnimation::Fade;

uikit::NSIndexPath inSection(const coredata::IndexPath& path, int64_t section) {
    return uikit::NSIndexPath::indexPathForRow(static_cast<int64_t>(path.row), section);
}

}  // namespace

std::shared_ptr<GlobalSearchManager> GlobalSearchManager::initWithCoreDataStack(StackPtr coreDataStack,
                                                                                TablePtr searchTableView) {
    auto manager = std::make_shared<GlobalSearchManager>();
    manager->coreDataStack_ = std::move(coreDataStack);
    for (auto& entity : SearchEntityRegistry::makeEntities(manager->coreDataStack_))
        manager->registerSearchEntity(std::move(entity));
    manager->searchTableView_ = std::move(searchTableView);
    if (manager->searchTableView_) manager->registerCellsWithTableView(*manager->searchTableView_);
    return manager;
}

GlobalSearchManager::~GlobalSearchManager() {
    for (const auto& entity : searchEntitiesArray_)
        if (const auto& controller = entity->searchFetchedResultsController()) controller->setDelegate({});
}

void GlobalSearchManager::registerSearchEntity(std::shared_ptr<SearchEntity> entity) {
    searchEntitiesArray_.push_back(std::move(entity));
}

void GlobalSearchManager::registerCellsWithTableView(uikit::UITableView& tableView) {
    for (const auto& entity : searchEntitiesArray_)
        tableView.registerNib(uikit::UINib::nibWithNibName(entity->nibName()), entity->cellIdentifier());
}

void GlobalSearchManager::setSearchTableView(TablePtr tableView) {
    if (tableView == searchTableView_) return;
    searchTableView_ = std::move(tableView);
    if (searchTableView_) registerCellsWithTableView(*searchTableView_);
}

void GlobalSearchManager::searchForString(const std::string& searchString) {
    const std::string trimmed = foundation::StringUtils::trim(searchString);
    if (StringUtility::isNilOrEmpty(std::string_view(trimmed)) ||
        foundation::StringUtils::length16(trimmed) < kMinimumSearchLength)
        return;
    auto self = std::static_pointer_cast<GlobalSearchManager>(shared_from_this());
    for (const auto& entity : searchEntitiesArray_) {
        if (const auto& previous = entity->searchFetchedResultsController()) previous->setDelegate({});
        auto controller = entity->newSearchFetchedResultsControllerForSearchString(searchString, coreDataStack_);
        if (controller) controller->setDelegate(std::weak_ptr<coredata::FetchedResultsControllerDelegate>(self));
        entity->setSearchFetchedResultsController(std::move(controller));
    }
}

void GlobalSearchManager::cancelSearch() {
    for (const auto& entity : searchEntitiesArray_) {
        if (const auto& controller = entity->searchFetchedResultsController()) controller->setDelegate({});
        entity->setSearchFetchedResultsController(nullptr);
    }
}

void GlobalSearchManager::forgetRowHeights() {
    for (const auto& entity : searchEntitiesArray_) entity->forgetRowHeights();
}

int64_t GlobalSearchManager::getFRCIndex(const coredata::FetchedResultsController* controller) const {
    for (size_t index = 0; index < searchEntitiesArray_.size(); ++index)
        if (controller && searchEntitiesArray_[index]->searchFetchedResultsController().get() == controller)
            return static_cast<int64_t>(index);
    return -1;
}

void GlobalSearchManager::controllerWillChangeContent(coredata::FetchedResultsController&) {
    if (searchTableView_) searchTableView_->beginUpdates();
}

void GlobalSearchManager::controller(coredata::FetchedResultsController& controller, const foundation::Value&,
                                     std::optional<coredata::IndexPath> indexPath,
                                     coredata::FetchedResultsChangeType type,
                                     std::optional<coredata::IndexPath> newIndexPath) {
    const int64_t section = getFRCIndex(&controller);
    if (section < 0 || !searchTableView_) return;
    auto& table = *searchTableView_;
    switch (type) {
        case coredata::FetchedResultsChangeType::Insert:
            if (newIndexPath) table.insertRowsAtIndexPaths({inSection(*newIndexPath, section)}, kSearchRowAnimation);
            break;
        case coredata::FetchedResultsChangeType::Delete:
            if (indexPath) table.deleteRowsAtIndexPaths({inSection(*indexPath, section)}, kSearchRowAnimation);
            break;
        case coredata::FetchedResultsChangeType::Move:
            if (indexPath) table.deleteRowsAtIndexPaths({inSection(*indexPath, section)}, kSearchRowAnimation);
            if (newIndexPath) table.insertRowsAtIndexPaths({inSection(*newIndexPath, section)}, kSearchRowAnimation);
            break;
        case coredata::FetchedResultsChangeType::Update:
            redrawRow(*searchEntitiesArray_[static_cast<size_t>(section)], section, indexPath, newIndexPath);
            break;
    }
}

void GlobalSearchManager::controllerDidChangeContent(coredata::FetchedResultsController&) {
    if (searchTableView_) searchTableView_->endUpdates();
}

void GlobalSearchManager::redrawRow(SearchEntity& entity, int64_t section,
                                    const std::optional<coredata::IndexPath>& indexPath,
                                    const std::optional<coredata::IndexPath>& newIndexPath) {
    // The row on screen is the old one; the object it now shows sits at the
    // new place in the controller's results.
    const auto& shown = indexPath ? indexPath : newIndexPath;
    if (!shown) return;
    auto cell = searchTableView_->cellForRowAtIndexPath(inSection(*shown, section));
    if (!cell) return;
    const SearchAdditionalDataSources sources = dataSourcesProvider_ ? dataSourcesProvider_() : SearchAdditionalDataSources{};
    entity.configureCell(*cell, inSection(newIndexPath ? *newIndexPath : *shown, section), homeController_.lock(),
                         *searchTableView_, sources);
}

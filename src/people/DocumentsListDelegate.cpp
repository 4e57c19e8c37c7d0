#include "people/DocumentsListDelegate.h"

#include "coredata/FetchedResultsController.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Exception.h"
#include "model/QVACoreDataDocumentInfo.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UILabel.h"
#include "uikit/UITableViewCell.h"

const std::vector<std::string>& DocumentsListDelegate::viewableExtensions() {
    static const std::vector<std::string> extensions{"png", "jpg",  "jpeg", "gif", "doc", "docx",
                                                     "xls", "xlsx", "ppt",  "pptx", "pdf"};
    return extensions;
}

std::string DocumentsListDelegate::entityName() {
    foundation::raise(foundation::kInternalInconsistencyException, kSubclassReason);
}

ListsDataSourceProtocol::SortDescriptors DocumentsListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("index", true)};
}

std::optional<ListsDataSourceProtocol::PredicatePtr> DocumentsListDelegate::fetchPredicate() {
    return coredata::Predicate::withFormat("extension IN %@", viewableExtensions());
}

std::optional<std::vector<std::string>> DocumentsListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    foundation::raise(foundation::kInternalInconsistencyException, kSubclassReason);
}

std::optional<std::vector<std::shared_ptr<FilterModel>>> DocumentsListDelegate::filtersCollection() {
    return std::vector<std::shared_ptr<FilterModel>>{};
}

void DocumentsListDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                    uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                    BaseViewController& inController) {
    (void)inController;
    auto row = controller
                   .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                   .objectAs<QVACoreDataDocumentInfo>();
    cell.textLabel()->setText(row ? row->title() : std::nullopt);
}

#include "lists/NamedRowsListDefinition.h"

#include "coredata/FetchedResultsController.h"
#include "coredata/ManagedObject.h"
#include "uikit/UILabel.h"

NamedRowsListDefinition::NamedRowsListDefinition(std::string entityName, coredata::SortDescriptor sort,
                                                 std::string cellIdentifier, RowName rowName, size_t nameLines)
    : entityName_(std::move(entityName)),
      sort_(std::move(sort)),
      cellIdentifier_(std::move(cellIdentifier)),
      rowName_(std::move(rowName)),
      nameLines_(nameLines) {}

void NamedRowsListDefinition::fetchedResultController(coredata::FetchedResultsController& controller,
                                                      uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                      BaseViewController&) {
    auto row = controller.objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                   .objectAs<coredata::ManagedObject>();
    cell.textLabel()->setText(row ? rowName_(*row) : std::nullopt);
    cell.textLabel()->setNumberOfLines(nameLines_);
    cell.setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
}

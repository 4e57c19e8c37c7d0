#include "people/MessagesInboxListDelegate.h"

#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "model/QVACoreDataMessage.h"
#include "people/MessageCell.h"
#include "uikit/NSIndexPath.h"

std::string MessagesInboxListDelegate::entityName() { return QVACoreDataMessage::kEntityName; }

ListsDataSourceProtocol::SortDescriptors MessagesInboxListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("sentDatetime", true)};
}

std::optional<std::vector<std::string>> MessagesInboxListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataMessage::kEntityName};
}

void MessagesInboxListDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                        uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                        BaseViewController&) {
    auto* messageCell = dynamic_cast<MessageCell*>(&cell);
    auto message = controller
                       .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataMessage>();
    if (messageCell && message) messageCell->configureWithDetailObject(*message);
    cell.setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
}

#include "people/OutboxMessagesListDelegate.h"

#include "coredata/FetchedResultsController.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "people/MessageCell.h"
#include "uikit/NSIndexPath.h"

std::string OutboxMessagesListDelegate::entityName() { return QVACoreDataOutboxMessage::kEntityName; }

ListsDataSourceProtocol::SortDescriptors OutboxMessagesListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("composeDate", true)};
}

std::optional<ListsDataSourceProtocol::PredicatePtr> OutboxMessagesListDelegate::fetchPredicate() {
    return coredata::Predicate::truePredicate();
}

std::optional<std::vector<std::string>> OutboxMessagesListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataOutboxMessage::kEntityName};
}

void OutboxMessagesListDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                         uikit::UITableViewCell& cell,
                                                         const uikit::NSIndexPath& indexPath, BaseViewController&) {
    auto* messageCell = dynamic_cast<MessageCell*>(&cell);
    auto message = controller
                       .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataOutboxMessage>();
    if (messageCell && message) messageCell->configureWithOutboxMessage(*message);
    cell.setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
}

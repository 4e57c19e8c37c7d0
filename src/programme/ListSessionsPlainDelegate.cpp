#include "programme/ListSessionsPlainDelegate.h"

#include <set>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "programme/SubactivityCell.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/NSIndexPath.h"

std::shared_ptr<ListSessionsPlainDelegate> ListSessionsPlainDelegate::initWithSelectionPropertyId(
    const std::string& participantId) {
    auto delegate = std::make_shared<ListSessionsPlainDelegate>();
    delegate->participantId_ = participantId;
    return delegate;
}

std::string ListSessionsPlainDelegate::entityName() { return QVACoreDataSession::kEntityName; }

ListSessionsPlainDelegate::SortDescriptors ListSessionsPlainDelegate::sortDescriptors() {
    return FetchRequestUtils::getSimpleSessionsListSortDescriptos();
}

std::string ListSessionsPlainDelegate::cellIdentifier() { return SubactivityCell::cellIdentifier(); }

std::optional<ListSessionsPlainDelegate::PredicatePtr> ListSessionsPlainDelegate::fetchPredicate() {
    foundation::Value::Array ids;
    for (const auto& id : sessionIds_) ids.emplace_back(id);
    return coredata::Predicate::withFormat("itemId IN %@", foundation::Value(std::move(ids)));
}

void ListSessionsPlainDelegate::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                                            LiteListBaseViewController&) {
    sessionIds_.clear();
    noteIds_.clear();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return;
    std::set<std::string> ids;
    const auto rows = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataParticipant::kEntityName,
                .predicate = coredata::Predicate::withFormat("itemId = %@", participantId_),
                .properties = {"contributions"}});
    for (const auto& row : rows)
        if (const auto* contributions = row["contributions"].string())
            FilterFetching::addSessionIdsOfContributions(*contributions, ids);
    sessionIds_.assign(ids.begin(), ids.end());
    for (auto& id : FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context)) noteIds_.insert(id);
}

void ListSessionsPlainDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                        uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                        BaseViewController&) {
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    if (!sessionCell || !Utils::doesIndexPath(indexPath, controller)) return;
    auto session = controller
                       .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataSession>();
    if (!session) return;
    const auto start = session->valueForKey("startDatetime");
    const auto display = session->valueForKey("displayTime");
    const auto* startText = start.string();
    const auto* displayText = display.string();
    const auto time = startText ? DateHelper::programmeDayAndTimeForTimeInterval(
                                      *startText, displayText ? *displayText : std::string())
                                : std::nullopt;
    sessionCell->configureWithQVACoreDataSession(*session, std::nullopt, time, false, false,
                                                 noteIds_.count(session->itemId().value_or("")) > 0);
}

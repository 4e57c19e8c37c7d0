#include "programme/ListSessionsBaseDelegate.h"

#include <algorithm>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/ManagedObject.h"
#include "foundation/MainThreadChecker.h"
#include "model/QVACoreDataSession.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"
#include "model/QVAVenue.h"
#include "programme/SubactivityCell.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "lists/ListBaseViewController.h"
#include "lists/LiteListBaseViewController.h"

ListSessionsBaseDelegate::ListSessionsBaseDelegate() = default;

std::string ListSessionsBaseDelegate::entityName() { return QVACoreDataSession::kEntityName; }

ListSessionsBaseDelegate::SortDescriptors ListSessionsBaseDelegate::sortDescriptors() {
    return FetchRequestUtils::getSimpleSessionsListSortDescriptos();
}

std::string ListSessionsBaseDelegate::cellIdentifier() { return SubactivityCell::cellIdentifier(); }

void ListSessionsBaseDelegate::setAllDays(Strings days) {
    allDays_ = std::move(days);
    if (allDays_.empty()) {
        currentDay_ = std::string(kNoEntriesDay);
        return;
    }
    if (currentDay_) {
        if (std::find(allDays_.begin(), allDays_.end(), *currentDay_) == allDays_.end()) currentDay_ = allDays_.front();
        return;
    }
    for (const auto& day : allDays_) {
        const auto date = DateHelper::programmeDateFromSavedString(day);
        if (date && DateHelper::isDateToday(*date)) {
            currentDay_ = day;
            return;
        }
    }
    currentDay_ = allDays_.front();
}

void ListSessionsBaseDelegate::refreshAllDaysArray(const std::shared_ptr<CoreDataStack>& stack,
                                                   const PredicatePtr& forCompoundPredicate) {
    setAllDays(FetchRequestUtils::getAllDaysArray(stack, entityName(), forCompoundPredicate));
}

void ListSessionsBaseDelegate::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                                           LiteListBaseViewController& forController) {
    foundation::requireMainThread(ListBaseViewController::kOffMainThreadRefreshException);
    ++refreshCount_;
    refreshAllDaysArray(stack, forController.getCompoundFiltersPredicate());
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    // Paging through the days, or coming back to the list, reads nothing
    // again until the store shows something else.
    if (lookupsRead_.isCurrent(context)) return;
    lookupsRead_.stamp(context);
    roomsModelArray_.clear();
    venuesModelArray_.clear();
    locationByRoom_.clear();
    Strings noteIds, agendaIds, officialIds;
    if (context) {
        for (auto& room : FetchRequestUtils::getRoomsModelArrayInContext(context)) roomsModelArray_.emplace_back(room);
        for (auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(context))
            venuesModelArray_.emplace_back(venue);
        noteIds = FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context);
        agendaIds = FetchRequestUtils::getAgendaIdsArrayInContext(context);
        officialIds = FetchRequestUtils::getSessionsOfficialIdsArrayInContext(context);
    }
    // Most saves leave a list of ids as it was: its set is then kept rather
    // than hashed again, thousands of nodes for the official sessions.
    const auto keep = [](Strings ids, Strings& array, std::unordered_set<std::string>& set) {
        if (ids == array) return;
        array = std::move(ids);
        set = {array.begin(), array.end()};
    };
    keep(std::move(noteIds), personalNoteIdsArray_, noteIds_);
    keep(std::move(agendaIds), agendaIDsArray_, agendaIds_);
    keep(std::move(officialIds), sessionsOfficialIdsArray_, officialIds_);
}

ListSessionsBaseDelegate::Text ListSessionsBaseDelegate::timeTextForSession(const QVASession& session, bool forSearch) {
    if (!forSearch) return session.displayTime();
    if (!session.startDatetime()) return std::nullopt;
    return DateHelper::programmeDayAndTimeForTimeInterval(*session.startDatetime(), session.displayTime().value_or(""));
}

ListSessionsBaseDelegate::Text ListSessionsBaseDelegate::locationTextForSession(const QVASession& session) const {
    if (!session.roomId()) return Utils::getLocationStringForRoomId(foundation::Value(), venuesModelArray_, roomsModelArray_);
    const std::string& roomId = *session.roomId();
    auto found = locationByRoom_.find(roomId);
    if (found == locationByRoom_.end())
        found = locationByRoom_
                    .emplace(roomId, Utils::getLocationStringForRoomId(foundation::Value(roomId), venuesModelArray_,
                                                                       roomsModelArray_))
                    .first;
    return found->second;
}

void ListSessionsBaseDelegate::modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                                           BaseViewController&) {
    auto* session = dynamic_cast<QVASession*>(&object);
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    if (session && sessionCell) configureCell(*sessionCell, *session, forSearch);
}

void ListSessionsBaseDelegate::configureCell(SubactivityCell& cell, const QVASession& session, bool forSearch) const {
    const std::string itemId = session.itemId().value_or(std::string());
    cell.configureWithQVASession(session, locationTextForSession(session), timeTextForSession(session, forSearch),
                                 subactivityIsInAgendaWithId(itemId), subactivityIsAPrivateSessionWithId(itemId),
                                 subactivityHasPersonalNotes(itemId));
}

ListSessionsBaseDelegate::Text ListSessionsBaseDelegate::getObjectIdForIndexPath(
    const uikit::NSIndexPath& indexPath, coredata::FetchedResultsController& fromFetchController) {
    if (!Utils::doesIndexPath(indexPath, fromFetchController)) return std::nullopt;
    const auto value = fromFetchController.objectAtIndexPath(
        {static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)});
    auto object = value.objectAs<coredata::ManagedObject>();
    if (!object || !object->isKindOfEntity(QVACoreDataSession::kEntityName)) return std::nullopt;
    const auto id = object->valueForKey("itemId");
    if (const auto* text = id.string()) return *text;
    return std::nullopt;
}

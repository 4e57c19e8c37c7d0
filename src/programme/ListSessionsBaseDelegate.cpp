#include "programme/ListSessionsBaseDelegate.h"

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"
#include "model/QVAVenue.h"
#include "model/QVACoreDataSession.h"
#include "programme/SubactivityCell.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"

std::string ListSessionsBaseDelegate::entityName() { return QVACoreDataSession::kEntityName; }

ListSessionsBaseDelegate::SortDescriptors ListSessionsBaseDelegate::sortDescriptors() {
    return FetchRequestUtils::getSimpleSessionsListSortDescriptos();
}

std::string ListSessionsBaseDelegate::cellIdentifier() { return SubactivityCell::cellIdentifier(); }

void ListSessionsBaseDelegate::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                                           LiteListBaseViewController& forController) {
    (void)forController;
    ++refreshCount_;
    roomsModelArray_.clear();
    venuesModelArray_.clear();
    agendaIDsArray_.clear();
    sessionsOfficialIdsArray_.clear();
    personalNoteIdsArray_.clear();
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return;
    for (auto& room : FetchRequestUtils::getRoomsModelArrayInContext(context)) roomsModelArray_.emplace_back(room);
    for (auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(context)) venuesModelArray_.emplace_back(venue);
    agendaIDsArray_ = FetchRequestUtils::getAgendaIdsArrayInContext(context);
    sessionsOfficialIdsArray_ = FetchRequestUtils::getSessionsOfficialIdsArrayInContext(context);
    personalNoteIdsArray_ = FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context);
}

void ListSessionsBaseDelegate::modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                                           BaseViewController& inController) {
    (void)forSearch;
    (void)inController;
    auto* session = dynamic_cast<QVASession*>(&object);
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    if (session && sessionCell) configureCell(*sessionCell, *session);
}

void ListSessionsBaseDelegate::configureCell(SubactivityCell& cell, const QVASession& session) const {
    const std::string itemId = session.itemId().value_or(std::string());
    const foundation::Value roomId = session.roomId() ? foundation::Value(*session.roomId()) : foundation::Value();
    const auto location = Utils::getLocationStringForRoomId(roomId, venuesModelArray_, roomsModelArray_);
    const auto time = session.startDatetime()
                          ? DateHelper::programmeDayAndTimeForTimeInterval(*session.startDatetime(),
                                                                          session.displayTime().value_or(""))
                          : std::nullopt;
    cell.configureWithQVASession(session, location, time,
                                 FetchRequestUtils::subactivityIsInAgendaWithId(itemId, agendaIDsArray_),
                                 FetchRequestUtils::subactivityIsAPrivateSessionWithId(itemId, sessionsOfficialIdsArray_),
                                 FetchRequestUtils::subactivityHasPersonalNotes(itemId, personalNoteIdsArray_));
}

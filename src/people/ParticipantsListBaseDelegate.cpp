#include "people/ParticipantsListBaseDelegate.h"

#include "model/QVACoreDataParticipant.h"
#include "people/ParticipantCell.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"

std::string ParticipantsListBaseDelegate::entityName() { return QVACoreDataParticipant::kEntityName; }

std::string ParticipantsListBaseDelegate::cellIdentifier() { return ParticipantCell::cellIdentifier(); }

void ParticipantsListBaseDelegate::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                                               LiteListBaseViewController&) {
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    personalNoteIdsArray_ = context ? FetchRequestUtils::getNotEmptyParticipantsNoteIdsArrayInContext(context) : Strings{};
    favoritedparticipantIdsArray_ = context ? FetchRequestUtils::getFavoritedparticipantIdsArrayInContext(context) : Strings{};
    personalNoteIds_ = {personalNoteIdsArray_.begin(), personalNoteIdsArray_.end()};
    favoritedIds_ = {favoritedparticipantIdsArray_.begin(), favoritedparticipantIdsArray_.end()};
}

bool ParticipantsListBaseDelegate::participantHasPersonalNotes(const std::optional<std::string>& participantId) const {
    return participantId && personalNoteIds_.count(*participantId) > 0;
}

bool ParticipantsListBaseDelegate::participantIsFavorited(const std::optional<std::string>& participantId) const {
    return participantId && favoritedIds_.count(*participantId) > 0;
}

// (Helper) of agenda rows: an agenda entry becomes one row of the entity of
// the class the mapping is called through (selection, responsibility,
// invitation or personal entry). Insights belong to official sessions and
// are not written here.
#include "model/QVACoreDataAgendaRole.h"
#include "model/RowWriting.h"

void QVACoreDataAgendaRole::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                         const QVAAgendaRole& role,
                                                         coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, role, context);
}

void QVACoreDataAgendaRole::insertOrUpdateCoreDataObjectOfEntity(const char* entityName,
                                                                 const coredata::ManagedObjectPtr& row,
                                                                 const QVAAgendaRole& role,
                                                                 coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataAgendaRole>(row, entityName, context))
        target->copyFields(role);
}

std::string QVACoreDataAgendaRole::comparisonPropertyName() { return "agendaItemId"; }

coredata::PredicatePtr QVACoreDataAgendaRole::comparisonPredicateForObject(const QVAAgendaRole& role) {
    return coredata::Predicate::withFormat("agendaItemId=%@", ModelReading::valueOf(role.agendaItemId()));
}

void QVACoreDataAgendaRole::copyFields(const QVAAgendaRole& role) {
    setEndDatetime(role.endDatetime());
    setDisplayTime(role.displayTime());
    setFeedbackUrl(role.feedbackUrl());
    setKeyword(role.keyword());
    setRoomId(role.roomId());
    setProgrammeName(role.programmeName());
    setRevision(role.revision());
    setSectionTitle(role.sectionTitle());
    setSessionDescription(role.sessionDescription());
    setItemId(role.itemId());
    setStartDatetime(role.startDatetime());
    setStartDateString(role.startDateString());
    setTitle(role.title());
    setType(role.type());
    setWebcastUrl(role.webcastUrl());
    setVotingUrl(role.votingUrl());
    setCurrencyIsoCode(role.currencyIsoCode());
    setSessionStructure(role.sessionStructure());
    setCapacity(role.capacity());
    setFee(role.fee());
    setPreparatoryDiscussionDurationInMinutes(static_cast<int16_t>(role.preparatoryDiscussionDurationInMinutes()));
    setCancelled(role.cancelled());
    setPressAllowed(role.pressAllowed());
    setSignupRequired(role.signupRequired());
    setSpouseAllowed(role.spouseAllowed());
    setWithMeal(role.withMeal());
    setWithSpouse(role.withSpouse());
    setContributors(role.contributors());
    setStatus(role.status());
    setAgendaItemId(role.agendaItemId());
}

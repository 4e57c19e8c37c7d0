// (Helper) of session rows: a QVASession becomes one row. New rows take the
// entity of the class the mapping is called through, so official sessions
// land in QVACoreDataSession while sharing this mapping.
#include "model/QVACoreDataBaseSession.h"
#include "model/RowWriting.h"

void QVACoreDataBaseSession::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                          const QVASession& session,
                                                          coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, session, context);
}

void QVACoreDataBaseSession::insertOrUpdateCoreDataObjectOfEntity(const char* entityName,
                                                                  const coredata::ManagedObjectPtr& row,
                                                                  const QVASession& session,
                                                                  coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataBaseSession>(row, entityName, context))
        target->copyFields(session);
}

std::string QVACoreDataBaseSession::comparisonPropertyName() { return "itemId"; }

coredata::PredicatePtr QVACoreDataBaseSession::comparisonPredicateForObject(const QVASession& session) {
    return coredata::Predicate::withFormat("itemId=%@", ModelReading::valueOf(session.itemId()));
}

void QVACoreDataBaseSession::copyFields(const QVASession& session) {
    setEndDatetime(session.endDatetime());
    setDisplayTime(session.displayTime());
    setFeedbackUrl(session.feedbackUrl());
    setKeyword(session.keyword());
    setRoomId(session.roomId());
    setProgrammeName(session.programmeName());
    setRevision(session.revision());
    setSectionTitle(session.sectionTitle());
    setSessionDescription(session.sessionDescription());
    setItemId(session.itemId());
    setStartDatetime(session.startDatetime());
    setStartDateString(session.startDateString());
    setTitle(session.title());
    setType(session.type());
    setWebcastUrl(session.webcastUrl());
    setVotingUrl(session.votingUrl());
    setCurrencyIsoCode(session.currencyIsoCode());
    setSessionStructure(session.sessionStructure());
    setCapacity(session.capacity());
    setFee(session.fee());
    setPreparatoryDiscussionDurationInMinutes(static_cast<int16_t>(session.preparatoryDiscussionDurationInMinutes()));
    setCancelled(session.cancelled());
    setPressAllowed(session.pressAllowed());
    setSignupRequired(session.signupRequired());
    setSpouseAllowed(session.spouseAllowed());
    setWithMeal(session.withMeal());
    setContributors(session.contributors());
    setInsights(RowWriting::archivedArray(session.insights()));
}

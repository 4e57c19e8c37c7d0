// (Helper) of followed-participant rows: a QVAFollowedParticipant becomes
// one row.
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/RowWriting.h"

void QVACoreDataFollowedParticipant::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                                  const QVAFollowedParticipant& participant,
                                                                  coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataFollowedParticipant>(row, kEntityName, context))
        target->copyFields(participant);
}

std::string QVACoreDataFollowedParticipant::comparisonPropertyName() { return "itemId"; }

void QVACoreDataFollowedParticipant::copyFields(const QVAFollowedParticipant& participant) {
    setItemId(participant.itemId());
    setFirstName(participant.firstName());
    setLastName(participant.lastName());
    setFullName(participant.fullName());
}

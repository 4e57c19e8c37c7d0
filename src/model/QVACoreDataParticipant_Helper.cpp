// (Helper) of participant rows: a QVAParticipant becomes one row, filed in
// the people list under the initial of its last name.
#include "model/QVACoreDataParticipant.h"
#include "model/RowWriting.h"

void QVACoreDataParticipant::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                          const QVAParticipant& participant,
                                                          coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataParticipant>(row, kEntityName, context))
        target->copyFields(participant);
}

std::string QVACoreDataParticipant::comparisonPropertyName() { return "itemId"; }

coredata::PredicatePtr QVACoreDataParticipant::comparisonPredicateForObject(const QVAParticipant& participant) {
    return coredata::Predicate::withFormat("itemId=%@", ModelReading::valueOf(participant.itemId()));
}

void QVACoreDataParticipant::copyFields(const QVAParticipant& participant) {
    setItemId(participant.itemId());
    setRevision(participant.revision());
    setFirstName(participant.firstName());
    setLastName(participant.lastName());
    setFullName(participant.fullName());
    setEmail(participant.email());
    setMobilePhone(participant.mobilePhone());
    setPhone(participant.phone());
    setProfile(participant.profile());
    setCountryOfNationality(participant.countryOfNationality());
    setPublicFigure(participant.publicFigure());
    setOrganizationId(participant.organizationId());
    setOrganizationName(participant.organizationName());
    setPositionTitle(participant.positionTitle());
    setPhotoUrl(participant.photoUrl());
    setTopLevelOrganizationId(participant.topLevelOrganizationId());
    setThumbnailUrl(participant.thumbnailUrl());
    setOrganizationType(participant.organizationType());
    setInBooklet(participant.inBooklet());
    setSectionTitle(RowWriting::sectionInitial(lastName()));
    setContributions(participant.contributions());
    setQuovanaNetworks(participant.quovanaNetworks());
    setSocialAccounts(RowWriting::archivedArray(participant.socialAccounts()));
}

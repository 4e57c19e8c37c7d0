// (Helper) of partner rows: a QVAPartner becomes one row.
#include "model/QVACoreDataPartner.h"
#include "model/RowWriting.h"

void QVACoreDataPartner::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAPartner& partner,
                                                      coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataPartner>(row, kEntityName, context))
        target->copyFields(partner);
}

std::string QVACoreDataPartner::comparisonPropertyName() { return "itemId"; }

coredata::PredicatePtr QVACoreDataPartner::comparisonPredicateForObject(const QVAPartner& partner) {
    return coredata::Predicate::withFormat("itemId=%@", ModelReading::valueOf(partner.itemId()));
}

void QVACoreDataPartner::copyFields(const QVAPartner& partner) {
    setItemId(partner.itemId());
    setName(partner.name());
    setCommonName(partner.commonName());
    setEngagementType(partner.engagementType());
    setProfile(partner.profile());
    setRevision(partner.revision());
    setLogoUrl(partner.logoUrl());
    setThumbnailUrl(partner.thumbnailUrl());
}

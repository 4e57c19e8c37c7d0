// (Helper) of organisation rows: a QVAOrganization becomes one row, filed in
// the organisations list under the initial of its common name.
#include "model/QVACoreDataOrganization.h"
#include "model/RowWriting.h"

void QVACoreDataOrganization::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                           const QVAOrganization& organization,
                                                           coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataOrganization>(row, kEntityName, context))
        target->copyFields(organization);
}

std::string QVACoreDataOrganization::comparisonPropertyName() { return "itemId"; }

coredata::PredicatePtr QVACoreDataOrganization::comparisonPredicateForObject(const QVAOrganization& organization) {
    return coredata::Predicate::withFormat("itemId=%@ ", ModelReading::valueOf(organization.itemId()));
}

void QVACoreDataOrganization::copyFields(const QVAOrganization& organization) {
    setAddress(organization.address());
    setCity(organization.city());
    setCountry(organization.country());
    setEmail(organization.email());
    setWebsite(organization.website());
    setLogo(organization.logo());
    setName(organization.name());
    setCommonName(organization.commonName());
    setZipCode(organization.zipCode());
    setProfile(organization.profile());
    setSector(organization.sector());
    setPhone(organization.phone());
    setItemId(organization.itemId());
    setTopLevelOrganizationId(organization.topLevelOrganizationId());
    setRevision(organization.revision());
    setOrganizationType(organization.organizationType());
    setPoBox(organization.poBox());
    setSectionTitle(RowWriting::sectionInitial(commonName()));
}

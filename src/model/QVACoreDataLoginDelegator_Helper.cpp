// (Helper) of login-delegator rows: a QVALoginDelegator becomes one row.
#include "model/QVACoreDataLoginDelegator.h"
#include "model/RowWriting.h"

void QVACoreDataLoginDelegator::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                             const QVALoginDelegator& delegator,
                                                             coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataLoginDelegator>(row, kEntityName, context))
        target->copyFields(delegator);
}

std::string QVACoreDataLoginDelegator::comparisonPropertyName() { return "itemId"; }

void QVACoreDataLoginDelegator::copyFields(const QVALoginDelegator& delegator) {
    setItemId(delegator.itemId());
    setFirstName(delegator.firstName());
    setLastName(delegator.lastName());
    setFullName(delegator.fullName());
    setType(delegator.type());
    setEmail(delegator.email());
    setRevision(delegator.revision());
}

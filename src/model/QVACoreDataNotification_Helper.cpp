// (Helper) of notification rows: a QVANotification becomes one row.
#include "model/QVACoreDataNotification.h"
#include "model/RowWriting.h"

void QVACoreDataNotification::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                           const QVANotification& notification,
                                                           coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataNotification>(row, kEntityName, context))
        target->copyFields(notification);
}

std::string QVACoreDataNotification::comparisonPropertyName() { return "itemId"; }

void QVACoreDataNotification::copyFields(const QVANotification& notification) {
    setItemId(notification.itemId());
    setMessage(notification.message());
    setAcknowledged(notification.acknowledged());
    setCreation_date(notification.creation_date());
}

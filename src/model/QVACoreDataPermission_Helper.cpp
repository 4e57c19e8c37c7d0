// (Helper) of permission rows: a QVAPermission becomes one row.
#include "model/QVACoreDataPermission.h"
#include "model/RowWriting.h"

void QVACoreDataPermission::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                         const QVAPermission& permission,
                                                         coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataPermission>(row, kEntityName, context))
        target->copyFields(permission);
}

void QVACoreDataPermission::copyFields(const QVAPermission& permission) {
    setCode(permission.code());
    setGranted(permission.granted());
}

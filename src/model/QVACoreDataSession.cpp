// The row of a session of the official programme. It inherits the session
// mapping, which writes new rows of the receiving class's entity.
#include "model/QVACoreDataSession.h"

void QVACoreDataSession::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVASession& session,
                                                      coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, session, context);
}

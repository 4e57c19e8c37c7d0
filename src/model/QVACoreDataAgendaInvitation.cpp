// The row of an agenda entry for an invitation to a session. It inherits the agenda
// mapping, which writes new rows of the receiving class's entity.
#include "model/QVACoreDataAgendaInvitation.h"

void QVACoreDataAgendaInvitation::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                               const QVAAgendaRole& role,
                                                               coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, role, context);
}

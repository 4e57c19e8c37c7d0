// The row of an agenda entry for a session the user has a role in. It inherits the agenda
// mapping, which writes new rows of the receiving class's entity.
#include "model/QVACoreDataAgendaResponsability.h"

void QVACoreDataAgendaResponsability::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                                   const QVAAgendaRole& role,
                                                                   coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, role, context);
}

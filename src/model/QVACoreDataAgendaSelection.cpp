// The row of an agenda entry for a session the user selected. It inherits the agenda
// mapping, which writes new rows of the receiving class's entity.
#include "model/QVACoreDataAgendaSelection.h"

void QVACoreDataAgendaSelection::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                              const QVAAgendaRole& role,
                                                              coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, role, context);
}

// The row of a personal agenda entry: one the user made on their own. It inherits the agenda
// mapping, which writes new rows of the receiving class's entity.
#include "model/QVACoreDataPersonalEntry.h"

void QVACoreDataPersonalEntry::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                            const QVAAgendaRole& role,
                                                            coredata::ManagedObjectContext& context) {
    insertOrUpdateCoreDataObjectOfEntity(kEntityName, row, role, context);
}

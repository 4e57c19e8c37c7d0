// (Helper) of session-note rows: a QVASessionNote becomes one row.
#include "model/QVACoreDataSessionNote.h"
#include "model/RowWriting.h"

void QVACoreDataSessionNote::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                          const QVASessionNote& note,
                                                          coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataSessionNote>(row, kEntityName, context))
        target->copyFields(note);
}

std::string QVACoreDataSessionNote::comparisonPropertyName() { return "itemId"; }

void QVACoreDataSessionNote::copyFields(const QVASessionNote& note) {
    setItemId(note.itemId());
    setRevision(note.revision());
    setNote(note.note());
    setSessionId(note.sessionId());
}

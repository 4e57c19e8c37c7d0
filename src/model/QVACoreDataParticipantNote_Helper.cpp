// (Helper) of participant-note rows: a QVAParticipantNote becomes one row.
#include "model/QVACoreDataParticipantNote.h"
#include "model/RowWriting.h"

void QVACoreDataParticipantNote::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                              const QVAParticipantNote& note,
                                                              coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataParticipantNote>(row, kEntityName, context))
        target->copyFields(note);
}

std::string QVACoreDataParticipantNote::comparisonPropertyName() { return "itemId"; }

void QVACoreDataParticipantNote::copyFields(const QVAParticipantNote& note) {
    setItemId(note.itemId());
    setRevision(note.revision());
    setNote(note.note());
    setParticipantId(note.participantId());
}

// Attribute accessors of QVACoreDataParticipantNote rows.
#include "model/QVACoreDataParticipantNote.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataParticipantNote::note() const { return stringForKey("note"); }
void QVACoreDataParticipantNote::setNote(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "note");
}
std::optional<std::string> QVACoreDataParticipantNote::itemId() const { return stringForKey("itemId"); }
void QVACoreDataParticipantNote::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataParticipantNote::participantId() const { return stringForKey("participantId"); }
void QVACoreDataParticipantNote::setParticipantId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "participantId");
}
std::optional<std::string> QVACoreDataParticipantNote::revision() const { return stringForKey("revision"); }
void QVACoreDataParticipantNote::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}

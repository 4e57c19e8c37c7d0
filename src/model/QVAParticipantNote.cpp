// Participant notes.
#include "model/QVAParticipantNote.h"

#include "model/ItemModelBuilder.h"

std::shared_ptr<QVAParticipantNote> QVAParticipantNote::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVAParticipantNote>::fromDictionary(dictionary);
}

std::shared_ptr<QVAParticipantNote> QVAParticipantNote::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return ItemModelBuilder<QVAParticipantNote>::fromCoder(coder);
}

void QVAParticipantNote::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    participantId_ = json.id("participantId");
    note_ = json.text("note");
}

void QVAParticipantNote::decodeFields(const foundation::KeyedUnarchiver& coder) {
    QVABaseItemModel::decodeFields(coder);
    participantId_ = coder.decodeStringForKey("participantId");
    note_ = coder.decodeStringForKey("note");
}

void QVAParticipantNote::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QVABaseItemModel::encodeWithCoder(coder);
    coder.encodeObject(ModelReading::valueOf(participantId_), "participantId");
    coder.encodeObject(ModelReading::valueOf(note_), "note");
}

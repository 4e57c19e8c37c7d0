// Session notes.
#include "model/QVASessionNote.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;

std::shared_ptr<QVASessionNote> QVASessionNote::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVASessionNote>::fromDictionary(dictionary);
}

std::shared_ptr<QVASessionNote> QVASessionNote::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return ItemModelBuilder<QVASessionNote>::fromCoder(coder);
}

void QVASessionNote::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    sessionId_ = json.id("sessionId");
    note_ = json.text("note");
}

void QVASessionNote::decodeFields(const foundation::KeyedUnarchiver& coder) {
    QVABaseItemModel::decodeFields(coder);
    sessionId_ = coder.decodeStringForKey("sessionId");
    note_ = coder.decodeStringForKey("note");
}

void QVASessionNote::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QVABaseItemModel::encodeWithCoder(coder);
    coder.encodeObject(ModelReading::valueOf(sessionId_), "sessionId");
    coder.encodeObject(ModelReading::valueOf(note_), "note");
}

// Attribute accessors of QVACoreDataSessionNote rows.
#include "model/QVACoreDataSessionNote.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataSessionNote::sessionId() const { return stringForKey("sessionId"); }
void QVACoreDataSessionNote::setSessionId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sessionId");
}
std::optional<std::string> QVACoreDataSessionNote::revision() const { return stringForKey("revision"); }
void QVACoreDataSessionNote::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataSessionNote::itemId() const { return stringForKey("itemId"); }
void QVACoreDataSessionNote::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataSessionNote::note() const { return stringForKey("note"); }
void QVACoreDataSessionNote::setNote(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "note");
}

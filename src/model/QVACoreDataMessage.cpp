// Attribute accessors of QVACoreDataMessage rows.
#include "model/QVACoreDataMessage.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataMessage::body() const { return stringForKey("body"); }
void QVACoreDataMessage::setBody(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "body");
}
std::optional<std::string> QVACoreDataMessage::folderName() const { return stringForKey("folderName"); }
void QVACoreDataMessage::setFolderName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "folderName");
}
std::optional<foundation::Data> QVACoreDataMessage::from() const { return dataForKey("from"); }
void QVACoreDataMessage::setFrom(const std::optional<foundation::Data>& value) {
    setValue(value ? Value(*value) : Value(), "from");
}
bool QVACoreDataMessage::isRead() const { return boolForKey("isRead"); }
void QVACoreDataMessage::setIsRead(bool value) { setValue(Value(value), "isRead"); }
int32_t QVACoreDataMessage::messageId() const { return static_cast<int32_t>(integerForKey("messageId")); }
void QVACoreDataMessage::setMessageId(int32_t value) { setValue(Value(int(value)), "messageId"); }
int32_t QVACoreDataMessage::participantId() const { return static_cast<int32_t>(integerForKey("participantId")); }
void QVACoreDataMessage::setParticipantId(int32_t value) { setValue(Value(int(value)), "participantId"); }
std::optional<std::string> QVACoreDataMessage::sentDatetime() const { return stringForKey("sentDatetime"); }
void QVACoreDataMessage::setSentDatetime(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sentDatetime");
}
std::optional<std::string> QVACoreDataMessage::subject() const { return stringForKey("subject"); }
void QVACoreDataMessage::setSubject(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "subject");
}
int32_t QVACoreDataMessage::threadId() const { return static_cast<int32_t>(integerForKey("threadId")); }
void QVACoreDataMessage::setThreadId(int32_t value) { setValue(Value(int(value)), "threadId"); }
std::optional<foundation::Data> QVACoreDataMessage::to() const { return dataForKey("to"); }
void QVACoreDataMessage::setTo(const std::optional<foundation::Data>& value) {
    setValue(value ? Value(*value) : Value(), "to");
}
std::optional<std::string> QVACoreDataMessage::itemId() const { return stringForKey("itemId"); }
void QVACoreDataMessage::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataMessage::revision() const { return stringForKey("revision"); }
void QVACoreDataMessage::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}

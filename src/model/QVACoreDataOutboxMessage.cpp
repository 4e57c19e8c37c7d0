// Attribute accessors of QVACoreDataOutboxMessage rows.
#include "model/QVACoreDataOutboxMessage.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataOutboxMessage::body() const { return stringForKey("body"); }
void QVACoreDataOutboxMessage::setBody(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "body");
}
int32_t QVACoreDataOutboxMessage::composeDate() const { return static_cast<int32_t>(integerForKey("composeDate")); }
void QVACoreDataOutboxMessage::setComposeDate(int32_t value) { setValue(Value(int(value)), "composeDate"); }
int32_t QVACoreDataOutboxMessage::threadId() const { return static_cast<int32_t>(integerForKey("threadId")); }
void QVACoreDataOutboxMessage::setThreadId(int32_t value) { setValue(Value(int(value)), "threadId"); }
std::optional<std::string> QVACoreDataOutboxMessage::subject() const { return stringForKey("subject"); }
void QVACoreDataOutboxMessage::setSubject(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "subject");
}
std::optional<std::string> QVACoreDataOutboxMessage::toAddresses() const { return stringForKey("toAddresses"); }
void QVACoreDataOutboxMessage::setToAddresses(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "toAddresses");
}
std::optional<std::string> QVACoreDataOutboxMessage::toNames() const { return stringForKey("toNames"); }
void QVACoreDataOutboxMessage::setToNames(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "toNames");
}
std::optional<std::string> QVACoreDataOutboxMessage::outboxId() const { return stringForKey("outboxId"); }
void QVACoreDataOutboxMessage::setOutboxId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "outboxId");
}

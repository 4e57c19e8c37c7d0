// Attribute accessors of QVACoreDataAgendaRole rows.
#include "model/QVACoreDataAgendaRole.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataAgendaRole::agendaItemId() const { return stringForKey("agendaItemId"); }
void QVACoreDataAgendaRole::setAgendaItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "agendaItemId");
}
std::optional<std::string> QVACoreDataAgendaRole::status() const { return stringForKey("status"); }
void QVACoreDataAgendaRole::setStatus(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "status");
}
bool QVACoreDataAgendaRole::withSpouse() const { return boolForKey("withSpouse"); }
void QVACoreDataAgendaRole::setWithSpouse(bool value) { setValue(Value(value), "withSpouse"); }

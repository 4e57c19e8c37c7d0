// Agenda entries of all four kinds.
#include "model/QVAAgendaRole.h"

#include "coredata/ManagedObject.h"
#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVAAgendaRole> QVAAgendaRole::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAAgendaRole>::fromDictionary(dictionary);
}

std::shared_ptr<QVAAgendaRole> QVAAgendaRole::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVAAgendaRole>::fromCoreDataDictionary(row);
}

std::shared_ptr<QVAAgendaRole> QVAAgendaRole::initWithCoreDataObject(const coredata::ManagedObject& storedObject) {
    return ItemModelBuilder<QVAAgendaRole>::fromRow(FieldReader(storedObject));
}

// The entry's revision versions the entry, not its session, so the outer
// revision replaces the session's (and a missing one leaves none).
void QVAAgendaRole::readDictionary(const FieldReader& json) {
    if (readsSessionFromOwnDictionary()) {
        QVASession::readDictionary(json);
    } else {
        Value session = json.dictionary("session");
        QVASession::readDictionary(FieldReader(session));
    }
    status_ = json.text("status");
    agendaItemId_ = json.id("id");
    withSpouse_ = json.boolean("withSpouse");
    setRevision(json.text(revisionKey()));
}

void QVAAgendaRole::readRow(const FieldReader& row) {
    QVASession::readRow(row);
    status_ = row.text("status");
    agendaItemId_ = row.text("agendaItemId");
    withSpouse_ = row.boolean("withSpouse");
}

Value QVAAgendaRole::valueForKey(const std::string& key) const {
    if (key == "agendaItemId") return valueOf(agendaItemId_);
    if (key == "status") return valueOf(status_);
    if (key == "withSpouse") return withSpouse_;
    return QVASession::valueForKey(key);
}

// The four agenda kinds and the invitation caption.
#include "model/QVAAgendaEntries.h"

#include "coredata/ManagedObject.h"
#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;

std::shared_ptr<QVAAgendaSelections> QVAAgendaSelections::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAAgendaSelections>::fromDictionary(dictionary);
}

std::shared_ptr<QVAAgendaResponsibilities> QVAAgendaResponsibilities::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAAgendaResponsibilities>::fromDictionary(dictionary);
}

std::shared_ptr<QVAAgendaInvitation> QVAAgendaInvitation::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAAgendaInvitation>::fromDictionary(dictionary);
}

std::shared_ptr<QVAAgendaInvitation> QVAAgendaInvitation::initWithCoreDataObject(
    const coredata::ManagedObject& storedObject) {
    return ItemModelBuilder<QVAAgendaInvitation>::fromRow(FieldReader(storedObject));
}

std::string QVAAgendaInvitation::buildInvitationStringFromStatus(std::string_view status, bool withSpouse) {
    if (status == "Confirmed") return withSpouse ? "Invitation accepted with spouse for:" : "Invitation accepted for:";
    if (status == "Invited") return "Invitation received for:";
    if (status == "Declined" || status == "Cancelled") return "Invitation declined for:";
    if (status == "Delegated") return "Invitation delegated for:";
    return std::string(status);
}

std::shared_ptr<QVAPersonalEntry> QVAPersonalEntry::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAPersonalEntry>::fromDictionary(dictionary);
}

// A personal entry's subject and body stand in for a session's title and
// description, and its keyword is its title.
void QVAPersonalEntry::readDictionary(const FieldReader& json) {
    QVAAgendaRole::readDictionary(json);
    setTitle(json.text("subject"));
    setSessionDescription(json.text("body"));
    setKeyword(title());
}

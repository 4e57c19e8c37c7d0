// One entry of the user's personal agenda. Selections, responsibilities and
// invitations wrap a session (their session part comes from the nested
// "session"); personal entries stand alone. The entry's own id is
// agendaItemId, while itemId stays the session's id, so lists select agenda
// entries by agendaItemId.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVASession.h"

class QVAAgendaRole : public QVASession {
public:
    static constexpr const char* kClassName = "QVAAgendaRole";
    static constexpr const char* kCoreDataClass = "QVACoreDataAgendaRole";
    static constexpr const char* kCoreDataSelectionPropertyName = "agendaItemId";

    QVAAgendaRole() = default;
    static std::shared_ptr<QVAAgendaRole> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAAgendaRole> initWithCoreDataDictionary(const foundation::Value& row);
    static std::shared_ptr<QVAAgendaRole> initWithCoreDataObject(const coredata::ManagedObject& storedObject);

    const std::optional<std::string>& agendaItemId() const { return agendaItemId_; }
    void setAgendaItemId(std::optional<std::string> v) { agendaItemId_ = std::move(v); }
    // An entry's row is keyed by the entry's own id, the one the delta lists
    // and the store matches, not by its session's: an entry whose own id is
    // unusable could be neither listed nor removed, whatever its session.
    const std::optional<std::string>& keyId() const override { return agendaItemId_; }
    // For invitations one of "Invited", "Confirmed", "Declined", "Cancelled", "Delegated".
    const std::optional<std::string>& status() const { return status_; }
    void setStatus(std::optional<std::string> v) { status_ = std::move(v); }
    bool withSpouse() const { return withSpouse_; }
    void setWithSpouse(bool v) { withSpouse_ = v; }

    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
    // An entry is shown, asked about and noted through its session's id as
    // well: an entry without a usable one could only show a spinner.
    bool hasUsableIds() const override { return keyId() && itemId(); }
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;
    // Personal entries carry their session part in their own dictionary.
    virtual bool readsSessionFromOwnDictionary() const { return false; }

private:
    std::optional<std::string> agendaItemId_;
    std::optional<std::string> status_;
    bool withSpouse_ = false;
};

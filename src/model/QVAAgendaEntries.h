// The four kinds of agenda entry. They add no fields; each names its own
// entity, so a stored row keeps its kind, and personal entries read their
// session part, subject and body from their own dictionary.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/QVAAgendaRole.h"

class QVAAgendaSelections : public QVAAgendaRole {
public:
    static constexpr const char* kClassName = "QVAAgendaSelections";
    static constexpr const char* kCoreDataClass = "QVACoreDataAgendaSelection";

    static std::shared_ptr<QVAAgendaSelections> initWithDictionary(const foundation::Value& dictionary);
    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
};

class QVAAgendaResponsibilities : public QVAAgendaRole {
public:
    static constexpr const char* kClassName = "QVAAgendaResponsibilities";
    static constexpr const char* kCoreDataClass = "QVACoreDataAgendaResponsability";

    static std::shared_ptr<QVAAgendaResponsibilities> initWithDictionary(const foundation::Value& dictionary);
    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
};

class QVAAgendaInvitation : public QVAAgendaRole {
public:
    static constexpr const char* kClassName = "QVAAgendaInvitation";
    static constexpr const char* kCoreDataClass = "QVACoreDataAgendaInvitation";

    static std::shared_ptr<QVAAgendaInvitation> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAAgendaInvitation> initWithCoreDataObject(const coredata::ManagedObject& storedObject);
    // The caption the agenda shows above an invitation; an unknown status is
    // shown as it is.
    static std::string buildInvitationStringFromStatus(std::string_view status, bool withSpouse);

    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
};

class QVAPersonalEntry : public QVAAgendaRole {
public:
    static constexpr const char* kClassName = "QVAPersonalEntry";
    static constexpr const char* kCoreDataClass = "QVACoreDataPersonalEntry";

    static std::shared_ptr<QVAPersonalEntry> initWithDictionary(const foundation::Value& dictionary);
    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    bool readsSessionFromOwnDictionary() const override { return true; }
};

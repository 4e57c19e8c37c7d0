// The row of an entry of the user's agenda. itemId holds the session's id;
// the entry's own id, agendaItemId, is what identifies the row.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataBaseSession.h"

class QVACoreDataAgendaRole : public QVACoreDataBaseSession {
public:
    static constexpr const char* kEntityName = "QVACoreDataAgendaRole";

    std::optional<std::string> agendaItemId() const;
    void setAgendaItemId(const std::optional<std::string>& value);
    std::optional<std::string> status() const;
    void setStatus(const std::optional<std::string>& value);
    bool withSpouse() const;
    void setWithSpouse(bool value);

    // (Helper), defined in QVACoreDataAgendaRole_Helper.cpp: writing a QVAAgendaRole into a row.
    // A new row is of this class's own entity; sub-entity classes pass theirs.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAAgendaRole& role,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "agendaItemId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAAgendaRole& role);

protected:
    static void insertOrUpdateCoreDataObjectOfEntity(const char* entityName, const coredata::ManagedObjectPtr& row,
                                                     const QVAAgendaRole& role,
                                                     coredata::ManagedObjectContext& context);
    void copyFields(const QVAAgendaRole& role);
};

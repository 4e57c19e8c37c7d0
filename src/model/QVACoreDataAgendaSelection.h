// The row of an agenda entry for a session the user selected.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"

class QVACoreDataAgendaSelection : public QVACoreDataAgendaRole {
public:
    static constexpr const char* kEntityName = "QVACoreDataAgendaSelection";

    // Writes through the agenda mapping into a row of this entity.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAAgendaRole& role,
                                             coredata::ManagedObjectContext& context);
};

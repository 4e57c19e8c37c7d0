// The row of an agenda entry for a session the user has a role in.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"

class QVACoreDataAgendaResponsability : public QVACoreDataAgendaRole {
public:
    static constexpr const char* kEntityName = "QVACoreDataAgendaResponsability";

    // Writes through the agenda mapping into a row of this entity.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAAgendaRole& role,
                                             coredata::ManagedObjectContext& context);
};

// The row of an agenda entry for an invitation to a session.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"

class QVACoreDataAgendaInvitation : public QVACoreDataAgendaRole {
public:
    static constexpr const char* kEntityName = "QVACoreDataAgendaInvitation";

    // Writes through the agenda mapping into a row of this entity.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAAgendaRole& role,
                                             coredata::ManagedObjectContext& context);
};

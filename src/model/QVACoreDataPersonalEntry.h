// The row of a personal agenda entry: one the user made on their own.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"

class QVACoreDataPersonalEntry : public QVACoreDataAgendaRole {
public:
    static constexpr const char* kEntityName = "QVACoreDataPersonalEntry";

    // Writes through the agenda mapping into a row of this entity.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAAgendaRole& role,
                                             coredata::ManagedObjectContext& context);
};

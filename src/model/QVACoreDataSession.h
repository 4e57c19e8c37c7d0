// The row of a session of the official programme.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVASession.h"

class QVACoreDataSession : public QVACoreDataBaseSession {
public:
    static constexpr const char* kEntityName = "QVACoreDataSession";

    // Writes through the session mapping into a row of this entity.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVASession& session,
                                             coredata::ManagedObjectContext& context);
};

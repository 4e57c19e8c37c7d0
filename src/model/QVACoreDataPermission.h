// The row of one permission of the user for the meeting.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVAPermission.h"

class QVACoreDataPermission : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataPermission";

    std::optional<std::string> code() const;
    void setCode(const std::optional<std::string>& value);
    bool granted() const;
    void setGranted(bool value);

    // (Helper), defined in QVACoreDataPermission_Helper.cpp: writing a QVAPermission into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAPermission& permission,
                                             coredata::ManagedObjectContext& context);

protected:
    void copyFields(const QVAPermission& permission);
};

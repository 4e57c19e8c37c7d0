// The row of the user's note on a session.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVASessionNote.h"

class QVACoreDataSessionNote : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataSessionNote";

    std::optional<std::string> sessionId() const;
    void setSessionId(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> note() const;
    void setNote(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataSessionNote_Helper.cpp: writing a QVASessionNote into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVASessionNote& note,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVASessionNote& note);
};

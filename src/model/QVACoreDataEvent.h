// The row of a meeting the user may open.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Value.h"
#include "model/QVAEvent.h"

class QVACoreDataEvent : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataEvent";

    std::optional<std::string> eventName() const;
    void setEventName(const std::optional<std::string>& value);
    std::optional<std::string> startDate() const;
    void setStartDate(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataEvent_Helper.cpp: writing a QVAEvent into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAEvent& event,
                                             coredata::ManagedObjectContext& context);
    // Every attribute of the row's entity by name, the null marker standing in
    // for a missing value, as the event models read rows.
    foundation::Value toDicionary() const;

protected:
    void copyFields(const QVAEvent& event);
};

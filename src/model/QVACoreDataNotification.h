// The row of a notification of the meeting to the user.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVANotification.h"

class QVACoreDataNotification : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataNotification";

    bool acknowledged() const;
    void setAcknowledged(bool value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> message() const;
    void setMessage(const std::optional<std::string>& value);
    std::optional<std::string> creation_date() const;
    void setCreation_date(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataNotification_Helper.cpp: writing a QVANotification into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVANotification& notification,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVANotification& notification);
};

// The row of a room of a venue (venueId names the venue's row).
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVARoom.h"

class QVACoreDataRoom : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataRoom";

    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> name() const;
    void setName(const std::optional<std::string>& value);
    std::optional<std::string> venueId() const;
    void setVenueId(const std::optional<std::string>& value);
    std::optional<std::string> mapUrl() const;
    void setMapUrl(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataRoom_Helper.cpp: writing a QVARoom into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVARoom& room,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVARoom& room);
};

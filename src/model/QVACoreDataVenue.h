// The row of a venue, its floor levels kept as a keyed archive.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Data.h"
#include "model/QVAVenue.h"

class QVACoreDataVenue : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataVenue";

    std::optional<foundation::Data> floorLevels() const;
    void setFloorLevels(const std::optional<foundation::Data>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    double latitude() const;
    void setLatitude(double value);
    double longitude() const;
    void setLongitude(double value);
    std::optional<std::string> name() const;
    void setName(const std::optional<std::string>& value);
    bool primary() const;
    void setPrimary(bool value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataVenue_Helper.cpp: writing a QVAVenue into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAVenue& venue,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVAVenue& venue);
};

// The row of a partner of the meeting.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "model/QVAPartner.h"

class QVACoreDataPartner : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataPartner";

    std::optional<std::string> commonName() const;
    void setCommonName(const std::optional<std::string>& value);
    std::optional<std::string> engagementType() const;
    void setEngagementType(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> logoUrl() const;
    void setLogoUrl(const std::optional<std::string>& value);
    std::optional<std::string> name() const;
    void setName(const std::optional<std::string>& value);
    std::optional<std::string> profile() const;
    void setProfile(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> thumbnailUrl() const;
    void setThumbnailUrl(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataPartner_Helper.cpp: writing a QVAPartner into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAPartner& partner,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAPartner& partner);

protected:
    void copyFields(const QVAPartner& partner);
};

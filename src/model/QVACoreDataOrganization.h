// The row of an organisation of the meeting.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "model/QVAOrganization.h"

class QVACoreDataOrganization : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataOrganization";

    std::optional<std::string> address() const;
    void setAddress(const std::optional<std::string>& value);
    std::optional<std::string> city() const;
    void setCity(const std::optional<std::string>& value);
    std::optional<std::string> commonName() const;
    void setCommonName(const std::optional<std::string>& value);
    std::optional<std::string> country() const;
    void setCountry(const std::optional<std::string>& value);
    std::optional<std::string> email() const;
    void setEmail(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> logo() const;
    void setLogo(const std::optional<std::string>& value);
    std::optional<std::string> name() const;
    void setName(const std::optional<std::string>& value);
    std::optional<std::string> organizationType() const;
    void setOrganizationType(const std::optional<std::string>& value);
    std::optional<std::string> phone() const;
    void setPhone(const std::optional<std::string>& value);
    std::optional<std::string> profile() const;
    void setProfile(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> sectionTitle() const;
    void setSectionTitle(const std::optional<std::string>& value);
    std::optional<std::string> sector() const;
    void setSector(const std::optional<std::string>& value);
    std::optional<std::string> topLevelOrganizationId() const;
    void setTopLevelOrganizationId(const std::optional<std::string>& value);
    std::optional<std::string> website() const;
    void setWebsite(const std::optional<std::string>& value);
    std::optional<std::string> zipCode() const;
    void setZipCode(const std::optional<std::string>& value);
    std::optional<std::string> poBox() const;
    void setPoBox(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataOrganization_Helper.cpp: writing a QVAOrganization into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAOrganization& organization,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAOrganization& organization);

protected:
    void copyFields(const QVAOrganization& organization);
};

// The row of a participant of the meeting.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "foundation/Data.h"
#include "model/QVAParticipant.h"

class QVACoreDataParticipant : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataParticipant";

    std::optional<std::string> contributions() const;
    void setContributions(const std::optional<std::string>& value);
    std::optional<std::string> countryOfNationality() const;
    void setCountryOfNationality(const std::optional<std::string>& value);
    std::optional<std::string> email() const;
    void setEmail(const std::optional<std::string>& value);
    std::optional<std::string> firstName() const;
    void setFirstName(const std::optional<std::string>& value);
    std::optional<std::string> quovanaNetworks() const;
    void setQuovanaNetworks(const std::optional<std::string>& value);
    std::optional<std::string> fullName() const;
    void setFullName(const std::optional<std::string>& value);
    bool inBooklet() const;
    void setInBooklet(bool value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> lastName() const;
    void setLastName(const std::optional<std::string>& value);
    std::optional<std::string> mobilePhone() const;
    void setMobilePhone(const std::optional<std::string>& value);
    std::optional<std::string> organizationId() const;
    void setOrganizationId(const std::optional<std::string>& value);
    std::optional<std::string> organizationName() const;
    void setOrganizationName(const std::optional<std::string>& value);
    std::optional<std::string> organizationType() const;
    void setOrganizationType(const std::optional<std::string>& value);
    std::optional<std::string> phone() const;
    void setPhone(const std::optional<std::string>& value);
    std::optional<std::string> photoUrl() const;
    void setPhotoUrl(const std::optional<std::string>& value);
    std::optional<std::string> positionTitle() const;
    void setPositionTitle(const std::optional<std::string>& value);
    std::optional<std::string> profile() const;
    void setProfile(const std::optional<std::string>& value);
    bool publicFigure() const;
    void setPublicFigure(bool value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> sectionTitle() const;
    void setSectionTitle(const std::optional<std::string>& value);
    std::optional<foundation::Data> socialAccounts() const;
    void setSocialAccounts(const std::optional<foundation::Data>& value);
    std::optional<std::string> thumbnailUrl() const;
    void setThumbnailUrl(const std::optional<std::string>& value);
    std::optional<std::string> topLevelOrganizationId() const;
    void setTopLevelOrganizationId(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataParticipant_Helper.cpp: writing a QVAParticipant into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAParticipant& participant,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAParticipant& participant);

protected:
    void copyFields(const QVAParticipant& participant);
};

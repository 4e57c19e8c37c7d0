// The row of a participant the user follows.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVAFollowedParticipant.h"

class QVACoreDataFollowedParticipant : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataFollowedParticipant";

    std::optional<std::string> firstName() const;
    void setFirstName(const std::optional<std::string>& value);
    std::optional<std::string> lastName() const;
    void setLastName(const std::optional<std::string>& value);
    std::optional<std::string> fullName() const;
    void setFullName(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataFollowedParticipant_Helper.cpp: writing a QVAFollowedParticipant into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                             const QVAFollowedParticipant& participant,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVAFollowedParticipant& participant);
};

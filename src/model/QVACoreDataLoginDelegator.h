// The row of a person on whose behalf the user may log in.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVALoginDelegator.h"

class QVACoreDataLoginDelegator : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataLoginDelegator";

    std::optional<std::string> email() const;
    void setEmail(const std::optional<std::string>& value);
    std::optional<std::string> firstName() const;
    void setFirstName(const std::optional<std::string>& value);
    std::optional<std::string> fullName() const;
    void setFullName(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> lastName() const;
    void setLastName(const std::optional<std::string>& value);
    std::optional<std::string> type() const;
    void setType(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataLoginDelegator_Helper.cpp: writing a QVALoginDelegator into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVALoginDelegator& delegator,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVALoginDelegator& delegator);
};

// The row of an address-book entry for composing messages.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVAMessageRecipient.h"

class QVACoreDataMessageRecipient : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataMessageRecipient";

    std::optional<std::string> fullName() const;
    void setFullName(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> sectionTitle() const;
    void setSectionTitle(const std::optional<std::string>& value);
    std::optional<std::string> firstName() const;
    void setFirstName(const std::optional<std::string>& value);
    std::optional<std::string> lastName() const;
    void setLastName(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataMessageRecipient_Helper.cpp: writing a QVAMessageRecipient into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                             const QVAMessageRecipient& recipient,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVAMessageRecipient& recipient);
};

// The row of a document of the meeting; information documents and reports
// are its sub-entities, so a fetch of this entity returns both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVADocumentInfo.h"

class QVACoreDataDocumentInfo : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataDocumentInfo";

    std::optional<std::string> documentDescription() const;
    void setDocumentDescription(const std::optional<std::string>& value);
    std::optional<std::string> extension() const;
    void setExtension(const std::optional<std::string>& value);
    std::optional<std::string> title() const;
    void setTitle(const std::optional<std::string>& value);
    std::optional<std::string> url() const;
    void setUrl(const std::optional<std::string>& value);
    std::optional<std::string> category() const;
    void setCategory(const std::optional<std::string>& value);
    std::optional<std::string> filename() const;
    void setFilename(const std::optional<std::string>& value);
    int16_t index() const;
    void setIndex(int16_t value);

    // (Helper), defined in QVACoreDataDocumentInfo_Helper.cpp: writing a QVADocumentInfo into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVADocumentInfo& document,
                                             coredata::ManagedObjectContext& context);

protected:
    void copyFields(const QVADocumentInfo& document);
};

// The row of an information document of the meeting.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVACoreDataDocumentInfo.h"
#include "model/QVAInformationDocument.h"

class QVACoreDataInformationDocument : public QVACoreDataDocumentInfo {
public:
    static constexpr const char* kEntityName = "QVACoreDataInformationDocument";

    // (Helper), defined in QVACoreDataInformationDocument_Helper.cpp: writing a QVAInformationDocument into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                             const QVAInformationDocument& document,
                                             coredata::ManagedObjectContext& context);

protected:
    void copyFields(const QVAInformationDocument& document);
};

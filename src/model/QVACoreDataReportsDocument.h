// The row of a report from the meeting's news feed.
#pragma once

#include "coredata/ManagedObjectContext.h"
#include "model/QVACoreDataDocumentInfo.h"
#include "model/QVADocumentInfo.h"

class QVACoreDataReportsDocument : public QVACoreDataDocumentInfo {
public:
    static constexpr const char* kEntityName = "QVACoreDataReportsDocument";

    // (Helper), defined in QVACoreDataReportsDocument_Helper.cpp: writing a QVADocumentInfo into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVADocumentInfo& document,
                                             coredata::ManagedObjectContext& context);

protected:
    void copyFields(const QVADocumentInfo& document);
};

// (Helper) of document rows: a QVADocumentInfo becomes one row of the
// document entity itself.
#include "model/QVACoreDataDocumentInfo.h"
#include "model/RowWriting.h"

void QVACoreDataDocumentInfo::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                           const QVADocumentInfo& document,
                                                           coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataDocumentInfo>(row, kEntityName, context))
        target->copyFields(document);
}

void QVACoreDataDocumentInfo::copyFields(const QVADocumentInfo& document) {
    setDocumentDescription(document.documentDescription());
    setTitle(document.title());
    setUrl(document.url());
    setFilename(document.filename());
    setCategory(document.category());
    setExtension(document.extension());
    setIndex(static_cast<int16_t>(document.index()));
}

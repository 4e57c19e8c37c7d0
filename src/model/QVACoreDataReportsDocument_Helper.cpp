// (Helper) of report rows: a report of the news feed becomes one row. The
// feed's own extension is unreliable, so the row's comes from its link.
#include "foundation/URL.h"
#include "model/QVACoreDataReportsDocument.h"
#include "model/RowWriting.h"

void QVACoreDataReportsDocument::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                              const QVADocumentInfo& document,
                                                              coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataReportsDocument>(row, kEntityName, context))
        target->copyFields(document);
}

void QVACoreDataReportsDocument::copyFields(const QVADocumentInfo& document) {
    QVACoreDataDocumentInfo::copyFields(document);
    const auto link = url();
    if (!link) return;
    // A link that is no URL keeps the extension the feed gave.
    if (auto parsed = foundation::URL::URLWithString(*link)) setExtension(parsed->pathExtension());
}

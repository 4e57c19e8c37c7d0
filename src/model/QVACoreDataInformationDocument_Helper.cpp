// (Helper) of information-document rows: a QVAInformationDocument becomes
// one row of this entity, with the fields every document row has.
#include "model/QVACoreDataInformationDocument.h"
#include "model/RowWriting.h"

void QVACoreDataInformationDocument::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                                  const QVAInformationDocument& document,
                                                                  coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataInformationDocument>(row, kEntityName, context))
        target->copyFields(document);
}

void QVACoreDataInformationDocument::copyFields(const QVAInformationDocument& document) {
    QVACoreDataDocumentInfo::copyFields(document);
}

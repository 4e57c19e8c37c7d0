// (Helper) of address-book rows: a QVAMessageRecipient becomes one row,
// filed under the initial of its last name.
#include "model/QVACoreDataMessageRecipient.h"
#include "model/RowWriting.h"

void QVACoreDataMessageRecipient::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                               const QVAMessageRecipient& recipient,
                                                               coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataMessageRecipient>(row, kEntityName, context))
        target->copyFields(recipient);
}

std::string QVACoreDataMessageRecipient::comparisonPropertyName() { return "itemId"; }

void QVACoreDataMessageRecipient::copyFields(const QVAMessageRecipient& recipient) {
    setItemId(recipient.itemId());
    setRevision(recipient.revision());
    setFullName(recipient.fullName());
    setLastName(recipient.lastName());
    setSectionTitle(RowWriting::sectionInitial(recipient.lastName()));
    setFirstName(recipient.firstName());
}

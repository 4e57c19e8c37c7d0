// Address-book entries.
#include "model/QVAMessageRecipient.h"

#include "model/CommaJoinedList.h"
#include "model/ItemModelBuilder.h"
#include "model/ModelReading.h"

std::shared_ptr<QVAMessageRecipient> QVAMessageRecipient::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVAMessageRecipient>::fromDictionary(dictionary);
}

void QVAMessageRecipient::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    fullName_ = json.text("fullName");
    firstName_ = json.text("firstName");
    lastName_ = json.text("lastName");
}

bool QVAMessageRecipient::isSendableId(std::string_view id) { return CommaJoinedList::mayJoin(id); }

bool QVAMessageRecipient::hasUsableIds() const { return keyId() && isSendableId(*keyId()); }

// Partners.
#include "model/QVAPartner.h"

#include "model/ItemModelBuilder.h"

std::shared_ptr<QVAPartner> QVAPartner::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVAPartner>::fromDictionary(dictionary);
}

void QVAPartner::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    name_ = json.text("name");
    commonName_ = json.text("commonName");
    engagementType_ = json.text("engagementType").value_or("");
    profile_ = json.text("profile");
    logoUrl_ = json.text("logoUrl");
    thumbnailUrl_ = json.text("thumbnailUrl");
}

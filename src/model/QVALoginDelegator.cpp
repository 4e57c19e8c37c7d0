// Login delegators.
#include "model/QVALoginDelegator.h"

#include "model/ItemModelBuilder.h"

std::shared_ptr<QVALoginDelegator> QVALoginDelegator::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVALoginDelegator>::fromDictionary(dictionary);
}

void QVALoginDelegator::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    fullName_ = json.text("fullName");
    firstName_ = json.text("firstName");
    lastName_ = json.text("lastName");
    type_ = json.text("type");
    email_ = json.text("email");
    username_ = json.text("username");
}

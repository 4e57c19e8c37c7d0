// Privacy flags.
#include "model/QVAPrivacySettings.h"

#include "model/ModelReading.h"

std::shared_ptr<QVAPrivacySettings> QVAPrivacySettings::initWithDictionary(const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAPrivacySettings>();
    model->isPrimaryEmailVisible_ = json.boolean("primaryEmailVisible");
    model->isNationalityVisible_ = json.boolean("nationalityVisible");
    model->isPhoneVisible_ = json.boolean("phoneVisible");
    model->isMobilePhoneVisible_ = json.boolean("mobilePhoneVisible");
    return model;
}

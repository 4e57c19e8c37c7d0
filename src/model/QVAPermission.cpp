// Permissions.
#include "model/QVAPermission.h"

#include "model/ModelReading.h"

std::shared_ptr<QVAPermission> QVAPermission::initWithDictionary(const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAPermission>();
    model->code_ = json.text("code");
    model->granted_ = json.boolean("granted");
    return model;
}

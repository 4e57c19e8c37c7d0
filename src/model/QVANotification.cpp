// Notifications; JSON and rows share the keys.
#include "model/QVANotification.h"

#include "model/ItemModelBuilder.h"

using ModelReading::FieldReader;

std::shared_ptr<QVANotification> QVANotification::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVANotification>::fromDictionary(dictionary);
}

std::shared_ptr<QVANotification> QVANotification::initWithCoreDataDictionary(const foundation::Value& row) {
    return ItemModelBuilder<QVANotification>::fromCoreDataDictionary(row);
}

void QVANotification::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    readOwnFields(json);
}

void QVANotification::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    readOwnFields(row);
}

void QVANotification::readOwnFields(const FieldReader& fields) {
    message_ = fields.text("message");
    acknowledged_ = fields.boolean("acknowledged");
    creation_date_ = fields.text("creation_date");
}

// Meeting delegates.
#include "model/QVAMeetingDelegate.h"

#include "model/ItemModelBuilder.h"

std::shared_ptr<QVAMeetingDelegate> QVAMeetingDelegate::initWithDictionary(const foundation::Value& dictionary) {
    return ItemModelBuilder<QVAMeetingDelegate>::fromDictionary(dictionary);
}

void QVAMeetingDelegate::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    firstName_ = json.text("firstName");
    lastName_ = json.text("lastName");
    fullName_ = json.text("fullName");
    photoUrl_ = json.text("photoUrl");
}

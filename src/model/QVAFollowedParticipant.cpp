// Followed participants.
#include "model/QVAFollowedParticipant.h"

#include "model/ItemModelBuilder.h"

std::shared_ptr<QVAFollowedParticipant> QVAFollowedParticipant::initWithDictionary(
    const foundation::Value& dictionary) {
    return ItemModelBuilder<QVAFollowedParticipant>::fromDictionary(dictionary);
}

std::shared_ptr<QVAFollowedParticipant> QVAFollowedParticipant::initWithId(Text itemId, Text firstName, Text lastName,
                                                                           Text fullName) {
    auto model = std::make_shared<QVAFollowedParticipant>();
    model->setItemId(std::move(itemId));
    model->firstName_ = std::move(firstName);
    model->lastName_ = std::move(lastName);
    model->fullName_ = std::move(fullName);
    return model;
}

void QVAFollowedParticipant::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    firstName_ = json.text("firstName");
    lastName_ = json.text("lastName");
    fullName_ = json.text("fullName");
}

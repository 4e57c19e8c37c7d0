// Recommended participants.
#include "model/QVARecommendedParticipant.h"

#include "model/ModelReading.h"

std::shared_ptr<QVARecommendedParticipant> QVARecommendedParticipant::initWithDictionary(
    const foundation::Value& dictionary) {
    auto model = std::make_shared<QVARecommendedParticipant>();
    model->itemId_ = ModelReading::FieldReader(dictionary).id("id");
    return model;
}

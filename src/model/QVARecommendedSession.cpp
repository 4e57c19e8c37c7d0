// Recommended sessions.
#include "model/QVARecommendedSession.h"

#include "model/ModelReading.h"

std::shared_ptr<QVARecommendedSession> QVARecommendedSession::initWithDictionary(const foundation::Value& dictionary) {
    auto model = std::make_shared<QVARecommendedSession>();
    model->itemId_ = ModelReading::FieldReader(dictionary).id("id");
    return model;
}

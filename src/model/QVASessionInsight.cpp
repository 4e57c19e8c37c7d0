// Session insights; the archive keys equal the JSON keys.
#include "model/QVASessionInsight.h"

#include "model/ModelReading.h"

using foundation::Value;
using ModelReading::valueOf;

std::shared_ptr<QVASessionInsight> QVASessionInsight::initWithDictionary(const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVASessionInsight>();
    model->sessionInsightId_ = json.id("id");
    model->sessionInsightDescription_ = json.text("description");
    model->creationDateTime_ = json.text("creationDatetime");
    return model;
}

std::shared_ptr<QVASessionInsight> QVASessionInsight::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    auto model = std::make_shared<QVASessionInsight>();
    model->sessionInsightId_ = coder.decodeStringForKey("id");
    model->sessionInsightDescription_ = coder.decodeStringForKey("description");
    model->creationDateTime_ = coder.decodeStringForKey("creationDatetime");
    return model;
}

void QVASessionInsight::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(valueOf(sessionInsightId_), "id");
    coder.encodeObject(valueOf(sessionInsightDescription_), "description");
    coder.encodeObject(valueOf(creationDateTime_), "creationDatetime");
}

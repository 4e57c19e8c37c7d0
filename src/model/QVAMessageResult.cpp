// Replies to sent messages.
#include "model/QVAMessageResult.h"

#include "model/ModelReading.h"

std::shared_ptr<QVAMessageResult> QVAMessageResult::initWithDictionary(const foundation::Value& dictionary) {
    auto model = std::make_shared<QVAMessageResult>();
    model->messageStatus_ = ModelReading::FieldReader(dictionary).text("result");
    return model;
}

// Outbox messages.
#include "model/QVAOutboxMessage.h"

#include "model/ModelReading.h"

std::shared_ptr<QVAOutboxMessage> QVAOutboxMessage::initWithDictionary(const foundation::Value&) {
    return std::make_shared<QVAOutboxMessage>();
}

std::shared_ptr<QVAOutboxMessage> QVAOutboxMessage::initWithBody(Text body, Text subject, int32_t composeDate,
                                                                 Text toNames, Text toAddresses, int32_t threadId) {
    auto model = std::make_shared<QVAOutboxMessage>();
    model->body_ = body ? std::move(body) : Text(std::string());
    model->subject_ = std::move(subject);
    model->composeDate_ = composeDate;
    model->toNames_ = std::move(toNames);
    model->toAddresses_ = std::move(toAddresses);
    model->threadId_ = threadId;
    return model;
}

std::shared_ptr<QVAOutboxMessage> QVAOutboxMessage::initWithCoreDataDictionary(const foundation::Value& row) {
    ModelReading::FieldReader fields(row);
    auto model = std::make_shared<QVAOutboxMessage>();
    model->subject_ = fields.text("subject");
    model->body_ = fields.text("body");
    model->composeDate_ = fields.int32("composeDate");
    model->threadId_ = fields.int32("threadId");
    model->toAddresses_ = fields.text("toAddresses");
    model->toNames_ = fields.text("toNames");
    model->outboxId_ = fields.text("outboxId");
    return model;
}

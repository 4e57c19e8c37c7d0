// Messages.
#include "model/QVAMessage.h"

#include "model/ModelReading.h"

using foundation::Value;

namespace {

// Only dictionaries describe a person; anything else in the list is dropped so
// the mapping never builds a recipient from it.
Value::Array dictionariesOf(const Value& list) {
    Value::Array out;
    if (const auto* elements = list.array()) {
        for (const auto& element : *elements) {
            if (element.isDictionary()) out.push_back(element);
        }
    }
    return out;
}

}  // namespace

std::shared_ptr<QVAMessage> QVAMessage::initWithDictionary(const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAMessage>();
    const auto messageId = ModelReading::int32IdOf(json.value("id"));
    model->messageId_ = messageId.value_or(0);
    model->hasMessageId_ = messageId.has_value();
    model->subject_ = json.text("subject");
    model->body_ = json.text("body").value_or("");
    model->isRead_ = json.boolean("read");
    model->sentDate_ = json.text("sendDatetime");
    model->participantId_ = json.int32("participantId");
    // The service sends the sender as one dictionary; the sender list wraps it.
    Value from = json.value("from");
    if (from.isDictionary()) {
        model->from_ = Value(Value::Array{from});
    } else {
        model->from_ = Value(dictionariesOf(from));
    }
    Value to = json.array("to");
    if (to.isArray()) model->to_ = Value(dictionariesOf(to));
    model->folderName_ = json.text("folderName");
    model->threadId_ = json.int32("threadId");
    return model;
}

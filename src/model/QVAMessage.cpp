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
    const auto messageId = json.int32Id("id");
    // A reply names its thread, and 0 asks the service for a new one: a
    // thread is known by a number above 0 or not at all.
    const auto threadId = json.int32Id("threadId", 1);
    // A message may name no sender; one it names must be read as that
    // person or the message not at all.
    const bool namesSender = !json.value("participantId").isNothing();
    const auto participantId = json.int32Id("participantId");
    model->messageId_ = messageId.value_or(0);
    model->threadId_ = threadId.value_or(0);
    model->participantId_ = participantId.value_or(0);
    model->hasUsableIds_ = messageId && threadId && (participantId || !namesSender);
    model->subject_ = json.text("subject");
    model->body_ = json.text("body").value_or("");
    model->isRead_ = json.boolean("read");
    model->sentDate_ = json.text("sendDatetime");
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
    return model;
}

// Senders and receivers of messages; JSON and archives share the seven keys.
#include "model/QVAMessageReceivedRecipient.h"

#include "model/ModelReading.h"

using foundation::Value;
using ModelReading::valueOf;

namespace {

// The flags arrive as JSON Booleans; only numbers carry one, so a text or a
// collection reads as no flag at all.
std::optional<bool> flagOf(const Value& value) {
    if (value.isNumber()) return value.boolValue();
    return std::nullopt;
}

Value valueOfFlag(const std::optional<bool>& flag) { return flag ? Value(*flag) : Value(); }

}  // namespace

std::shared_ptr<QVAMessageReceivedRecipient> QVAMessageReceivedRecipient::initWithDictionary(
    const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAMessageReceivedRecipient>();
    model->participantId_ = json.id("participantId");
    model->name_ = json.text("name");
    model->mailAddress_ = json.text("mailAddress");
    model->isExternalAddress_ = flagOf(json.value("externalAddress"));
    model->shortDisplay_ = json.text("shortDisplay");
    model->longDisplay_ = json.text("longDisplay");
    model->isValid_ = flagOf(json.value("valid"));
    return model;
}

std::shared_ptr<QVAMessageReceivedRecipient> QVAMessageReceivedRecipient::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto model = std::make_shared<QVAMessageReceivedRecipient>();
    model->participantId_ = coder.decodeStringForKey("participantId");
    model->name_ = coder.decodeStringForKey("name");
    model->mailAddress_ = coder.decodeStringForKey("mailAddress");
    model->isExternalAddress_ = flagOf(coder.decodeObjectForKey("externalAddress"));
    model->shortDisplay_ = coder.decodeStringForKey("shortDisplay");
    model->longDisplay_ = coder.decodeStringForKey("longDisplay");
    model->isValid_ = flagOf(coder.decodeObjectForKey("valid"));
    return model;
}

void QVAMessageReceivedRecipient::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(valueOf(participantId_), "participantId");
    coder.encodeObject(valueOf(name_), "name");
    coder.encodeObject(valueOf(mailAddress_), "mailAddress");
    coder.encodeObject(valueOfFlag(isExternalAddress_), "externalAddress");
    coder.encodeObject(valueOf(shortDisplay_), "shortDisplay");
    coder.encodeObject(valueOf(longDisplay_), "longDisplay");
    coder.encodeObject(valueOfFlag(isValid_), "valid");
}

#include "quovana/ValueText.h"

#include <cmath>

#include "foundation/JSONSerialization.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

using foundation::Value;

namespace quovana {

namespace {

void put(Value::Dictionary& fields, const char* key, const std::optional<std::string>& text) {
    if (text) fields[key] = Value(*text);
}

Value objectValue(const foundation::ObjectPtr& object) {
    if (auto account = std::dynamic_pointer_cast<QVAUserAccount>(object)) {
        Value::Dictionary fields;
        put(fields, "accessToken", account->authenticationCode());
        put(fields, "id", account->itemId());
        put(fields, "email", account->email());
        put(fields, "fullName", account->fullName());
        return Value(std::move(fields));
    }
    if (auto event = std::dynamic_pointer_cast<QVAEvent>(object)) {
        Value::Dictionary fields;
        put(fields, "id", event->itemId());
        put(fields, "revision", event->revision());
        put(fields, "name", event->eventName());
        put(fields, "start", event->startDate());
        put(fields, "end", event->endDate());
        return Value(std::move(fields));
    }
    return object ? Value(object->description()) : Value::null();
}

}  // namespace

Value printableValue(const Value& value) {
    switch (value.type()) {
        case Value::Type::Absent:
            return Value::null();
        case Value::Type::Real:
            return std::isfinite(value.doubleValue()) ? value : Value(std::to_string(value.doubleValue()));
        case Value::Type::Date:
            return Value(value.date()->description());
        case Value::Type::Data:
            return Value("<" + std::to_string(value.data()->length()) + " bytes>");
        case Value::Type::Object:
            return objectValue(value.object());
        case Value::Type::Array: {
            Value::Array items;
            for (const auto& item : *value.array()) items.push_back(printableValue(item));
            return Value(std::move(items));
        }
        case Value::Type::Dictionary: {
            Value::Dictionary fields;
            for (const auto& [key, item] : *value.dictionary()) fields[key] = printableValue(item);
            return Value(std::move(fields));
        }
        default:
            return value;
    }
}

std::string jsonLine(const Value& value) {
    auto text = foundation::JSONSerialization::stringWithJSONObject(printableValue(value),
                                                                    foundation::JSONSerialization::WritingFragmentsAllowed);
    return text.value_or("null");
}

}  // namespace quovana

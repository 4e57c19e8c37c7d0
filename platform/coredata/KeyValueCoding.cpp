// Key and key-path lookup over Values: dictionaries by entry, objects through
// KeyValueCoding, arrays element by element.
#include "coredata/KeyValueCoding.h"

namespace coredata {

using foundation::Value;

namespace {
constexpr const char* kDescriptionKey = "description";
}

Value valueForKey(const Value& target, const std::string& key) {
    if (key == "SELF") return target;
    switch (target.type()) {
        case Value::Type::Dictionary: return target[key];
        case Value::Type::Object: {
            auto object = target.object();
            if (auto kvc = dynamic_cast<const KeyValueCoding*>(object.get())) {
                Value v = kvc->valueForKey(key);
                if (!v.isAbsent() || key != kDescriptionKey) return v;
            }
            return key == kDescriptionKey && object ? Value(object->description()) : Value();
        }
        case Value::Type::Array: {
            Value::Array out;
            for (const auto& element : *target.array()) {
                Value v = valueForKey(element, key);
                out.push_back(v.isAbsent() ? Value::null() : std::move(v));
            }
            return Value(std::move(out));
        }
        // Every object answers its description text, strings and numbers too.
        default: return key == kDescriptionKey && !target.isNothing() ? Value(target.description()) : Value();
    }
}

Value valueForKeyPath(const Value& target, std::string_view keyPath) {
    Value current = target;
    size_t start = 0;
    while (start <= keyPath.size()) {
        size_t dot = keyPath.find('.', start);
        std::string key(keyPath.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        current = valueForKey(current, key);
        if (dot == std::string_view::npos) break;
        if (current.isNothing()) return Value();
        start = dot + 1;
    }
    return current;
}

}  // namespace coredata

// The fields of one JSON object as they stand in the text, for a reader that
// makes its own objects from them with no value tree in between: a string's
// text is a view into the parser's buffer, any other value is read as the
// JSON reader reads it. Valid only inside the reading's callback that hands
// it over.
#pragma once

#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace foundation {

class JSONFields {
public:
    struct Field {
        std::string_view key;
        // A string's text, when `isText`; `value` is then absent.
        std::string_view text;
        Value value;
        bool isText = false;
    };

    // The field of that key; of a repeated key the last one, as the reader
    // keeps it. Null when there is none.
    const Field* find(std::string_view key) const {
        for (auto field = fields_.rbegin(); field != fields_.rend(); ++field)
            if (field->key == key) return &*field;
        return nullptr;
    }
    // The field's value as the JSON reader makes it.
    static Value valueOf(const Field& field) { return field.isText ? Value(field.text) : field.value; }
    // The object as the JSON reader makes it.
    Value dictionary() const;

    const std::vector<Field>& fields() const { return fields_; }
    std::vector<Field>& fields() { return fields_; }

private:
    std::vector<Field> fields_;
};

}  // namespace foundation

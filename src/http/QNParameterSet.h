// An unordered collection inside request parameters. The dynamic value type
// has arrays and dictionaries but no sets, so a caller that means "these values,
// in no particular order" wraps them in one of these; the query-string encoding
// then sorts the members and repeats the key for each, as it does for sets.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"

class QNParameterSet : public foundation::Object {
public:
    explicit QNParameterSet(foundation::Value::Array members) : members_(std::move(members)) {}
    static foundation::Value make(foundation::Value::Array members) {
        return foundation::Value(std::make_shared<QNParameterSet>(std::move(members)));
    }

    // Members in the order given; their order carries no meaning.
    const foundation::Value::Array& members() const { return members_; }
    static constexpr const char* kClassName = "NSSet";
    std::string className() const override { return kClassName; }

private:
    foundation::Value::Array members_;
};

// Key-value access, the one way predicates and sort descriptors read the
// objects they are given: managed objects, dictionaries and the app's model
// objects alike. A key the object does not know reads as an absent value,
// never as an error, so a predicate over mixed objects simply fails to match.
#pragma once

#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace coredata {

// Implemented by any object that offers its properties by name.
class KeyValueCoding {
public:
    virtual ~KeyValueCoding() = default;
    virtual foundation::Value valueForKey(const std::string& key) const = 0;
};

// The value at one key of `target`: a dictionary entry, a KeyValueCoding
// object's property, or for an array the array of each element's value.
foundation::Value valueForKey(const foundation::Value& target, const std::string& key);

// Follows a dotted key path ("room.name"). "SELF" as a component stands for the
// value reached so far, so "SELF" alone is the target itself.
foundation::Value valueForKeyPath(const foundation::Value& target, std::string_view keyPath);

}  // namespace coredata

// Property lists in their XML form (format 100): dictionaries, arrays,
// strings, integers, reals, Booleans, dates and data. Reading and writing
// preserve every one of those kinds, so a list written here reads back equal
// (dates keep their fraction of a second). Anything else (null, absent,
// objects, text that XML cannot carry) is a write error; malformed or
// unexpected XML is a read error, never a crash.
#pragma once

#include <optional>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/Value.h"

namespace foundation {

class PropertyListSerialization {
public:
    enum Format { XMLFormat_v1_0 = 100 };
    static constexpr size_t kMaxDepth = 200;
    static constexpr int64_t kReadCorruptError = 3840;
    static constexpr int64_t kWriteInvalidError = 3851;

    // Absent on failure, with the reason in *error.
    static Value propertyListWithData(const Data& data, ErrorPtr* error = nullptr);
    static std::optional<Data> dataWithPropertyList(const Value& plist, ErrorPtr* error = nullptr);
    // True when every element is one of the property-list kinds.
    static bool isPropertyList(const Value& plist);
};

}  // namespace foundation

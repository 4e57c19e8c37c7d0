// Any bytes given to the property-list reader give a value or an error, never
// a crash; whatever it reads and the writer accepts reads back.
#include <cstdint>
#include <cstdlib>

#include "foundation/PropertyList.h"

using namespace foundation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    ErrorPtr error;
    Value v = PropertyListSerialization::propertyListWithData(Data(bytes, size), &error);
    if (v.isAbsent()) {
        if (!error) std::abort();
        return 0;
    }
    auto written = PropertyListSerialization::dataWithPropertyList(v, &error);
    if (!written) return 0;  // e.g. a date past the year 9999 after rounding
    Value again = PropertyListSerialization::propertyListWithData(*written, &error);
    if (again.isAbsent() || again.type() != v.type()) std::abort();
    return 0;
}

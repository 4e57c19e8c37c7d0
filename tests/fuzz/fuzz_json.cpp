// Any bytes given to the JSON reader give a value or an error, never a crash;
// whatever it reads and the writer accepts reads back to the same value, kind
// for kind.
#include <cstdint>
#include <cstdlib>

#include "SameKinds.h"
#include "foundation/JSONSerialization.h"

using namespace foundation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    Data data(bytes, size);
    ErrorPtr error;
    (void)JSONSerialization::JSONObjectWithData(data, JSONSerialization::ReadingDefault, &error);
    Value v = JSONSerialization::JSONObjectWithData(data, JSONSerialization::ReadingAllowFragments, &error);
    if (v.isAbsent()) {
        if (!error) std::abort();
        return 0;
    }
    auto written = JSONSerialization::dataWithJSONObject(v, JSONSerialization::WritingFragmentsAllowed, &error);
    if (!written) return 0;  // e.g. a number too large for a double
    Value again = JSONSerialization::JSONObjectWithData(*written, JSONSerialization::ReadingAllowFragments, &error);
    if (again != v || !sameKinds(again, v)) std::abort();
    return 0;
}

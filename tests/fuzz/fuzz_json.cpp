// Any bytes given to the JSON reader give a value or an error, never a crash;
// whatever it reads and the writer accepts reads back to the same value, kind
// for kind.
#include <cstdint>
#include <cstdlib>

#include "foundation/JSONSerialization.h"

using namespace foundation;

namespace {

bool sameKinds(const Value& a, const Value& b) {
    if (a.type() != b.type()) return false;
    if (a.isArray()) {
        for (size_t i = 0; i < a.count(); ++i) {
            if (!sameKinds(a.at(i), b.at(i))) return false;
        }
    } else if (a.isDictionary()) {
        for (const auto& [key, item] : *a.dictionary()) {
            if (!sameKinds(item, b[key])) return false;
        }
    }
    return true;
}

}  // namespace

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

// Any bytes given as the bundled service's kept state are judged, never a
// crash; a state judged whole holds every part the reader takes as it is,
// of its type and in its range, no two items of a list of one id, and no
// part given twice.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "foundation/JSONSerialization.h"
#include "quovana/LocalServiceStateCheck.h"
#include "service/MeetingData.h"

using foundation::Value;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const Value saved =
        foundation::JSONSerialization::JSONObjectWithString(text, foundation::JSONSerialization::ReadingRefuseRepeatedKeys);
    // Refusing a repeated key takes values away, and changes none.
    if (!saved.isAbsent() && !(saved == foundation::JSONSerialization::JSONObjectWithString(text))) std::abort();
    if (!quovana::wrongInLocalServiceState(saved).empty()) return 0;
    const Value& port = saved["port"];
    if (!port.isInteger() || port.integerValue() < 1 || port.integerValue() > 65535) std::abort();
    if (!saved["eventId"].isString() || !saved["lists"].isDictionary()) std::abort();
    for (const auto& [name, list] : *saved["lists"].dictionary()) {
        if (!list.isArray()) std::abort();
        std::set<std::string> ids;
        for (const auto& item : *list.array())
            if (!item.isDictionary() || item["id"].isNothing() || !ids.insert(testservice::idText(item["id"])).second)
                std::abort();
    }
    if (const auto* answers = saved["answeredKeys"].array())
        for (const auto& answer : *answers) {
            const Value& status = answer["status"];
            if (!status.isInteger() || status.integerValue() < 100 || status.integerValue() > 599) std::abort();
            if (!answer["token"].isString() || !answer["key"].isString() || !answer["body"].isString()) std::abort();
        }
    return 0;
}

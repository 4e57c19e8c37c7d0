#include "model/CommaJoinedList.h"

#include "model/ModelReading.h"

namespace CommaJoinedList {

bool mayJoin(std::string_view item) {
    return ModelReading::isUsableIdText(item) && item.find(',') == std::string_view::npos;
}

std::string join(const std::vector<std::string>& items, const std::function<std::string(std::string_view)>& encode,
                 size_t* leftOut) {
    std::string list;
    size_t left = 0;
    bool first = true;
    for (const auto& item : items) {
        if (!mayJoin(item)) {
            ++left;
            continue;
        }
        if (!first) list += ',';
        list += encode ? encode(item) : item;
        first = false;
    }
    if (leftOut) *leftOut = left;
    return list;
}

}  // namespace CommaJoinedList

// The lists the service reads as one text of items joined by "," (an "ids"
// query, a message's "to"). A service splits such a text on its commas,
// and most decode a query before they split it, so an item holding a comma
// — encoded or not — would be read there as two other items: such an item
// never joins a list, and its caller leaves it out with its own log line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace CommaJoinedList {

// Whether `item` may be one item of such a list: a usable id text
// (ModelReading::isUsableIdText) that holds no comma.
bool mayJoin(std::string_view item);

// The items that may join, each as `encode` writes it (as it stands when
// empty), joined by "," in their order; the others are left out and counted
// in `leftOut` when given.
std::string join(const std::vector<std::string>& items,
                 const std::function<std::string(std::string_view)>& encode = nullptr, size_t* leftOut = nullptr);

}  // namespace CommaJoinedList

#include "foundation/Data.h"

#include <algorithm>
#include <cstdio>

namespace foundation {

Data Data::subdata(size_t location, size_t length) const {
    if (location >= bytes_.size()) return Data();
    length = std::min(length, bytes_.size() - location);
    return Data(bytes_.data() + location, length);
}

std::string Data::description() const {
    std::string out = "<";
    char hex[3];
    for (size_t i = 0; i < bytes_.size(); ++i) {
        if (i > 0 && i % 4 == 0) out += ' ';
        std::snprintf(hex, sizeof hex, "%02x", bytes_[i]);
        out += hex;
    }
    return out + ">";
}

}  // namespace foundation

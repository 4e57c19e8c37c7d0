#include "foundation/Object.h"

#include <cstdio>

namespace foundation {

std::string Object::description() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, ": %p>", static_cast<const void*>(this));
    return "<" + className() + buf;
}

}  // namespace foundation

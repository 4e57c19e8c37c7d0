#include "dispatch/Once.h"

namespace dispatch {

void once(std::once_flag& flag, const std::function<void()>& fn) {
    std::call_once(flag, fn);
}

}  // namespace dispatch

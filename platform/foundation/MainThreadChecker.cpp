#include "foundation/MainThreadChecker.h"

namespace foundation {

void requireMainThread(const std::string& reason, const std::string& name) {
    if (!isMainThread()) raise(name, reason);
}

}  // namespace foundation

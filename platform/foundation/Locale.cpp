// The device's locale lives behind a mutex: any thread may read it while a
// test or the settings screen replaces it.
#include "foundation/Locale.h"

#include <mutex>

namespace foundation {

namespace {
std::mutex gMutex;
Locale& currentLocale() {
    static Locale locale("en_US");
    return locale;
}
}  // namespace

Locale Locale::current() {
    std::lock_guard lock(gMutex);
    return currentLocale();
}

void Locale::setCurrent(const Locale& locale) {
    std::lock_guard lock(gMutex);
    currentLocale() = locale;
}

}  // namespace foundation

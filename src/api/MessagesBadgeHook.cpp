#include "api/MessagesBadgeHook.h"

#include "api/InstalledHook.h"

namespace {

InstalledHook<MessagesBadgeHook::Finder>& installedFinder() {
    static InstalledHook<MessagesBadgeHook::Finder> finder;
    return finder;
}

}  // namespace

void MessagesBadgeHook::setFinder(Finder finder) { installedFinder().set(std::move(finder)); }

MessagesBadgeHook::Recount MessagesBadgeHook::badgeRecount() {
    auto finder = installedFinder().get();
    return finder ? finder() : Recount();
}

// Where the services that change messages behind the screens' back (the
// delta update, the outbox) find the unread-messages badge: the badge
// belongs to a main screen, built by the application shell, which installs
// the finder at start-up. With none installed there is no badge to recount.
// Main thread.
#pragma once

#include <functional>

class MessagesBadgeHook {
public:
    // Recounts the badge of the screen found when it was made; it holds
    // that screen alive.
    using Recount = std::function<void()>;
    // The screen showing the badge now, as its recount; empty when none does.
    using Finder = std::function<Recount()>;

    // Replaces the finder; an empty one removes it.
    static void setFinder(Finder finder);
    // The recount of the screen showing the badge now; empty when none does.
    static Recount badgeRecount();
};

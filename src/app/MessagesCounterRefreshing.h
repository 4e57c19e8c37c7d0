// What a main screen implements when it shows the messages badge: the
// services that change messages behind its back (the delta update, the
// outbox) find it through the badge hook the shell installs, which asks
// messagesCounterRefreshingScreen(), and let it recount the unread message
// threads. Main thread only.
#pragma once

#include <memory>

class MessagesCounterRefreshing {
public:
    virtual ~MessagesCounterRefreshing() = default;
    virtual void refreshMessagesAndMeetingRequestsCounter() = 0;
};

// The key window's root when it shows the badge; when the root is a split
// view (the pad), its first controller when that one does. Null otherwise.
// The pointer keeps the whole controller alive.
std::shared_ptr<MessagesCounterRefreshing> messagesCounterRefreshingScreen();

// Installs the look-up above as the services' badge finder
// (api/MessagesBadgeHook); the shell does at start-up.
void installMessagesBadgeFinder();

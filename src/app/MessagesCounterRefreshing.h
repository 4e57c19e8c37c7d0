// What a main screen implements when it shows the messages badge: the
// services that change messages behind its back (the delta update, the
// outbox) ask the window's root controller for this and, when it has it,
// let it recount the unread message threads. Main thread only.
#pragma once

class MessagesCounterRefreshing {
public:
    virtual ~MessagesCounterRefreshing() = default;
    virtual void refreshMessagesAndMeetingRequestsCounter() = 0;
};

// A personal note (on a session or a participant) that the user typed and
// the service has not taken yet. The note screens keep it here before they
// send it and forget it when the service answers with success, so a failed
// or unanswered save loses nothing when the screen goes: the screen that
// opens next on the same session or participant shows this text instead of
// the stored note and sends it again. The store keeps holding only notes the
// service took.
//
// The texts live in the user defaults, under the account and the meeting
// that were current when the note was made (the key of the store-validity
// map), so one account's or meeting's note never shows in another's, and a
// restart keeps them. Main thread only.
#pragma once

#include <optional>
#include <string>

class UnsavedPersonalNote {
public:
    using Text = std::optional<std::string>;

    // The user-defaults key; a stored format: account-and-meeting key →
    // ("sessions/ID" or "participants/ID" → text).
    static constexpr const char* kUserDefaultsKey = "UnsavedPersonalNotes";
    static constexpr const char* kSessions = "sessions";
    static constexpr const char* kParticipants = "participants";

    // The note on the session or participant `id` (`kind` one of the two
    // above) of the account and meeting current now. Without an id, an
    // account or a meeting it keeps nothing and has no text.
    UnsavedPersonalNote(const char* kind, const Text& id);

    // The typed text the service has not taken; none when it has them all.
    Text text() const;
    // Kept until drop() with the same text; an empty text (a cleared note) too.
    void keep(const std::string& text) const;
    // The service took `text`: forgotten, unless another text was kept since
    // (a later edit still waits for its own answer).
    void drop(const std::string& text) const;

private:
    std::string meeting_;
    std::string note_;
};

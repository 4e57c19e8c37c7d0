// A personal note (on a session or a participant) that the user typed and
// the service has not taken yet. The note screens keep it here before they
// send it and forget it when the service answers with success, so a failed
// or unanswered save loses nothing when the screen goes: the screen that
// opens next on the same session or participant shows this text instead of
// the stored note and sends it again, once per opening of its page. The store
// keeps holding only notes the service took.
//
// A refusal that will not change with time (400, 403, 404, 410, 422) keeps
// the text shown but stops it from going again on its own: only the user's
// next edit sends it (and so makes it wait as any kept note).
//
// The texts live in the user defaults, under the account's user id and the
// meeting that were current when the note was made, so one user's or
// meeting's note never shows in another's, while a new sign-in of the same
// user (a new access token) finds it; a restart keeps them. An account whose
// sign-in named no user id keeps its notes under its access token instead,
// as earlier versions kept every note. Main thread only.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "foundation/Error.h"

class UnsavedPersonalNote {
public:
    using Text = std::optional<std::string>;

    // The user-defaults key; a stored format: user id → (meeting id →
    // ("sessions/ID" or "participants/ID" → {"text": the text, "refused":
    // YES once the service refused it for good})).
    static constexpr const char* kUserDefaultsKey = "UnsavedPersonalNotesOfUsers";
    // The same by access token, for an account without a user id.
    static constexpr const char* kTokensUserDefaultsKey = "UnsavedPersonalNotesOfTokens";
    // Where earlier versions kept notes: getKeyForAccount(account, meeting)
    // → ("sessions/ID" or "participants/ID" → the text). The current
    // account's entry moves to the keys above on first use; the entries of
    // other accounts wait there until theirs is current.
    static constexpr const char* kTokenKeyedUserDefaultsKey = "UnsavedPersonalNotes";
    static constexpr const char* kSessions = "sessions";
    static constexpr const char* kParticipants = "participants";
    // The alert's message when the service refused a note for good.
    static constexpr const char* kRefusedMessage =
        "The service refused this note. It stays here until you change or clear it.";

    // The notes that one opening of a note's page has sent (on its own or
    // after an edit), shared with the pages its swipes bring in, so a kept
    // note goes again at most once per opening.
    using Opening = std::set<std::string>;

    // The note on the session or participant `id` (`kind` one of the two
    // above) of the user and meeting current now. Without an id, a user id
    // or a meeting it keeps nothing and has no text.
    UnsavedPersonalNote(const char* kind, const Text& id);

    // The typed text the service has not taken; none when it has them all.
    Text text() const;
    // Kept until drop() with the same text; an empty text (a cleared note)
    // too. A new text waits to be sent, even where the last one was refused.
    void keep(const std::string& text) const;
    // The service took `text`: forgotten, unless another text was kept since
    // (a later edit still waits for its own answer).
    void drop(const std::string& text) const;
    // The service refused `text` for good: it stays, but goes again only
    // with the next edit. Nothing changes when another text was kept since.
    void refuse(const std::string& text) const;
    // Whether the kept text is to go again on its own within `opening`: kept,
    // not refused for good, and not sent yet there.
    bool goesAgainIn(const Opening& opening) const;
    // The screen sends the note within `opening`.
    void sentIn(Opening& opening) const;

    // Whether the failure is a refusal that sending the same text again
    // cannot turn into a success (400, 403, 404, 410, 422).
    static bool isRefusalForGood(const foundation::ErrorPtr& error);

private:
    // kUserDefaultsKey or kTokensUserDefaultsKey, and the user id or token.
    const char* store_ = kUserDefaultsKey;
    std::string owner_;
    std::string meeting_;
    std::string note_;

    bool isRefused() const;
    void takeNotesOfEarlierVersion(const std::string& accountKey) const;
};

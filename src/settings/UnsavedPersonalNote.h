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
// The texts live in the user defaults, under the person and the meeting that
// were current when the note was made, so one person's or meeting's note
// never shows in another's, while every later sign-in of the same person on
// this home finds it; a restart keeps them. The person's key is what stays
// the same across their sign-ins: the user id when the service names a
// usable one, else how they signed in (the login name, the passcode's
// account), else the access token. Beside the notes each person's entry
// records the user id, sign-ins and tokens that kept them, so that a sign-in
// sharing any of them takes the notes under its own key, unless it names
// another user id, or other sign-ins only beside a shared token; anyone
// else's stay where they are, unseen. Main thread only.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "foundation/Error.h"
#include "foundation/Value.h"

class QVAUserAccount;

class UnsavedPersonalNote {
public:
    using Text = std::optional<std::string>;

    // The user-defaults key; a stored format: the person's key ("user:" and
    // the user id, the account's signIn(), or "token:" and the token) →
    // {"person": {"userId": the user id, "signIns": [...], "tokens": [...]},
    // "meetings": (meeting id → ("sessions/ID" or "participants/ID" →
    // {"text": the text, "refused": YES once the service refused it for
    // good}))}.
    static constexpr const char* kUserDefaultsKey = "UnsavedPersonalNotesOfPeople";
    // Where earlier versions kept notes, each entry moved to the key above
    // when its person is current and otherwise left alone: by user id and
    // by access token, as user id or token → (meeting id → notes as above),
    // where an entry under an empty user id belongs to no one that can be
    // told and stays; and before those getKeyForAccount(account, meeting) →
    // ("sessions/ID" or "participants/ID" → the text), the current meeting's
    // entry moving on first use.
    static constexpr const char* kUsersUserDefaultsKey = "UnsavedPersonalNotesOfUsers";
    static constexpr const char* kTokensUserDefaultsKey = "UnsavedPersonalNotesOfTokens";
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
    // The person's key in kUserDefaultsKey and what the current sign-in
    // knows of them.
    std::string person_;
    foundation::Value signedIn_;
    std::string meeting_;
    std::string note_;

    // The one place that decides whose notes the account sees: the key and
    // the record of the account's person; none when it has neither a usable
    // user id, nor a sign-in, nor a token. An account acting for a login
    // delegator is a person of its own, linked to no one by its token.
    struct Person {
        std::string key;
        foundation::Value record;
    };
    static std::optional<Person> personOf(const QVAUserAccount& account, bool actsForDelegator);

    bool isRefused() const;
    void takeNotesOfThisPerson(const Text& token, const std::string& earlierAccountKey) const;
};

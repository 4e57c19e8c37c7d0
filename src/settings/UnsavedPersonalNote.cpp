#include "settings/UnsavedPersonalNote.h"

#include <string_view>
#include <utility>

#include "Utils/ErrorUtility.h"
#include "foundation/StringUtils.h"
#include "model/ModelReading.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

using foundation::Value;

namespace {

ApplicationSettingsStore& unsavedNoteSettings() { return ApplicationSettingsStore::sharedApplicationSettingsStore(); }

constexpr const char* kUnsavedNoteText = "text";
constexpr const char* kUnsavedNoteRefused = "refused";
constexpr const char* kUnsavedNotePerson = "person";
constexpr const char* kUnsavedNoteMeetings = "meetings";
constexpr const char* kUnsavedNoteUserId = "userId";
constexpr const char* kUnsavedNoteSignIns = "signIns";
constexpr const char* kUnsavedNoteTokens = "tokens";

bool unsavedNoteListHolds(const Value& list, const std::string& item) {
    if (const auto* items = list.array())
        for (const auto& each : *items)
            if (each.string() && *each.string() == item) return true;
    return false;
}

bool unsavedNoteListsMeet(const Value& one, const Value& other) {
    if (const auto* items = one.array())
        for (const auto& each : *items)
            if (each.string() && unsavedNoteListHolds(other, *each.string())) return true;
    return false;
}

// Two records name one person when they share a user id, a sign-in or a
// token; never when each names its own user id (the service's word on who
// is who wins over a login name it may have given to someone else), nor when
// each names its own sign-ins (a token, once spent, may be handed out again).
bool unsavedNoteSamePerson(const Value& one, const Value& other) {
    const auto* oneId = one[kUnsavedNoteUserId].string();
    const auto* otherId = other[kUnsavedNoteUserId].string();
    if (oneId && otherId) return *oneId == *otherId;
    if (unsavedNoteListsMeet(one[kUnsavedNoteSignIns], other[kUnsavedNoteSignIns])) return true;
    if (one[kUnsavedNoteSignIns].count() && other[kUnsavedNoteSignIns].count()) return false;
    return unsavedNoteListsMeet(one[kUnsavedNoteTokens], other[kUnsavedNoteTokens]);
}

// What `from` knows of the person that `into` lacks: a user id when it has
// none, the sign-ins and tokens it has not.
void unsavedNoteLearn(Value& into, const Value& from) {
    if (from[kUnsavedNoteUserId].string() && !std::as_const(into)[kUnsavedNoteUserId].string())
        into[kUnsavedNoteUserId] = from[kUnsavedNoteUserId];
    for (const char* list : {kUnsavedNoteSignIns, kUnsavedNoteTokens})
        if (const auto* items = from[list].array())
            for (const auto& item : *items)
                if (item.string() && !unsavedNoteListHolds(into[list], *item.string())) into[list].append(item);
}

// The notes of `meetings` (meeting id → notes) that `into` has not: a note
// kept under the key in use is the newer text.
void unsavedNoteTakeMeetings(Value& into, const Value& meetings) {
    const auto* all = meetings.dictionary();
    if (!all) return;
    for (const auto& [meeting, notes] : *all) {
        const auto* each = notes.dictionary();
        if (!each) continue;
        for (const auto& [note, kept] : *each) {
            if (!kept[kUnsavedNoteText].string()) continue;
            Value& slot = into[kUnsavedNoteMeetings][meeting];
            if (!slot.isDictionary()) slot = Value(Value::Dictionary());
            slot.dictionary()->try_emplace(note, kept);
        }
    }
}

// Removes `key` from the dictionary held under `defaultsKey`; its value.
Value unsavedNoteTakeEntry(const char* defaultsKey, const std::string& key) {
    Value all = unsavedNoteSettings().getUserDefaultsForKey(defaultsKey);
    auto* entries = all.dictionary();
    if (!entries) return Value();
    const auto entry = entries->find(key);
    if (entry == entries->end()) return Value();
    Value taken = std::move(entry->second);
    entries->erase(entry);
    if (entries->empty())
        unsavedNoteSettings().resetUserDefaultsForkey(defaultsKey);
    else
        unsavedNoteSettings().setUserDefaultsForKey(defaultsKey, all);
    return taken;
}

// Whether a user id names someone: not empty or blank, and no whole
// number below 1 ("0", "-1", "00"), which services send for a user they have
// no id for, so two people given 0 are not one user.
bool unsavedNoteIdNamesSomeone(const std::string& userId) {
    if (!ModelReading::isUsableIdText(userId) || foundation::StringUtils::trimWhitespace(userId).empty()) return false;
    std::string_view digits = userId;
    const bool negative = digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return true;
    return !negative && digits.find_first_not_of('0') != std::string_view::npos;
}

}  // namespace

std::optional<UnsavedPersonalNote::Person> UnsavedPersonalNote::personOf(const QVAUserAccount& account,
                                                                         bool actsForDelegator) {
    const auto& userId = account.itemId();
    const bool hasUserId = userId && unsavedNoteIdNamesSomeone(*userId);
    const auto& signIn = account.signIn();
    const auto& token = account.authenticationCode();
    const bool hasToken = token && !token->empty();
    Person person;
    if (hasUserId) {
        person.key = "user:" + *userId;
        person.record[kUnsavedNoteUserId] = Value(*userId);
    }
    if (signIn) {
        if (person.key.empty()) person.key = *signIn;
        person.record[kUnsavedNoteSignIns] = Value::array({Value(*signIn)});
    }
    if (hasToken) {
        if (person.key.empty()) person.key = "token:" + *token;
        // A service may hand the delegator's account the base user's token.
        if (!actsForDelegator) person.record[kUnsavedNoteTokens] = Value::array({Value(*token)});
    }
    if (person.key.empty()) return std::nullopt;
    return person;
}

UnsavedPersonalNote::UnsavedPersonalNote(const char* kind, const Text& id) {
    auto& settings = unsavedNoteSettings();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!id || !account || !event || !event->itemId()) return;
    auto person = personOf(*account, settings.isCurrentUserADelegate());
    if (!person) return;
    person_ = std::move(person->key);
    signedIn_ = std::move(person->record);
    meeting_ = *event->itemId();
    note_ = std::string(kind) + "/" + *id;
    // What an earlier version kept under the token is this person's only when
    // the token is: not for an account acting for a delegator, which may hold
    // the base user's.
    const bool tokenIsTheirs = signedIn_[kUnsavedNoteTokens].count() > 0;
    takeNotesOfThisPerson(tokenIsTheirs ? account->authenticationCode() : std::nullopt,
                          tokenIsTheirs ? settings.getKeyForAccount(account, event) : std::string());
}

void UnsavedPersonalNote::takeNotesOfThisPerson(const Text& token, const std::string& earlierAccountKey) const {
    Value people = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    if (!people.isDictionary()) people = Value(Value::Dictionary());
    const Value before = std::as_const(people)[person_];
    Value mine = before;
    bool moved = false;
    auto* entries = people.dictionary();
    for (auto entry = entries->begin(); entry != entries->end();) {
        const Value& theirs = entry->second;
        if (entry->first == person_ || !unsavedNoteSamePerson(theirs[kUnsavedNotePerson], signedIn_)) {
            ++entry;
            continue;
        }
        unsavedNoteTakeMeetings(mine, theirs[kUnsavedNoteMeetings]);
        unsavedNoteLearn(mine[kUnsavedNotePerson], theirs[kUnsavedNotePerson]);
        entry = entries->erase(entry);
        moved = true;
    }
    if (const auto* userId = signedIn_[kUnsavedNoteUserId].string())
        unsavedNoteTakeMeetings(mine, unsavedNoteTakeEntry(kUsersUserDefaultsKey, *userId));
    if (token) unsavedNoteTakeMeetings(mine, unsavedNoteTakeEntry(kTokensUserDefaultsKey, *token));
    const Value earlier =
        earlierAccountKey.empty() ? Value() : unsavedNoteTakeEntry(kTokenKeyedUserDefaultsKey, earlierAccountKey);
    if (const auto* texts = earlier.dictionary()) {
        Value meeting;
        for (const auto& [note, text] : *texts)
            if (text.string()) meeting[meeting_][note] = Value::dictionary({{kUnsavedNoteText, text}});
        unsavedNoteTakeMeetings(mine, meeting);
    }
    if (!std::as_const(mine)[kUnsavedNoteMeetings].count()) {
        if (moved) unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, people.count() ? people : Value());
        return;
    }
    // The sign-in in use joins the record, so the next one that shares any
    // of it finds the notes.
    unsavedNoteLearn(mine[kUnsavedNotePerson], signedIn_);
    if (!moved && mine == before) return;
    people[person_] = std::move(mine);
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, people);
}

UnsavedPersonalNote::Text UnsavedPersonalNote::text() const {
    if (note_.empty()) return std::nullopt;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    if (const auto* text = all[person_][kUnsavedNoteMeetings][meeting_][note_][kUnsavedNoteText].string()) return *text;
    return std::nullopt;
}

bool UnsavedPersonalNote::isRefused() const {
    if (note_.empty()) return false;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    return all[person_][kUnsavedNoteMeetings][meeting_][note_][kUnsavedNoteRefused].boolValue();
}

void UnsavedPersonalNote::keep(const std::string& text) const {
    if (note_.empty()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    if (!all.isDictionary()) all = Value(Value::Dictionary());
    Value& mine = all[person_];
    unsavedNoteLearn(mine[kUnsavedNotePerson], signedIn_);
    mine[kUnsavedNoteMeetings][meeting_][note_] = Value::dictionary({{kUnsavedNoteText, Value(text)}});
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, all);
}

void UnsavedPersonalNote::drop(const std::string& text) const {
    if (text != this->text()) return;
    // The text was found, so the person's and the meeting's levels are there.
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    Value& meetings = all[person_][kUnsavedNoteMeetings];
    Value& notes = meetings[meeting_];
    notes.dictionary()->erase(note_);
    if (!notes.count()) meetings.dictionary()->erase(meeting_);
    if (!meetings.count()) all.dictionary()->erase(person_);
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, all.count() ? all : Value());
}

void UnsavedPersonalNote::refuse(const std::string& text) const {
    if (text != this->text()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    all[person_][kUnsavedNoteMeetings][meeting_][note_][kUnsavedNoteRefused] = Value(true);
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, all);
}

bool UnsavedPersonalNote::goesAgainIn(const Opening& opening) const {
    return text() && !isRefused() && !opening.count(note_);
}

void UnsavedPersonalNote::sentIn(Opening& opening) const {
    if (!note_.empty()) opening.insert(note_);
}

bool UnsavedPersonalNote::isRefusalForGood(const foundation::ErrorPtr& error) {
    switch (ErrorUtility::HTTPErrorCode(error)) {
        case 400:
        case 403:
        case 404:
        case 410:
        case 422:
            return true;
        default:
            return false;
    }
}

#include "settings/UnsavedPersonalNote.h"

#include "Utils/ErrorUtility.h"
#include "foundation/Value.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

using foundation::Value;

namespace {

ApplicationSettingsStore& unsavedNoteSettings() { return ApplicationSettingsStore::sharedApplicationSettingsStore(); }

constexpr const char* kUnsavedNoteText = "text";
constexpr const char* kUnsavedNoteRefused = "refused";

}  // namespace

UnsavedPersonalNote::UnsavedPersonalNote(const char* kind, const Text& id) {
    auto& settings = unsavedNoteSettings();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!id || !account || !event || !event->itemId()) return;
    if (account->itemId()) {
        owner_ = *account->itemId();
    } else if (account->authenticationCode()) {
        store_ = kTokensUserDefaultsKey;
        owner_ = *account->authenticationCode();
    } else {
        return;
    }
    meeting_ = *event->itemId();
    note_ = std::string(kind) + "/" + *id;
    takeNotesOfEarlierVersion(settings.getKeyForAccount(account, event));
}

void UnsavedPersonalNote::takeNotesOfEarlierVersion(const std::string& accountKey) const {
    Value earlier = unsavedNoteSettings().getUserDefaultsForKey(kTokenKeyedUserDefaultsKey);
    auto* accounts = earlier.dictionary();
    if (!accounts) return;
    const auto entry = accounts->find(accountKey);
    if (entry == accounts->end()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    if (!all.isDictionary()) all = Value(Value::Dictionary());
    Value::Dictionary notes;
    if (const auto* kept = all[owner_][meeting_].dictionary()) notes = *kept;
    if (const auto* texts = entry->second.dictionary()) {
        // A note kept since the upgrade is the newer text.
        for (const auto& [note, text] : *texts)
            if (text.string()) notes.try_emplace(note, Value::dictionary({{kUnsavedNoteText, text}}));
    }
    if (!notes.empty()) {
        all[owner_][meeting_] = Value(std::move(notes));
    } else {
        all[owner_].dictionary()->erase(meeting_);
        if (!all[owner_].count()) all.dictionary()->erase(owner_);
    }
    unsavedNoteSettings().setUserDefaultsForKey(store_, all.count() ? all : Value());
    accounts->erase(entry);
    if (accounts->empty())
        unsavedNoteSettings().resetUserDefaultsForkey(kTokenKeyedUserDefaultsKey);
    else
        unsavedNoteSettings().setUserDefaultsForKey(kTokenKeyedUserDefaultsKey, earlier);
}

UnsavedPersonalNote::Text UnsavedPersonalNote::text() const {
    if (note_.empty()) return std::nullopt;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    if (const auto* text = all[owner_][meeting_][note_][kUnsavedNoteText].string()) return *text;
    return std::nullopt;
}

bool UnsavedPersonalNote::isRefused() const {
    if (note_.empty()) return false;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    return all[owner_][meeting_][note_][kUnsavedNoteRefused].boolValue();
}

void UnsavedPersonalNote::keep(const std::string& text) const {
    if (note_.empty()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    if (!all.isDictionary()) all = Value(Value::Dictionary());
    all[owner_][meeting_][note_] = Value::dictionary({{kUnsavedNoteText, Value(text)}});
    unsavedNoteSettings().setUserDefaultsForKey(store_, all);
}

void UnsavedPersonalNote::drop(const std::string& text) const {
    if (text != this->text()) return;
    // The text was found, so the user's and the meeting's levels are there.
    Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    Value& meetings = all[owner_];
    Value& notes = meetings[meeting_];
    notes.dictionary()->erase(note_);
    if (!notes.count()) meetings.dictionary()->erase(meeting_);
    if (!meetings.count()) all.dictionary()->erase(owner_);
    unsavedNoteSettings().setUserDefaultsForKey(store_, all.count() ? all : Value());
}

void UnsavedPersonalNote::refuse(const std::string& text) const {
    if (text != this->text()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(store_);
    all[owner_][meeting_][note_][kUnsavedNoteRefused] = Value(true);
    unsavedNoteSettings().setUserDefaultsForKey(store_, all);
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

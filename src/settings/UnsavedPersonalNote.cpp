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
    auto account = unsavedNoteSettings().currentAccount();
    auto event = unsavedNoteSettings().currentEvent();
    if (!id || !account || !account->itemId() || !event || !event->itemId()) return;
    user_ = *account->itemId();
    meeting_ = *event->itemId();
    note_ = std::string(kind) + "/" + *id;
}

UnsavedPersonalNote::Text UnsavedPersonalNote::text() const {
    if (note_.empty()) return std::nullopt;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    if (const auto* text = all[user_][meeting_][note_][kUnsavedNoteText].string()) return *text;
    return std::nullopt;
}

bool UnsavedPersonalNote::isRefused() const {
    if (note_.empty()) return false;
    const Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    return all[user_][meeting_][note_][kUnsavedNoteRefused].boolValue();
}

void UnsavedPersonalNote::keep(const std::string& text) const {
    if (note_.empty()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    if (!all.isDictionary()) all = Value(Value::Dictionary());
    all[user_][meeting_][note_] = Value::dictionary({{kUnsavedNoteText, Value(text)}});
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, all);
    // Notes kept by token are not found again after a new sign-in.
    if (unsavedNoteSettings().getUserDefaultsForKey(kTokenKeyedUserDefaultsKey))
        unsavedNoteSettings().resetUserDefaultsForkey(kTokenKeyedUserDefaultsKey);
}

void UnsavedPersonalNote::drop(const std::string& text) const {
    if (text != this->text()) return;
    // The text was found, so the user's and the meeting's levels are there.
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    Value& meetings = all[user_];
    Value& notes = meetings[meeting_];
    notes.dictionary()->erase(note_);
    if (!notes.count()) meetings.dictionary()->erase(meeting_);
    if (!meetings.count()) all.dictionary()->erase(user_);
    unsavedNoteSettings().setUserDefaultsForKey(kUserDefaultsKey, all.count() ? all : Value());
}

void UnsavedPersonalNote::refuse(const std::string& text) const {
    if (text != this->text()) return;
    Value all = unsavedNoteSettings().getUserDefaultsForKey(kUserDefaultsKey);
    all[user_][meeting_][note_][kUnsavedNoteRefused] = Value(true);
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

#include "settings/UnsavedPersonalNote.h"

#include "foundation/Value.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

using foundation::Value;

namespace {

ApplicationSettingsStore& settings() { return ApplicationSettingsStore::sharedApplicationSettingsStore(); }

}  // namespace

UnsavedPersonalNote::UnsavedPersonalNote(const char* kind, const Text& id) {
    auto account = settings().currentAccount();
    auto event = settings().currentEvent();
    if (!id || !account || !account->authenticationCode() || !event || !event->itemId()) return;
    meeting_ = settings().getKeyForAccount(account, event);
    note_ = std::string(kind) + "/" + *id;
}

UnsavedPersonalNote::Text UnsavedPersonalNote::text() const {
    if (note_.empty()) return std::nullopt;
    const Value all = settings().getUserDefaultsForKey(kUserDefaultsKey);
    if (const auto* text = all[meeting_][note_].string()) return *text;
    return std::nullopt;
}

void UnsavedPersonalNote::keep(const std::string& text) const {
    if (note_.empty()) return;
    Value all = settings().getUserDefaultsForKey(kUserDefaultsKey);
    if (!all.isDictionary()) all = Value(Value::Dictionary());
    all[meeting_][note_] = Value(text);
    settings().setUserDefaultsForKey(kUserDefaultsKey, all);
}

void UnsavedPersonalNote::drop(const std::string& text) const {
    if (text != this->text()) return;
    Value all = settings().getUserDefaultsForKey(kUserDefaultsKey);
    Value::Dictionary* notes = all[meeting_].dictionary();
    if (!notes) return;
    notes->erase(note_);
    if (notes->empty()) all.dictionary()->erase(meeting_);
    settings().setUserDefaultsForKey(kUserDefaultsKey, all.count() ? all : Value());
}

// "settings get KEY | set KEY JSON | dump | clear": the settings store's
// values by their user-defaults keys. Values are archived one by one, so
// "set" gives the keys that hold an account, a meeting or a date the type
// the app reads back: the account and the meeting are made from their
// service JSON, a date from seconds since 1970 or the text "get" prints for
// it. "get" prints an account or a meeting in that same JSON, so what it
// prints can be set again; "set" refuses a value of which the stored type
// would drop a part, and null removes the key.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/Date.h"
#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"
#include "foundation/JSONSerialization.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/UserDefaults.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "quovana/Commands.h"
#include "quovana/ValueText.h"

using foundation::Value;

namespace quovana {

namespace {

using Store = ApplicationSettingsStore;

// A date as "get" prints it (its description, "2015-03-10 08:30:00 +0000").
std::optional<foundation::Date> printedDate(const std::string& text) {
    foundation::DateFormatter formatter;
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(foundation::TimeZone::gmt());
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss Z");
    return formatter.dateFromString(text);
}

// The stored form of a JSON value for `key`; absent when it does not fit.
Value storedValue(const std::string& key, const Value& json) {
    if (key == Store::kCurrentAccountKey || key == Store::kBaseUserWhenSwitchToDelegateKey) {
        if (!json.isDictionary()) return {};
        return Value(QVAUserAccount::initWithDictionary(json));
    }
    if (key == Store::kCurrentEventKey) {
        if (!json.isDictionary()) return {};
        return Value(QVAEvent::initWithDictionary(json));
    }
    if (key == Store::kLastDeltaSyncDateTimeKey || key == Store::kLastUpdateTimeInteractiveMapsKey) {
        if (const auto* text = json.string()) {
            auto date = printedDate(*text);
            return date ? Value(*date) : Value();
        }
        if (!json.isNumber()) return {};
        return Value(foundation::Date::fromTimeIntervalSince1970(json.doubleValue()));
    }
    return json;
}

// What storedValue accepts for the keys it converts.
std::string expectedValue(const std::string& key) {
    if (key == Store::kCurrentEventKey) return "a meeting as the service's JSON object";
    if (key == Store::kLastDeltaSyncDateTimeKey || key == Store::kLastUpdateTimeInteractiveMapsKey)
        return "a date as seconds since 1970, or as \"settings get\" prints it (\"2015-03-10 08:30:00 +0000\")";
    return "an account as the login answer's JSON object ({\"accessToken\": ..., \"user\": {\"id\": ...}})";
}

void putText(Value::Dictionary& fields, const char* name, const std::optional<std::string>& text) {
    if (text) fields[name] = Value(*text);
}

void putArray(Value::Dictionary& fields, const char* name, const Value& items) {
    if (items.isArray()) fields[name] = items;
}

// An account or a meeting as the service's JSON, the form "set" takes.
Value serviceJSON(const Value& value) {
    if (auto account = value.objectAs<QVAUserAccount>()) {
        Value::Dictionary user;
        putText(user, "id", account->itemId());
        putText(user, "email", account->email());
        putText(user, "firstName", account->firstName());
        putText(user, "fullName", account->fullName());
        putText(user, "lastName", account->lastName());
        putText(user, "photoId", account->photoId());
        putText(user, "photoUrl", account->photoUrl());
        Value::Dictionary answer;
        putText(answer, "accessToken", account->authenticationCode());
        if (!user.empty()) answer["user"] = Value(std::move(user));
        return Value(std::move(answer));
    }
    if (auto event = value.objectAs<QVAEvent>()) {
        Value::Dictionary fields;
        putText(fields, "id", event->itemId());
        putText(fields, "revision", event->revision());
        putText(fields, "address", event->address());
        putText(fields, "city", event->city());
        putText(fields, "country", event->country());
        putText(fields, "description", event->eventDescription());
        putText(fields, "startDate", event->startDate());
        putText(fields, "endDate", event->endDate());
        putText(fields, "name", event->eventName());
        putText(fields, "url", event->eventUrl());
        putText(fields, "reportsRssFeedUrl", event->reportsRssFeedUrl());
        putText(fields, "feedbackFormUrl", event->feedbackFormUrl());
        putText(fields, "votingUrl", event->votingUrl());
        putText(fields, "linksUrl", event->linksUrl());
        putArray(fields, "documents", event->documents());
        putArray(fields, "floorPlans", event->floorPlans());
        return Value(std::move(fields));
    }
    return value;
}

Value readableValue(const std::string& key) {
    Value value = Store::sharedApplicationSettingsStore().getUserDefaultsForKey(key);
    // A value the settings store did not archive (the old version key) prints as it is.
    if (value.isAbsent()) value = foundation::UserDefaults::standardUserDefaults().objectForKey(key);
    return serviceJSON(value);
}

foundation::Data archived(const Value& value) { return foundation::KeyedArchiver::archivedDataWithRootObject(value); }

// The parts of `json` (by their key paths) that the value stored for `key`
// does not hold: taking one away stores the very same bytes. `part` is the
// dictionary within `whole` at `path`.
void collectDroppedParts(const std::string& key, Value& whole, Value& part, const std::string& path,
                         const foundation::Data& stored, std::vector<std::string>& dropped) {
    auto* fields = part.dictionary();
    if (!fields) return;
    for (auto& [name, item] : *fields) {
        const std::string itemPath = path.empty() ? name : path + "." + name;
        if (item.isNull()) continue;  // no value to lose
        if (item.isDictionary() && item.count() > 0) {
            collectDroppedParts(key, whole, item, itemPath, stored, dropped);
            continue;
        }
        Value kept = item;
        item = Value::null();
        if (archived(storedValue(key, whole)) == stored) dropped.push_back(itemPath);
        item = std::move(kept);
    }
}

// The key paths of `json` that would not be stored, for the keys whose
// stored form is made from the JSON.
std::vector<std::string> droppedParts(const std::string& key, const Value& json, const Value& stored) {
    std::vector<std::string> dropped;
    if (!stored.object() || !json.isDictionary()) return dropped;
    Value whole = json;
    collectDroppedParts(key, whole, whole, "", archived(stored), dropped);
    return dropped;
}

}  // namespace

int runSettingsCommand(CommandContext& context, const Arguments& arguments) {
    auto& settings = Store::sharedApplicationSettingsStore();
    if (arguments.empty()) return context.usage("settings needs a subcommand: get KEY | set KEY JSON | dump | clear");
    const std::string& action = arguments[0];
    if (action == "get" && arguments.size() == 2) {
        context.out() << jsonLine(readableValue(arguments[1])) << "\n";
        return kExitSuccess;
    }
    if (action == "set" && arguments.size() == 3) {
        const std::string& key = arguments[1];
        foundation::ErrorPtr error;
        Value json = foundation::JSONSerialization::JSONObjectWithString(
            arguments[2], foundation::JSONSerialization::ReadingAllowFragments, &error);
        if (json.isAbsent()) return context.usage("the value for " + key + " is not JSON: " + arguments[2]);
        if (json.isNull()) {
            settings.resetUserDefaultsForkey(key);
            context.out() << key << " = " << jsonLine(readableValue(key)) << "\n";
            return kExitSuccess;
        }
        Value stored = storedValue(key, json);
        if (stored.isAbsent())
            return context.usage(key + " takes " + expectedValue(key) + ", not " + arguments[2]);
        if (auto dropped = droppedParts(key, json, stored); !dropped.empty()) {
            std::string names;
            for (const auto& name : dropped) names += (names.empty() ? "" : ", ") + name;
            return context.usage(key + " cannot hold all of the value: " + names + " would be lost; it takes " +
                                 expectedValue(key) + " (as \"settings get " + key + "\" prints it)");
        }
        settings.setUserDefaultsForKey(key, stored);
        context.out() << key << " = " << jsonLine(readableValue(key)) << "\n";
        return kExitSuccess;
    }
    if (action == "dump" && arguments.size() <= 1) {
        for (const auto& [key, raw] : foundation::UserDefaults::standardUserDefaults().dictionaryRepresentation()) {
            (void)raw;
            context.out() << jsonLine(Value::dictionary({{"key", Value(key)}, {"value", readableValue(key)}})) << "\n";
        }
        return kExitSuccess;
    }
    if (action == "clear" && arguments.size() == 1) {
        settings.clear();
        // The cleared account's token must not ride along on the next login.
        QVAApiManager::sharedApiManager().clearAuthorizationHeader();
        context.out() << "settings cleared\n";
        return kExitSuccess;
    }
    return context.usage("usage: settings get KEY | set KEY JSON | dump | clear");
}

}  // namespace quovana

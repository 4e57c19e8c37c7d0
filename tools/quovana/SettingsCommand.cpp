// "settings get KEY | set KEY JSON | dump | clear": the settings store's
// values by their user-defaults keys. Values are archived one by one, so
// "set" gives the keys that hold an account, a meeting or a date the type
// the app reads back: the account and the meeting are made from their
// service JSON, a date from seconds since 1970.
#include <ostream>

#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/Date.h"
#include "foundation/JSONSerialization.h"
#include "foundation/UserDefaults.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "quovana/Commands.h"
#include "quovana/ValueText.h"

using foundation::Value;

namespace quovana {

namespace {

using Store = ApplicationSettingsStore;

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
        if (!json.isNumber()) return {};
        return Value(foundation::Date::fromTimeIntervalSince1970(json.doubleValue()));
    }
    return json;
}

// What storedValue accepts for the keys it converts.
std::string expectedValue(const std::string& key) {
    if (key == Store::kCurrentEventKey) return "a meeting as the service's JSON object";
    if (key == Store::kLastDeltaSyncDateTimeKey || key == Store::kLastUpdateTimeInteractiveMapsKey)
        return "a date as seconds since 1970";
    return "an account as the login answer's JSON object";
}

Value readableValue(const std::string& key) {
    Value value = Store::sharedApplicationSettingsStore().getUserDefaultsForKey(key);
    // A value the settings store did not archive (the old version key) prints as it is.
    if (value.isAbsent()) value = foundation::UserDefaults::standardUserDefaults().objectForKey(key);
    return value;
}

}  // namespace

int runSettingsCommand(CommandContext& context, const Arguments& arguments) {
    auto& settings = Store::sharedApplicationSettingsStore();
    const std::string action = arguments.empty() ? "dump" : arguments[0];
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
        Value stored = json.isNull() ? Value() : storedValue(key, json);
        if (!json.isNull() && stored.isAbsent())
            return context.usage(key + " takes " + expectedValue(key) + ", not " + arguments[2]);
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

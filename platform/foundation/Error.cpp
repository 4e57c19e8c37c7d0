#include "foundation/Error.h"

#include "foundation/Format.h"

namespace foundation {

namespace {
std::optional<std::string> stringEntry(const Value::Dictionary& info, const char* key) {
    auto it = info.find(key);
    if (it == info.end() || !it->second.isString()) return std::nullopt;
    return *it->second.string();
}
}  // namespace

const Value& Error::userInfoValue(const std::string& key) const {
    static const Value absent;
    auto it = userInfo_.find(key);
    return it == userInfo_.end() ? absent : it->second;
}

std::string Error::localizedDescription() const {
    if (auto d = stringEntry(userInfo_, kLocalizedDescriptionKey)) return *d;
    return Format("The operation couldn\u2019t be completed. (%@ error %ld.)", domain_, code_);
}

std::optional<std::string> Error::localizedFailureReason() const {
    return stringEntry(userInfo_, kLocalizedFailureReasonErrorKey);
}

std::optional<std::string> Error::localizedRecoverySuggestion() const {
    return stringEntry(userInfo_, kLocalizedRecoverySuggestionErrorKey);
}

std::optional<std::string> Error::failingURLString() const {
    if (auto s = stringEntry(userInfo_, kURLErrorFailingURLStringErrorKey)) return s;
    return stringEntry(userInfo_, kURLErrorFailingURLErrorKey);
}

std::string Error::description() const {
    Value::Dictionary info = userInfo_;
    if (underlying_) info[kUnderlyingErrorKey] = Value(underlying_->description());
    return Format("Error Domain=%@ Code=%ld \"%@\" UserInfo=%@", domain_, code_, localizedDescription(),
                  Value(std::move(info)));
}

}  // namespace foundation

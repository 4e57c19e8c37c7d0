#include "api/RevisionListing.h"

#include <optional>
#include <string>

#include "foundation/HTTPURLResponse.h"
#include "foundation/JSONSerialization.h"
#include "foundation/SimdJSON.h"
#include "model/ModelReading.h"

using foundation::Value;

namespace {

namespace od = simdjson::ondemand;
using simdjson::error_code;
using simdjson::SUCCESS;

// A scalar as the JSON reader makes it; a container is left absent, unread.
error_code scalarOf(od::value v, Value& out) {
    od::json_type type;
    if (auto e = v.type().get(type)) return e;
    if (type == od::json_type::array || type == od::json_type::object) {
        out = Value();
        return SUCCESS;
    }
    return foundation::simdjsontext::scalar(v, type, out);
}

// Adds the item's entry; `listed` says whether its id was a usable one.
error_code readItem(od::object fields, std::vector<RevisionListing::Entry>& entries, bool& listed) {
    std::optional<std::string> id;
    Value revision;
    for (auto field : fields) {
        std::string_view key;
        if (auto e = field.unescaped_key().get(key)) return e;
        od::value v;
        if (auto e = field.value().get(v)) return e;
        if (key == "id") {
            // A string id is its text as it stands: made once, not through
            // a value and a copy of it.
            od::json_type type;
            if (auto e = v.type().get(type)) return e;
            if (type == od::json_type::string) {
                std::string_view text;
                if (auto e = v.get_string().get(text)) return e;
                if (ModelReading::isUsableIdText(text))
                    id.emplace(text);
                else
                    id.reset();
                continue;
            }
            Value other;
            if (auto e = scalarOf(v, other)) return e;
            id = ModelReading::idOf(other);
        } else if (key == "revision") {
            if (auto e = scalarOf(v, revision)) return e;
        }
    }
    listed = id.has_value();
    if (listed) entries.push_back({std::move(*id), std::move(revision)});
    return SUCCESS;
}

}  // namespace

RevisionListing::Reading RevisionListing::read(std::string_view text, size_t capacity, std::string& reason) {
    entries_.clear();
    unusable_ = 0;
    auto malformed = [&reason](error_code e) {
        reason = std::string(simdjson::error_message(e)) + ".";
        return Reading::Malformed;
    };
    if (text.find('\0') != std::string_view::npos) return malformed(simdjson::UNESCAPED_CHARS);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        capacity -= 3;
    }
    od::document document;
    if (auto e = foundation::simdjsontext::iterate(text, capacity).get(document)) return malformed(e);
    od::json_type type;
    if (auto e = document.type().get(type)) return malformed(e);
    if (type != od::json_type::array) return Reading::NotAList;
    od::array items;
    if (auto e = document.get_array().get(items)) return malformed(e);
    for (auto element : items) {
        od::value item;
        if (auto e = element.get(item)) return malformed(e);
        od::json_type itemType;
        if (auto e = item.type().get(itemType)) return malformed(e);
        if (itemType != od::json_type::object) {
            ++unusable_;
            continue;
        }
        od::object fields;
        if (auto e = item.get_object().get(fields)) return malformed(e);
        bool listed = false;
        if (auto e = readItem(fields, entries_, listed)) return malformed(e);
        if (!listed) ++unusable_;
    }
    const char* rest = nullptr;
    if (document.current_location().get(rest) != simdjson::OUT_OF_BOUNDS) return malformed(simdjson::TRAILING_CONTENT);
    return Reading::Listed;
}

void RevisionListing::readItems(const Value::Array& items) {
    entries_.clear();
    unusable_ = 0;
    for (const auto& item : items) {
        auto text = item.isDictionary() ? ModelReading::idOf(item["id"]) : std::nullopt;
        if (!text) {
            ++unusable_;
            continue;
        }
        const Value& revision = item["revision"];
        entries_.push_back({std::move(*text), revision.isArray() || revision.isDictionary() ? Value() : revision});
    }
}

Value RevisionListingSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                           const std::optional<foundation::Data>& data,
                                                           foundation::ErrorPtr* error) const {
    auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
    const bool succeeded = http && http->statusCode() >= 200 && http->statusCode() < 300;
    const bool utf8 = bodyEncoding(response) == foundation::StringEncoding::UTF8;
    auto listing = std::make_shared<RevisionListing>();
    if (!succeeded || !utf8) {
        Value read = QNJSONResponseSerializer::responseObjectForResponse(response, data, error);
        if (!read.array()) return read;
        listing->readItems(*read.array());
        return Value(foundation::ObjectPtr(listing));
    }
    if (!shouldDecodeBody(response, data, error) || !data) return Value();
    const std::string_view text(reinterpret_cast<const char*>(data->bytes()), data->length());
    if (text.empty() || text == " ") return Value();
    std::string reason;
    switch (listing->read(text, data->vector().capacity(), reason)) {
        case RevisionListing::Reading::Listed: return Value(foundation::ObjectPtr(listing));
        case RevisionListing::Reading::NotAList: return Value();
        case RevisionListing::Reading::Malformed: break;
    }
    if (error) *error = QNErrorChainedWithUnderlyingError(foundation::JSONSerialization::readingError(reason), *error);
    return Value();
}

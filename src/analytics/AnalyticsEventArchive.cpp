// Length-prefixed JSON records of tracked events (see AnalyticsEventArchive.h).
#include "analytics/AnalyticsEventArchive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "analytics/AnalyticsConstants.h"
#include "foundation/FileManager.h"
#include "foundation/JSONSerialization.h"
#include "foundation/Log.h"

using foundation::Data;
using foundation::JSONSerialization;
using foundation::Value;

namespace {

Value dictionaryOf(const std::map<std::string, std::string>& strings) {
    Value::Dictionary out;
    for (const auto& [key, value] : strings) out[key] = Value(value);
    return Value(std::move(out));
}

// Strings only: the facade takes string values, so anything else means the
// record is not one of ours.
std::optional<std::map<std::string, std::string>> stringsOf(const Value& value) {
    const Value::Dictionary* dictionary = value.dictionary();
    if (!dictionary) return std::nullopt;
    std::map<std::string, std::string> out;
    for (const auto& [key, item] : *dictionary) {
        if (!item.isString()) return std::nullopt;
        out[key] = *item.string();
    }
    return out;
}

std::optional<Data> encode(const AnalyticsEvent& event) {
    Value record = Value::dictionary({
        {"name", Value(event.name)},
        {"properties", dictionaryOf(event.properties)},
        {"superProperties", dictionaryOf(event.superProperties)},
        {"time", Value(event.time.timeIntervalSinceReferenceDate())},
    });
    foundation::ErrorPtr error;
    auto json = JSONSerialization::dataWithJSONObject(record, JSONSerialization::WritingDefault, &error);
    if (!json) {
        foundation::Log("%@Cannot archive the event \"%@\": %@", AnalyticsConstants::kLogPrefix, event.name,
                        error ? error->localizedDescription() : std::string());
        return std::nullopt;
    }
    Data out;
    uint32_t length = uint32_t(json->length());
    uint8_t prefix[4] = {uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8), uint8_t(length)};
    out.append(prefix, sizeof(prefix));
    out.append(*json);
    return out;
}

std::optional<AnalyticsEvent> decode(const uint8_t* bytes, size_t length) {
    Value record = JSONSerialization::JSONObjectWithData(Data(bytes, length));
    const Value& name = record["name"];
    const Value& time = record["time"];
    auto properties = stringsOf(record["properties"]);
    auto superProperties = stringsOf(record["superProperties"]);
    if (!name.isString() || !(time.isReal() || time.isInteger()) || !properties || !superProperties)
        return std::nullopt;
    return AnalyticsEvent{*name.string(), std::move(*properties), std::move(*superProperties),
                          foundation::Date(time.doubleValue())};
}

}  // namespace

AnalyticsEventArchive::Contents AnalyticsEventArchive::read(const std::string& path) {
    Contents contents;
    if (!foundation::FileManager::defaultManager().fileExistsAtPath(path)) return contents;
    auto data = foundation::FileManager::defaultManager().contentsAtPath(path);
    if (!data) return contents;
    const uint8_t* bytes = data->bytes();
    size_t size = data->length();
    contents.fileLength = size;
    size_t at = 0;
    while (size - at >= 4) {
        uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 |
                          uint32_t(bytes[at + 3]);
        if (length > kMaxRecordLength || length > size - at - 4) break;
        auto event = decode(bytes + at + 4, length);
        if (!event) break;
        contents.events.push_back(std::move(*event));
        at += 4 + length;
    }
    contents.validLength = at;
    return contents;
}

bool AnalyticsEventArchive::append(const AnalyticsEvent& event, const std::string& path) {
    auto record = encode(event);
    if (!record) return false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const uint8_t* bytes = record->bytes();
    size_t left = record->length();
    while (fd >= 0 && left > 0) {
        ssize_t n = ::write(fd, bytes, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes += n;
        left -= size_t(n);
    }
    bool written = fd >= 0 && left == 0;
    int failure = errno;
    if (fd >= 0) ::close(fd);
    if (written) return true;
    // A record cut short here is dropped by the next read, with whatever follows it.
    foundation::Log("%@Cannot append the event \"%@\" to %@: %s", AnalyticsConstants::kLogPrefix, event.name, path,
                    std::strerror(failure));
    return false;
}

bool AnalyticsEventArchive::write(const std::vector<AnalyticsEvent>& events, const std::string& path) {
    Data all;
    for (const auto& event : events)
        if (auto record = encode(event)) all.append(*record);
    foundation::ErrorPtr error;
    if (foundation::FileManager::defaultManager().writeData(all, path, true, &error)) return true;
    foundation::Log("%@Cannot write %@: %@", AnalyticsConstants::kLogPrefix, path,
                    error ? error->localizedDescription() : std::string());
    return false;
}

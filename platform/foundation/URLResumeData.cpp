// Resume data as a keyed archive of a dictionary, and its careful reading.
#include "foundation/URLResumeData.h"

#include "foundation/FileManager.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/StringUtils.h"

namespace foundation {

namespace {

constexpr int64_t kVersion = 1;
constexpr const char* kVersionKey = "resumeDataVersion";
constexpr const char* kURLKey = "url";
constexpr const char* kMethodKey = "method";
constexpr const char* kHeadersKey = "headers";
constexpr const char* kTimeoutKey = "timeout";
constexpr const char* kFileKey = "file";
constexpr const char* kBytesReceivedKey = "bytesReceived";
constexpr const char* kEntityTagKey = "entityTag";
constexpr const char* kLastModifiedKey = "lastModified";

std::optional<std::string> stringAt(const Value& dictionary, const char* key) {
    const Value& value = dictionary[key];
    if (!value.isString()) return std::nullopt;
    return value.stringValue();
}

}  // namespace

Data encodeResumeData(const URLResumeInfo& info) {
    Value::Dictionary root;
    root[kVersionKey] = Value(kVersion);
    if (info.request.url()) root[kURLKey] = Value(info.request.url()->absoluteString());
    root[kMethodKey] = Value(info.request.httpMethod());
    Value::Array headers;
    for (const auto& [name, value] : info.request.allHTTPHeaderFields().all())
        headers.emplace_back(Value::Array{Value(name), Value(value)});
    root[kHeadersKey] = Value(std::move(headers));
    root[kTimeoutKey] = Value(info.request.timeoutInterval());
    root[kFileKey] = Value(info.filePath);
    root[kBytesReceivedKey] = Value(info.bytesReceived);
    if (info.entityTag) root[kEntityTagKey] = Value(*info.entityTag);
    if (info.lastModified) root[kLastModifiedKey] = Value(*info.lastModified);
    return KeyedArchiver::archivedDataWithRootObject(Value(std::move(root)));
}

std::optional<URLResumeInfo> decodeResumeData(const Data& data) {
    Value root = KeyedUnarchiver::unarchiveValueWithData(data);
    if (!root.dictionary()) return std::nullopt;
    if (!root[kVersionKey].isInteger() || root[kVersionKey].integerValue() != kVersion) return std::nullopt;
    auto urlText = stringAt(root, kURLKey);
    auto url = urlText ? URL::URLWithString(*urlText) : std::nullopt;
    if (!url) return std::nullopt;
    std::string scheme = StringUtils::lowercase(url->scheme().value_or(""));
    if (scheme != "http" && scheme != "https") return std::nullopt;

    URLResumeInfo info;
    info.request = URLRequest(*url);
    if (auto method = stringAt(root, kMethodKey)) info.request.setHTTPMethod(*method);
    if (const auto* headers = root[kHeadersKey].array()) {
        for (const auto& field : *headers) {
            if (!field.at(0).isString() || !field.at(1).isString()) return std::nullopt;
            info.request.addValue(field.at(1).stringValue(), field.at(0).stringValue());
        }
    }
    if (root[kTimeoutKey].isNumber() && root[kTimeoutKey].doubleValue() > 0)
        info.request.setTimeoutInterval(root[kTimeoutKey].doubleValue());

    auto file = stringAt(root, kFileKey);
    if (!file || file->empty() || !root[kBytesReceivedKey].isInteger()) return std::nullopt;
    info.filePath = *file;
    info.bytesReceived = root[kBytesReceivedKey].integerValue();
    info.entityTag = stringAt(root, kEntityTagKey);
    info.lastModified = stringAt(root, kLastModifiedKey);
    if (info.bytesReceived < 0 || info.validator().empty()) return std::nullopt;
    auto size = FileManager::defaultManager().fileSizeAtPath(info.filePath);
    if (!size || *size < static_cast<uint64_t>(info.bytesReceived)) return std::nullopt;
    return info;
}

}  // namespace foundation

// The meeting service: one router behind the test server's fallback, over
// the meeting held under one lock. Each request is answered from the state
// at the moment it is read; writes change that state and are recorded.
#include "service/MeetingService.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "foundation/CivilDate.h"
#include "foundation/Clock.h"
#include "foundation/JSONSerialization.h"

namespace testservice {

using foundation::JSONSerialization;
using foundation::Value;

namespace {

constexpr const char* kApiPrefix = "/api/v1/";
constexpr const char* kMapFilesPrefix = "/files/maps/";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) out.push_back(part);
    if (!text.empty() && text.back() == separator) out.emplace_back();
    return out;
}

std::string join(const std::vector<std::string>& parts, size_t from, const std::string& separator) {
    std::string out;
    for (size_t i = from; i < parts.size(); ++i) {
        if (i > from) out += separator;
        out += parts[i];
    }
    return out;
}

// A request's query: raw pairs (kept to rebuild page links) and decoded values.
struct Query {
    std::vector<std::pair<std::string, std::string>> raw;
    std::optional<std::string> value(const std::string& name) const {
        for (const auto& [key, value] : raw)
            if (percentDecoded(key) == name) return percentDecoded(value);
        return std::nullopt;
    }
    // A list value ("ids"): split on its commas before each item is decoded,
    // so an encoded comma stays inside its item.
    std::optional<std::vector<std::string>> items(const std::string& name) const {
        for (const auto& [key, value] : raw) {
            if (percentDecoded(key) != name) continue;
            std::vector<std::string> out;
            for (const auto& item : split(value, ',')) out.push_back(percentDecoded(item));
            return out;
        }
        return std::nullopt;
    }
};

Query parseQuery(const std::string& query) {
    Query out;
    if (query.empty()) return out;
    for (const auto& pair : split(query, '&')) {
        if (pair.empty()) continue;
        size_t eq = pair.find('=');
        if (eq == std::string::npos) out.raw.emplace_back(pair, "");
        else out.raw.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
    }
    return out;
}

std::string jsonText(const Value& value) {
    auto text = JSONSerialization::stringWithJSONObject(value, JSONSerialization::WritingFragmentsAllowed);
    // JSON has no "absent": a value with keys holding nothing is written without them.
    if (!text)
        text = JSONSerialization::stringWithJSONObject(withoutAbsentValues(value),
                                                       JSONSerialization::WritingFragmentsAllowed);
    return text.value_or("null");
}

// A text JSON writes as it is between quotes: printable ASCII without
// quotes or backslashes.
bool isPlainText(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
}

// One value's JSON text, written directly for the integers and plain texts
// that ids and revisions are.
void appendJSON(std::string& out, const Value& value) {
    if (value.isInteger()) {
        out += std::to_string(value.integerValue());
    } else if (const std::string* text = value.string(); text && isPlainText(*text)) {
        out += '"';
        out += *text;
        out += '"';
    } else {
        out += jsonText(value);
    }
}

// The page [from, to) of `items` with only `fields` of each item, as the
// JSON text of the array of those reduced objects (keys in sorted order, as
// a dictionary writes them; absent fields left out). Written directly: the
// revision listings are asked for page after page.
std::string fieldsPageText(const Value::Array& items, size_t from, size_t to, const std::vector<std::string>& fields) {
    std::vector<std::string> keys(fields);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<std::string> keyTexts;
    for (const auto& key : keys) keyTexts.push_back(jsonText(Value(key)) + ":");
    std::string out = "[";
    for (size_t i = from; i < to; ++i) {
        if (i > from) out += ',';
        out += '{';
        bool first = true;
        for (size_t k = 0; k < keys.size(); ++k) {
            const Value& value = items[i][keys[k]];
            if (value.isAbsent()) continue;
            if (!first) out += ',';
            first = false;
            out += keyTexts[k];
            appendJSON(out, value);
        }
        out += '}';
    }
    out += ']';
    return out;
}

// A body value as the app sends it: every value a text.
std::string field(const Value& body, const char* key) {
    const Value& value = body[key];
    if (value.isNothing()) return std::string();
    if (const auto* text = value.string()) return *text;
    return value.stringValue();
}

std::string undoubledBackslashes(const std::string& text) {
    return replaceAll(text, "\\\\", "\\");
}

// The number after the highest 32-bit message number under `key`: larger
// ones (an odd meeting may hold any) are passed over, so the next number
// never overflows.
int64_t nextMessageNumberOfService(const Value::Array& messages, const char* key) {
    int64_t highest = 0;
    for (const auto& message : messages) {
        const Value& number = message[key];
        if (number.isInteger() && number.integerValue() <= INT32_MAX)
            highest = std::max(highest, number.integerValue());
    }
    return highest + 1;
}

int64_t revisionOf(const Value& item) {
    return item["revision"].integerValue();
}

void setKey(Value& item, const std::string& key, Value value) {
    if (auto* dictionary = item.dictionary()) (*dictionary)[key] = std::move(value);
}

bool flagText(const std::string& text) {
    return text == "true" || text == "1" || text == "YES";
}

std::string etagOf(const std::string& body) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "\"%016zx\"", std::hash<std::string>{}(body));
    return buffer;
}

// The session an agenda entry is about: its "session" object, or itself.
std::string agendaSessionId(const Value& entry) {
    const Value& session = entry["session"];
    if (session.isDictionary()) return idText(session["id"]);
    return idText(entry["id"]);
}

// A session's fill, the same on every read: the percentage taken and the
// seats left of its capacity.
struct SessionFill {
    int percent = 0;
    int remaining = 0;
};

SessionFill sessionFillOf(const Value& session, const std::string& sessionId) {
    int capacity = session["capacity"].intValue();
    int percent = static_cast<int>(std::hash<std::string>{}(sessionId) % 101);
    return {percent, capacity * (100 - percent) / 100};
}

// What the status tells about the user's invitation to a session, by the
// invitation's status: the message, its level and the replies left.
// The service's "now" (the process clock, virtual under tests and the app
// mode), written as every date-time of the meeting is: in its zone, +02:00.
std::string dateTimeNow() {
    constexpr int64_t kMeetingOffset = 2 * 3600;
    constexpr int64_t kSecondsFrom1970To2001 = 978307200;
    const auto local = static_cast<int64_t>(foundation::Clock::now()) + kSecondsFrom1970To2001 + kMeetingOffset;
    const int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const int64_t second = local - days * 86400;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    foundation::civilFromDays(days, year, month, day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lld+02:00", static_cast<long long>(year),
                  month, day, static_cast<long long>(second / 3600), static_cast<long long>(second / 60 % 60),
                  static_cast<long long>(second % 60));
    return buffer;
}

Value::Dictionary invitationStatusAnswer(const Value& invitation) {
    const std::string status = invitation["status"].stringValue();
    std::string message = "This invitation has been cancelled.";
    std::string level = "Negative";
    Value::Array actions;
    if (status == "Invited") {
        message = "You are invited to this session.";
        level = "Warning";
        for (const char* action : {"accept", "accept_with_spouse", "decline", "delegate"}) actions.emplace_back(action);
    } else if (status == "Confirmed") {
        message = invitation["withSpouse"].boolValue() ? "You have accepted this invitation with your spouse."
                                                       : "You have accepted this invitation.";
        level = "Positive";
        actions.emplace_back("decline");
    } else if (status == "Declined") {
        message = "You have declined this invitation.";
    } else if (status == "Delegated") {
        message = "You have delegated this invitation to " + invitation["delegatedTo"].stringValue() + ".";
        level = "Info";
    }
    return {{"invitationMessage", message}, {"invitationAlertLevel", level}, {"actions", Value(std::move(actions))}};
}

}  // namespace

struct MeetingService::Impl {
    Options options;
    std::unique_ptr<TestServer> serverPointer;
    TestServer& server;
    mutable std::mutex mutex;
    MeetingData data;
    std::map<std::pair<std::string, std::string>, Fault> faults;
    std::set<std::string> extraTokens;
    std::set<std::string> revokedTokens;
    std::vector<LoggedRequest> log;
    std::vector<Write> writes;
    std::function<void(const std::string&)> sink;
    StateSink writeTakenSink;
    // The last call of the sink failed: what is on disk lacks a write the
    // meeting holds.
    bool stateUnkept = false;
    bool stallMapFiles = false;
    // The answers to "?fields=" listing pages by path and query, valid while
    // the meeting stays as it is: a delta asks for the same small pages
    // again and again. Big full pages are not kept (they are written fresh).
    mutable std::unordered_map<std::string, Reply> fieldsPages;
    static constexpr size_t kMaxFieldsPages = 4096;
    // The first answer to each write that carried an "Idempotency-Key", in
    // the order taken, and their places by token and key. A keyed write is
    // looked up, taken, recorded and kept under one hold of the lock, so the
    // state sink never sees the write without its key.
    std::vector<KeyedAnswer> keyedAnswers;
    std::map<std::string, size_t> answeredKeys;
    // The items changed through putItem, setRevision and bumpRevision: the
    // organiser's changes, which no request makes.
    std::set<std::pair<MeetingKind, std::string>> sideChanges;

    Impl(MeetingData d, Options o)
        : options(std::move(o)),
          serverPointer(options.tls ? std::make_unique<TestServer>(*options.tls) : std::make_unique<TestServer>()),
          server(*serverPointer),
          data(std::move(d)) {}

    Reply handle(const RecordedRequest& request);
    Reply answerOnce(const RecordedRequest& request, const std::string& path, const Query& query,
                     const std::string& token);
    // Under the lock: hands the state to the sink; false when it could not
    // be kept.
    bool keepTaken();
    void addKeyedAnswer(KeyedAnswer answer);
    // Under the lock: takes a write, keeps it and answers it; a write taken
    // that could not be kept is undone and answered 500.
    Reply takeWrite(const RecordedRequest& request, const std::string& path, const Query& query,
                    const std::string& token, const std::optional<std::string>& key);
    // Under the lock.
    Reply route(const RecordedRequest& request, const std::string& path, const Query& query, const std::string& token);
    Reply routeEvent(const RecordedRequest& request, const std::vector<std::string>& rest, const std::string& eventId,
                     const std::string& path, const Query& query, const std::string& token, const Value& body);
    Reply list(const Value::Array& items, const std::string& path, const Query& query) const;
    Reply listPage(const Value::Array& items, const std::string& path, const Query& query) const;
    Reply json(const Value& value, int status = 200) const;
    Reply error(int status, const std::string& message) const { return json(Value::dictionary({{"error", message}}), status); }
    Reply empty() const {
        Reply reply;
        reply.status = 204;
        reply.contentType = "application/json";
        return reply;
    }
    bool tokenValid(const std::string& token) const;
    std::string base() const { return server.baseURL(); }
    Value userAsRecipient(const Value& user) const;
    // Under the lock, after (or before) anything that may change what a list
    // answers.
    void meetingChanged() { fieldsPages.clear(); }
};

MeetingService::MeetingService(MeetingData data) : MeetingService(std::move(data), Options()) {}

MeetingService::MeetingService(MeetingData data, Options options)
    : impl_(std::make_unique<Impl>(std::move(data), std::move(options))) {
    if (impl_->options.port > 0) impl_->server.setPort(impl_->options.port);
    impl_->server.setFallback([this](const RecordedRequest& request) { return impl_->handle(request); });
}

MeetingService::~MeetingService() {
    stop();
}

bool MeetingService::start() {
    return impl_->server.start();
}

void MeetingService::stop() {
    impl_->server.stop();
}

std::string MeetingService::rootURL() const {
    return impl_->server.baseURL() + "/api";
}

std::string MeetingService::baseURL() const {
    return impl_->server.baseURL();
}

std::string MeetingService::urlFor(const std::string& pathAndQuery) const {
    return impl_->server.urlFor(pathAndQuery);
}

TestServer& MeetingService::server() {
    return impl_->server;
}

std::string MeetingService::eventId() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->data.eventId;
}

MeetingAccount MeetingService::demoAccount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->data.accounts.empty() ? MeetingAccount() : impl_->data.accounts.front();
}

std::string MeetingService::demoToken() const {
    return demoAccount().accessToken;
}

void MeetingService::setFilesNeedToken(bool needed) {
    std::lock_guard lock(impl_->mutex);
    impl_->options.filesNeedToken = needed;
}

void MeetingService::setStallMapFiles(bool stall) {
    std::lock_guard lock(impl_->mutex);
    impl_->stallMapFiles = stall;
}

void MeetingService::resumeStalledMapFiles() { impl_->server.resumeStalledReplies(); }

void MeetingService::setPageSize(size_t pageSize) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    impl_->options.pageSize = std::max<size_t>(pageSize, 1);
}

size_t MeetingService::pageSize() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->options.pageSize;
}

Value::Array MeetingService::items(MeetingKind kind) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->data.items(kind);
}

std::optional<Value> MeetingService::item(MeetingKind kind, const std::string& id) const {
    std::lock_guard lock(impl_->mutex);
    const Value* found = impl_->data.find(kind, id);
    if (!found) return std::nullopt;
    return *found;
}

void MeetingService::putItem(MeetingKind kind, Value item) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    impl_->sideChanges.emplace(kind, idText(item["id"]));
    impl_->data.put(kind, std::move(item));
}

bool MeetingService::removeItem(MeetingKind kind, const std::string& id) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    return impl_->data.remove(kind, id);
}

bool MeetingService::setRevision(MeetingKind kind, const std::string& id, int64_t revision) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    Value* found = impl_->data.find(kind, id);
    if (!found) return false;
    setKey(*found, "revision", Value(static_cast<long long>(revision)));
    impl_->sideChanges.emplace(kind, id);
    return true;
}

std::optional<int64_t> MeetingService::bumpRevision(MeetingKind kind, const std::string& id) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    Value* found = impl_->data.find(kind, id);
    if (!found) return std::nullopt;
    int64_t next = revisionOf(*found) + 1;
    setKey(*found, "revision", Value(static_cast<long long>(next)));
    impl_->sideChanges.emplace(kind, id);
    return next;
}

int64_t MeetingService::addMessage(Value message) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    int64_t id = std::as_const(message)["id"].integerValue();
    if (std::as_const(message)["id"].isNothing()) {
        id = nextMessageNumberOfService(impl_->data.items(MeetingKind::Messages), "id");
        setKey(message, "id", Value(static_cast<long long>(id)));
    }
    impl_->data.put(MeetingKind::Messages, std::move(message));
    return id;
}

void MeetingService::mutate(const std::function<void(MeetingData&)>& change) {
    std::lock_guard lock(impl_->mutex);
    impl_->meetingChanged();
    change(impl_->data);
}

MeetingData MeetingService::snapshot() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->data;
}

void MeetingService::injectFault(std::string method, std::string path, Fault fault) {
    std::lock_guard lock(impl_->mutex);
    impl_->faults[{std::move(method), std::move(path)}] = std::move(fault);
}

void MeetingService::clearFaults() {
    std::lock_guard lock(impl_->mutex);
    impl_->faults.clear();
}

void MeetingService::addToken(const std::string& token) {
    std::lock_guard lock(impl_->mutex);
    impl_->extraTokens.insert(token);
    impl_->revokedTokens.erase(token);
}

void MeetingService::revokeToken(const std::string& token) {
    std::lock_guard lock(impl_->mutex);
    impl_->revokedTokens.insert(token);
}

std::vector<MeetingService::LoggedRequest> MeetingService::requestLog() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->log;
}

size_t MeetingService::requestCount(const std::string& method, const std::string& path) const {
    std::lock_guard lock(impl_->mutex);
    return std::count_if(impl_->log.begin(), impl_->log.end(), [&](const LoggedRequest& entry) {
        return (method == "*" || entry.method == method) && entry.path.substr(0, entry.path.find('?')) == path;
    });
}

void MeetingService::clearRequestLog() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->log.clear();
    }
    // The server's own record of the same requests (their headers and
    // bodies) goes too: a process that downloads again and again, clearing
    // the log between, would otherwise keep every request it ever sent.
    impl_->server.clearRequests();
}

void MeetingService::setRequestLogSink(std::function<void(const std::string& jsonLine)> sink) {
    std::lock_guard lock(impl_->mutex);
    impl_->sink = std::move(sink);
}

void MeetingService::setWriteTakenSink(StateSink sink) {
    std::lock_guard lock(impl_->mutex);
    impl_->writeTakenSink = std::move(sink);
}

bool MeetingService::keepState(const StateSink& sink) {
    std::lock_guard lock(impl_->mutex);
    const bool kept = sink(impl_->data, impl_->keyedAnswers, impl_->sideChanges);
    impl_->stateUnkept = !kept;
    return kept;
}

void MeetingService::restoreKeyedAnswers(const std::vector<KeyedAnswer>& answered) {
    std::lock_guard lock(impl_->mutex);
    for (const auto& answer : answered) impl_->addKeyedAnswer(answer);
}

void MeetingService::Impl::addKeyedAnswer(KeyedAnswer answer) {
    const std::string entry = answer.token + "\n" + answer.key;
    if (answeredKeys.count(entry)) return;
    answeredKeys.emplace(entry, keyedAnswers.size());
    keyedAnswers.push_back(std::move(answer));
}

bool MeetingService::Impl::keepTaken() {
    if (!writeTakenSink) return true;
    stateUnkept = !writeTakenSink(data, keyedAnswers, sideChanges);
    return !stateUnkept;
}

std::vector<MeetingService::Write> MeetingService::writes() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->writes;
}

void MeetingService::clearWrites() {
    std::lock_guard lock(impl_->mutex);
    impl_->writes.clear();
}

// ---- the router ----------------------------------------------------------

bool MeetingService::Impl::tokenValid(const std::string& token) const {
    if (token.empty() || revokedTokens.count(token)) return false;
    if (extraTokens.count(token)) return true;
    return std::any_of(data.accounts.begin(), data.accounts.end(),
                       [&](const MeetingAccount& account) { return account.accessToken == token; });
}

Reply MeetingService::Impl::json(const Value& value, int status) const {
    Reply reply;
    reply.status = status;
    reply.contentType = "application/json";
    reply.body = replaceAll(jsonText(value), kRootPlaceholder, base());
    return reply;
}

Reply MeetingService::Impl::list(const Value::Array& items, const std::string& path, const Query& query) const {
    // The answer depends on the meeting, the page size, the path and the
    // query as sent (the next page's link repeats it), nothing else.
    std::string cacheKey;
    if (query.value("fields")) {
        cacheKey = path + "?";
        for (const auto& [key, value] : query.raw) cacheKey += key + "=" + value + "&";
        auto cached = fieldsPages.find(cacheKey);
        if (cached != fieldsPages.end()) return cached->second;
    }
    Reply reply = listPage(items, path, query);
    if (!cacheKey.empty()) {
        if (fieldsPages.size() >= kMaxFieldsPages) fieldsPages.clear();
        fieldsPages.emplace(std::move(cacheKey), reply);
    }
    return reply;
}

Reply MeetingService::Impl::listPage(const Value::Array& items, const std::string& path, const Query& query) const {
    const Value::Array* source = &items;
    Value::Array filtered;
    if (auto ids = query.items("ids")) {
        std::set<std::string> wanted(ids->begin(), ids->end());
        for (const auto& item : items)
            if (wanted.count(idText(item["id"]))) filtered.push_back(item);
        source = &filtered;
    }
    size_t pageSize = options.pageSize;
    long page = 1;
    if (auto pageText = query.value("page")) page = std::max(1L, std::strtol(pageText->c_str(), nullptr, 10));
    // A page far past the end (however large its number) is empty.
    size_t skipped = static_cast<size_t>(page - 1);
    size_t from = skipped > source->size() / pageSize ? source->size() : std::min(source->size(), skipped * pageSize);
    size_t to = std::min(source->size(), from + pageSize);
    std::optional<std::vector<std::string>> fields;
    if (auto fieldList = query.value("fields")) fields = split(*fieldList, ',');
    Reply reply;
    if (fields) {
        reply = json(Value());
        reply.body = replaceAll(fieldsPageText(*source, from, to, *fields), kRootPlaceholder, base());
    } else {
        Value::Array pageItems((*source).begin() + static_cast<std::ptrdiff_t>(from),
                               (*source).begin() + static_cast<std::ptrdiff_t>(to));
        reply = json(Value(std::move(pageItems)));
    }
    if (to < source->size()) {
        std::string next = base() + path + "?";
        for (const auto& [key, value] : query.raw) {
            if (percentDecoded(key) == "page") continue;
            next += key + (value.empty() ? "" : "=" + value) + "&";
        }
        next += "page=" + std::to_string(page + 1);
        reply.headers.emplace_back("Link", "<" + next + ">; rel=\"next\"");
    }
    return reply;
}

Value MeetingService::Impl::userAsRecipient(const Value& user) const {
    return Value::dictionary({{"participantId", idText(user["id"])},
                              {"name", user["fullName"]},
                              {"mailAddress", user["email"]},
                              {"shortDisplay", user["fullName"]},
                              {"longDisplay", user["fullName"]},
                              {"externalAddress", false},
                              {"valid", true}});
}

Reply MeetingService::Impl::handle(const RecordedRequest& request) {
    std::string path = request.path.substr(0, request.path.find('?'));
    std::string rawQuery = request.path.size() > path.size() ? request.path.substr(path.size() + 1) : std::string();
    std::string token;
    if (auto authorization = request.header("Authorization")) {
        const std::string prefix = "Bearer ";
        if (authorization->rfind(prefix, 0) == 0) token = authorization->substr(prefix.size());
    }
    Reply reply;
    bool faulted = false;
    bool taken = false;
    {
        std::lock_guard lock(mutex);
        for (const auto& key : {std::make_pair(request.method, request.path), std::make_pair(std::string("*"), request.path),
                                std::make_pair(request.method, path), std::make_pair(std::string("*"), path)}) {
            auto it = faults.find(key);
            if (it == faults.end()) continue;
            Fault& fault = it->second;
            reply.status = fault.status;
            reply.contentType = fault.contentType;
            reply.body = replaceAll(fault.body, kRootPlaceholder, base());
            reply.neverAnswer = fault.stall;
            taken = fault.afterTaking;
            if (fault.times > 0 && --fault.times == 0) faults.erase(it);
            faulted = true;
            break;
        }
    }
    const bool write = request.method != "GET" && request.method != "HEAD" && request.method != "OPTIONS";
    if (!faulted || taken) {
        Reply answer = answerOnce(request, path, parseQuery(rawQuery), token);
        if (!faulted) reply = std::move(answer);
    }

    std::function<void(const std::string&)> logSink;
    LoggedRequest entry{request.method, request.path, reply.neverAnswer ? 0 : reply.status, request.header("Authorization"),
                        request.body};
    {
        std::lock_guard lock(mutex);
        log.push_back(entry);
        if (write) {
            Value body;
            if (!request.body.empty()) body = JSONSerialization::JSONObjectWithString(request.body);
            writes.push_back({request.method, path, body, token});
        }
        logSink = sink;
    }
    if (logSink) {
        logSink(jsonText(Value::dictionary({{"method", request.method},
                                             {"path", request.path},
                                             {"status", entry.status},
                                             {"authorized", !token.empty()}})));
    }
    return reply;
}

// A write that names itself with an "Idempotency-Key" is taken once: a
// repeat of the key (with the same token) gets the first answer, and the
// meeting stays as it is. An answer that refused the write is not kept, so
// the write may be tried again. A write taken is handed to the state sink
// (with its key) before it is answered; only a write that changed the
// meeting is: reads and refused writes are the most requests, and leave it
// as it was.
Reply MeetingService::Impl::answerOnce(const RecordedRequest& request, const std::string& path, const Query& query,
                                       const std::string& token) {
    const bool write = request.method != "GET" && request.method != "HEAD" && request.method != "OPTIONS";
    std::lock_guard lock(mutex);
    if (!write) return route(request, path, query, token);
    const auto key = request.header("Idempotency-Key");
    if (key) {
        if (auto answered = answeredKeys.find(token + "\n" + *key); answered != answeredKeys.end()) {
            // The first answer stands once what it answered is kept.
            if (stateUnkept && !keepTaken()) return error(500, "The service could not keep the change");
            const KeyedAnswer& first = keyedAnswers[answered->second];
            Reply reply;
            reply.status = first.status;
            reply.contentType = first.contentType;
            reply.body = first.body;
            return reply;
        }
    }
    return takeWrite(request, path, query, token, key);
}

// The client takes a 500 as "not done" and tries again: the write must then
// be gone, from the meeting and so from every later state the sink keeps,
// or the retry would store it a second time. What a request can change is
// the lists, the privacy settings and the tokens; the lists' items are
// shared values, so the copy costs a count per item, not the meeting.
Reply MeetingService::Impl::takeWrite(const RecordedRequest& request, const std::string& path, const Query& query,
                                      const std::string& token, const std::optional<std::string>& key) {
    struct Before {
        std::map<MeetingKind, Value::Array> lists;
        Value privacySettings;
        std::set<std::string> extraTokens, revokedTokens;
        bool stateUnkept = false;
    };
    std::optional<Before> before;
    if (writeTakenSink) before = Before{data.lists, data.privacySettings, extraTokens, revokedTokens, stateUnkept};
    Reply reply = route(request, path, query, token);
    if (reply.status < 200 || reply.status >= 300) return reply;
    if (key) addKeyedAnswer({token, *key, reply.status, reply.contentType, reply.body});
    if (keepTaken()) return reply;
    if (key) {
        answeredKeys.erase(token + "\n" + *key);
        keyedAnswers.pop_back();
    }
    data.lists = std::move(before->lists);
    data.privacySettings = std::move(before->privacySettings);
    extraTokens = std::move(before->extraTokens);
    revokedTokens = std::move(before->revokedTokens);
    // What is on disk is as before the write: it lacks no more than it did.
    stateUnkept = before->stateUnkept;
    meetingChanged();
    return error(500, "The service could not keep the change");
}

Reply MeetingService::Impl::route(const RecordedRequest& request, const std::string& rawPath, const Query& query,
                                  const std::string& token) {
    // A HEAD is answered as its GET (the server leaves the body out).
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    // Any other method may change the meeting, answered or refused.
    if (method != "GET") meetingChanged();
    if (rawPath.rfind(kApiPrefix, 0) != 0) {
        if (options.filesNeedToken && !tokenValid(token)) return error(401, "Invalid access token");
        auto file = data.files.find(percentDecoded(rawPath));
        if (file == data.files.end() || (method != "GET" && method != "HEAD")) return error(404, "Not found");
        std::string body = replaceAll(file->second.body, kRootPlaceholder, base());
        Reply reply = Reply::resource(request, body, etagOf(body), file->second.contentType);
        if (stallMapFiles && rawPath.rfind(kMapFilesPrefix, 0) == 0) reply.stallAfterBytes = 1;
        return reply;
    }
    std::vector<std::string> segments;
    for (const auto& segment : split(rawPath.substr(std::string(kApiPrefix).size()), '/'))
        segments.push_back(percentDecoded(segment));
    while (!segments.empty() && segments.back().empty()) segments.pop_back();
    Value body;
    if (!request.body.empty()) {
        body = JSONSerialization::JSONObjectWithString(request.body);
        if (!body.isDictionary()) return error(400, "The body must be a JSON object");
    }
    auto is = [&](std::initializer_list<const char*> parts) {
        if (segments.size() != parts.size()) return false;
        size_t i = 0;
        for (const char* part : parts) {
            if (std::string(part) != "*" && segments[i] != part) return false;
            ++i;
        }
        return true;
    };

    // Without a token.
    if (is({"authentication", "login"})) {
        if (method != "POST") return error(405, "Method not allowed");
        std::string type = field(body, "login_type");
        for (const auto& account : data.accounts) {
            bool match = false;
            if (type == "password") {
                std::string sent = field(body, "password");
                match = account.username == field(body, "username") && !account.password.empty() &&
                        (sent == account.password || undoubledBackslashes(sent) == account.password);
            } else if (type == "passcoded") {
                std::string sent = field(body, "passcode");
                match = !account.passcode.empty() &&
                        (sent == account.passcode || undoubledBackslashes(sent) == account.passcode);
            } else {
                return error(400, "Unknown login type");
            }
            if (match) {
                revokedTokens.erase(account.accessToken);
                return json(Value::dictionary({{"accessToken", account.accessToken}, {"user", account.user}}));
            }
        }
        // Wrong credentials are a bad request, as the organisation's service
        // answers them; 401 is for a missing or refused token.
        return error(400, type == "passcoded" ? "Invalid passcode" : "Invalid username or password");
    }
    if (is({"authentication", "reset_password"})) {
        if (method != "POST") return error(405, "Method not allowed");
        std::string username = field(body, "username");
        for (const auto& account : data.accounts) {
            // The user name, or the address it stands for (what the
            // forgotten-password screen asks for).
            if (!username.empty() && (account.username == username || account.user["email"].stringValue() == username))
                return json(Value::dictionary({{"message", "A new activation code has been sent to your e-mail address."}}));
        }
        return error(404, "Unknown username");
    }

    if (!tokenValid(token)) return error(401, "Invalid access token");

    if (!segments.empty() && segments[0] == "events") {
        const auto& events = data.items(MeetingKind::Events);
        if (segments.size() == 1) {
            if (method != "GET") return error(405, "Method not allowed");
            return list(events, rawPath, query);
        }
        std::string eventId = segments[1] == "current" ? data.eventId : segments[1];
        const Value* event = data.find(MeetingKind::Events, eventId);
        if (!event) return error(404, "Event not found");
        if (segments.size() == 2) {
            if (method != "GET") return error(405, "Method not allowed");
            return json(*event);
        }
        std::vector<std::string> rest(segments.begin() + 2, segments.end());
        return routeEvent(request, rest, eventId, rawPath, query, token, body);
    }

    if (is({"messages"})) {
        if (method == "GET") return list(data.items(MeetingKind::Messages), rawPath, query);
        if (method != "POST") return error(405, "Method not allowed");
        std::vector<std::string> to;
        for (const auto& id : split(field(body, "to"), ','))
            if (!id.empty()) to.push_back(id);
        if (to.empty()) return error(400, "A message needs at least one recipient");
        auto& messages = data.items(MeetingKind::Messages);
        const int64_t id = nextMessageNumberOfService(messages, "id");
        int64_t threadId = std::strtoll(field(body, "threadId").c_str(), nullptr, 10);
        if (threadId <= 0) threadId = nextMessageNumberOfService(messages, "threadId");
        Value user = data.accounts.empty() ? Value() : data.accounts.front().user;
        for (const auto& account : data.accounts)
            if (account.accessToken == token) user = account.user;
        Value::Array recipients;
        for (const auto& recipientId : to) {
            const Value* person = data.find(MeetingKind::MessageRecipients, recipientId);
            if (!person) person = data.find(MeetingKind::Participants, recipientId);
            if (person) recipients.push_back(userAsRecipient(*person));
            else recipients.push_back(Value::dictionary({{"participantId", recipientId}, {"valid", false}}));
        }
        messages.push_back(Value::dictionary({{"id", static_cast<long long>(id)},
                                              {"threadId", static_cast<long long>(threadId)},
                                              {"subject", field(body, "subject")},
                                              {"body", field(body, "body")},
                                              {"read", true},
                                              {"sendDatetime", dateTimeNow()},
                                              {"participantId", std::as_const(user)["id"]},
                                              {"folderName", "Sent"},
                                              {"from", userAsRecipient(user)},
                                              {"to", Value(recipients)}}));
        return json(Value::dictionary({{"result", "Sent"}}));
    }
    if (is({"messages", "recipients"})) {
        if (method != "GET") return error(405, "Method not allowed");
        return list(data.items(MeetingKind::MessageRecipients), rawPath, query);
    }
    if (is({"messages", "*"})) {
        std::string id = segments[1];
        Value* message = data.find(MeetingKind::Messages, id);
        if (method == "PATCH") {
            if (!message) return error(404, "Message not found");
            // The app's only change of a message is "mark as read" (it sends
            // the read text it has), so the service marks it read.
            setKey(*message, "read", true);
            return json(*message);
        }
        if (method == "DELETE") {
            if (!message) return error(404, "Message not found");
            data.remove(MeetingKind::Messages, id);
            return empty();
        }
        return error(405, "Method not allowed");
    }
    if (is({"user", "relationships", "following"})) {
        if (method != "GET") return error(405, "Method not allowed");
        return list(data.items(MeetingKind::Following), rawPath, query);
    }
    if (is({"user", "relationships"})) {
        if (method != "POST") return error(405, "Method not allowed");
        std::string id = field(body, "followingId");
        const Value* person = data.find(MeetingKind::Participants, id);
        if (!person) return error(404, "Participant not found");
        Value followed = Value::dictionary({{"id", id},
                                            {"revision", 1},
                                            {"firstName", (*person)["firstName"]},
                                            {"lastName", (*person)["lastName"]},
                                            {"fullName", (*person)["fullName"]}});
        data.put(MeetingKind::Following, followed);
        return json(followed);
    }
    if (is({"user", "relationships", "*"})) {
        if (method != "DELETE") return error(405, "Method not allowed");
        if (!data.remove(MeetingKind::Following, segments[2])) return error(404, "Not following this participant");
        return empty();
    }
    if (is({"user", "privacy_settings"})) {
        if (data.privacySettings.isNothing())
            data.privacySettings = Value::dictionary({{"primaryEmailVisible", true},
                                                      {"phoneVisible", true},
                                                      {"mobilePhoneVisible", false},
                                                      {"nationalityVisible", true}});
        if (method == "GET") return json(data.privacySettings);
        if (method != "PUT") return error(405, "Method not allowed");
        for (const char* key : {"primaryEmailVisible", "phoneVisible", "mobilePhoneVisible", "nationalityVisible"})
            if (!std::as_const(body)[key].isNothing()) setKey(data.privacySettings, key, flagText(field(body, key)));
        return json(data.privacySettings);
    }
    return error(404, "Not found");
}

Reply MeetingService::Impl::routeEvent(const RecordedRequest& request, const std::vector<std::string>& rest,
                                       const std::string& eventId, const std::string& path, const Query& query,
                                       const std::string& token, const Value& body) {
    // A HEAD is answered as its GET (the server leaves the body out).
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    bool served = eventId == data.eventId;
    static const Value::Array kNone;
    std::string relative = "events/" + eventId + "/" + join(rest, 0, "/");
    // The lists.
    for (MeetingKind kind : allMeetingKinds()) {
        if (!isPerMeeting(kind) || listPath(kind, eventId) != relative) continue;
        // The account holds the same permissions in every meeting it knows:
        // last year's edition is not read-only for want of "event:change".
        const bool sameInEveryMeeting = kind == MeetingKind::Permissions;
        const Value::Array& items = served || sameInEveryMeeting ? data.items(kind) : kNone;
        if (method == "GET") return list(items, path, query);
        if (!served) return error(404, "Event not found");
        if (kind == MeetingKind::AgendaSelections && method == "POST") {
            std::string sessionId = field(body, "session_id");
            const Value* session = data.find(MeetingKind::Sessions, sessionId);
            if (!session) return error(404, "Session not found");
            for (const auto& entry : data.items(kind))
                if (agendaSessionId(entry) == sessionId) return json(entry);
            if (sessionFillOf(*session, sessionId).remaining <= 0) return error(409, "Session is full");
            Value entry = Value::dictionary(
                {{"id", "sel-" + sessionId}, {"revision", 1}, {"status", "Selected"}, {"session", *session}});
            data.put(kind, entry);
            return json(entry);
        }
        if (kind == MeetingKind::PersonalEntries && method == "POST") {
            int next = 1;
            while (data.find(kind, "pe-" + std::to_string(next))) ++next;
            Value entry = Value::dictionary({{"id", "pe-" + std::to_string(next)},
                                             {"revision", 1},
                                             {"status", "Personal"},
                                             {"subject", field(body, "subject")},
                                             {"body", field(body, "body")},
                                             {"startDatetime", field(body, "startDatetime")},
                                             {"endDatetime", field(body, "endDatetime")}});
            data.put(kind, entry);
            return json(entry);
        }
        return error(405, "Method not allowed");
    }
    if (!served) return error(404, "Not found");
    auto is = [&](std::initializer_list<const char*> parts) {
        if (rest.size() != parts.size()) return false;
        size_t i = 0;
        for (const char* part : parts) {
            if (std::string(part) != "*" && rest[i] != part) return false;
            ++i;
        }
        return true;
    };
    // One item below a list.
    if (is({"my_agenda", "selections", "*"})) {
        if (method != "DELETE") return error(405, "Method not allowed");
        for (const auto& entry : data.items(MeetingKind::AgendaSelections)) {
            if (agendaSessionId(entry) == rest[2] || idText(entry["id"]) == rest[2]) {
                data.remove(MeetingKind::AgendaSelections, idText(entry["id"]));
                return empty();
            }
        }
        return error(404, "Session not in the agenda");
    }
    if (is({"my_agenda", "personal_entries", "*"})) {
        Value* entry = data.find(MeetingKind::PersonalEntries, rest[2]);
        if (!entry) return error(404, "Personal entry not found");
        if (method == "DELETE") {
            data.remove(MeetingKind::PersonalEntries, rest[2]);
            return empty();
        }
        if (method != "PUT") return error(405, "Method not allowed");
        for (const char* key : {"subject", "body", "startDatetime", "endDatetime"})
            if (!body[key].isNothing()) setKey(*entry, key, field(body, key));
        setKey(*entry, "revision", Value(static_cast<long long>(revisionOf(*entry) + 1)));
        return json(*entry);
    }
    if (is({"my_agenda", "invitations", "*"})) {
        if (method != "PATCH") return error(405, "Method not allowed");
        Value* invitation = nullptr;
        for (auto& entry : data.items(MeetingKind::AgendaInvitations))
            if (agendaSessionId(entry) == rest[2] || idText(std::as_const(entry)["id"]) == rest[2]) invitation = &entry;
        if (!invitation) return error(404, "Invitation not found");
        std::string action = field(body, "action");
        if (action == "accept" || action == "accept_with_spouse") {
            setKey(*invitation, "status", "Confirmed");
            setKey(*invitation, "withSpouse", action == "accept_with_spouse");
        } else if (action == "decline") {
            setKey(*invitation, "status", "Declined");
        } else if (action == "delegate") {
            if (field(body, "delegateTo").empty()) return error(400, "Nobody to delegate to");
            setKey(*invitation, "status", "Delegated");
            setKey(*invitation, "delegatedTo", field(body, "delegateTo"));
        } else {
            return error(400, "Unknown action");
        }
        setKey(*invitation, "revision", Value(static_cast<long long>(revisionOf(*invitation) + 1)));
        return json(*invitation);
    }
    if (is({"notes", "participants", "*"}) || is({"notes", "sessions", "*"})) {
        if (method != "PUT") return error(405, "Method not allowed");
        bool participants = rest[1] == "participants";
        MeetingKind kind = participants ? MeetingKind::ParticipantNotes : MeetingKind::SessionNotes;
        const char* ownerKey = participants ? "participantId" : "sessionId";
        if (!data.find(participants ? MeetingKind::Participants : MeetingKind::Sessions, rest[2]))
            return error(404, participants ? "Participant not found" : "Session not found");
        for (auto& note : data.items(kind)) {
            if (idText(std::as_const(note)[ownerKey]) != rest[2]) continue;
            setKey(note, "note", field(body, "note"));
            setKey(note, "revision", Value(static_cast<long long>(revisionOf(note) + 1)));
            return json(note);
        }
        Value note = Value::dictionary({{"id", std::string(participants ? "pn-" : "sn-") + rest[2]},
                                        {"revision", 1},
                                        {ownerKey, rest[2]},
                                        {"note", field(body, "note")}});
        data.put(kind, note);
        return json(note);
    }
    if (is({"my_profile", "notifications", "*"})) {
        if (method != "DELETE") return error(405, "Method not allowed");
        if (!data.remove(MeetingKind::Notifications, rest[2])) return error(404, "Notification not found");
        return empty();
    }
    if (is({"my_profile", "login_delegators", "*", "masquerade"})) {
        if (method != "POST") return error(405, "Method not allowed");
        const Value* delegator = data.find(MeetingKind::LoginDelegators, rest[2]);
        if (!delegator) return error(404, "Login delegator not found");
        std::string delegatorToken = token + "-as-" + rest[2];
        extraTokens.insert(delegatorToken);
        revokedTokens.erase(delegatorToken);
        Value user = Value::dictionary({{"id", (*delegator)["id"]},
                                        {"email", (*delegator)["email"]},
                                        {"firstName", (*delegator)["firstName"]},
                                        {"lastName", (*delegator)["lastName"]},
                                        {"fullName", (*delegator)["fullName"]}});
        return json(Value::dictionary({{"accessToken", delegatorToken}, {"user", user}}));
    }
    if (is({"spouse"})) {
        if (method != "PATCH") return error(405, "Method not allowed");
        if (field(body, "password").empty()) return error(400, "The password must not be empty");
        for (const auto& delegator : data.items(MeetingKind::LoginDelegators))
            if (delegator["type"].stringValue() == "spouse") return json(delegator);
        return error(404, "No spouse registered for this meeting");
    }
    auto sessionFor = [&](const std::string& id) { return data.find(MeetingKind::Sessions, id); };
    if (is({"sessions", "*", "recommended"}) || is({"sessions", "*", "status"}) || is({"sessions", "*", "occupancy"})) {
        if (method != "GET") return error(405, "Method not allowed");
        // A screen showing the user's agenda entry of a session asks with
        // the entry's id.
        std::string sessionId = rest[1];
        if (!sessionFor(sessionId))
            for (auto kind : {MeetingKind::AgendaSelections, MeetingKind::AgendaResponsibilities,
                              MeetingKind::AgendaInvitations})
                if (const Value* entry = data.find(kind, sessionId)) sessionId = agendaSessionId(*entry);
        const Value* session = sessionFor(sessionId);
        if (!session) return error(404, "Session not found");
        if (rest[2] == "recommended") {
            Value::Array recommended;
            for (const auto& other : data.items(MeetingKind::Sessions)) {
                if (recommended.size() >= 12) break;
                if (&other != session && other["programmeName"] == (*session)["programmeName"])
                    recommended.push_back(Value::dictionary({{"id", other["id"]}}));
            }
            return list(recommended, path, query);
        }
        int capacity = (*session)["capacity"].intValue();
        const auto [percent, remaining] = sessionFillOf(*session, sessionId);
        if (rest[2] == "occupancy")
            return json(Value::dictionary({{"occupancyPercent", percent}, {"remainingCapacity", remaining}}));
        bool full = remaining <= 0;
        std::string level = full ? "Negative" : percent >= 80 ? "Warning" : "Positive";
        std::string shortMessage = full ? "Full" : percent >= 80 ? "Almost full" : "Seats available";
        Value::Dictionary answer{{"shortMessage", shortMessage},
                                 {"longMessage", shortMessage + ": " + std::to_string(remaining) + " of " +
                                                     std::to_string(capacity) + " seats left."},
                                 {"alertLevel", level},
                                 {"occupencyPercent", percent},
                                 {"remainingCapacity", remaining},
                                 {"invitationMessage", ""},
                                 {"invitationAlertLevel", "Info"}};
        // The actions follow the user's agenda: an invitation's replies, the
        // removal of a selection, or the addition of a session with seats left.
        Value::Array actions;
        bool selected = false;
        for (const auto& entry : data.items(MeetingKind::AgendaSelections)) selected |= agendaSessionId(entry) == sessionId;
        const Value* invitation = nullptr;
        for (const auto& entry : data.items(MeetingKind::AgendaInvitations))
            if (agendaSessionId(entry) == sessionId) invitation = &entry;
        if (invitation) {
            for (auto& [key, value] : invitationStatusAnswer(*invitation)) answer[key] = value;
        } else {
            if (selected) actions.emplace_back("remove_from_agenda");
            else if (!full) actions.emplace_back("add_to_agenda");
            answer["actions"] = Value(std::move(actions));
        }
        return json(Value(std::move(answer)));
    }
    if (is({"participants", "*", "recommended"})) {
        if (method != "GET") return error(405, "Method not allowed");
        const Value* person = data.find(MeetingKind::Participants, rest[1]);
        if (!person) return error(404, "Participant not found");
        Value::Array recommended;
        for (const auto& other : data.items(MeetingKind::Participants)) {
            if (recommended.size() >= 10) break;
            if (&other != person && other["organizationType"] == (*person)["organizationType"])
                recommended.push_back(Value::dictionary({{"id", other["id"]}}));
        }
        return list(recommended, path, query);
    }
    return error(404, "Not found");
}

}  // namespace testservice

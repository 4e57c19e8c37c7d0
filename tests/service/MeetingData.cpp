// The meeting's content and its fixture directory form.
#include "service/MeetingData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "foundation/JSONSerialization.h"

namespace testservice {

using foundation::JSONSerialization;
using foundation::Value;
namespace fs = std::filesystem;

namespace {

struct KindInfo {
    MeetingKind kind;
    const char* fixture;
    // "%" stands for the meeting id.
    const char* path;
};

const KindInfo kKinds[] = {
    {MeetingKind::Events, "events", "events"},
    {MeetingKind::Sessions, "sessions", "events/%/sessions/official"},
    {MeetingKind::Participants, "participants", "events/%/participants"},
    {MeetingKind::Organizations, "organizations", "events/%/organizations"},
    {MeetingKind::Partners, "partners", "events/%/partners"},
    {MeetingKind::Venues, "venues", "events/%/venues"},
    {MeetingKind::Rooms, "rooms", "events/%/rooms"},
    {MeetingKind::MeetingDelegates, "delegates", "events/%/my_profile/delegates"},
    {MeetingKind::LoginDelegators, "login_delegators", "events/%/my_profile/login_delegators"},
    {MeetingKind::Permissions, "permissions", "events/%/my_profile/permissions"},
    {MeetingKind::Notifications, "notifications", "events/%/my_profile/notifications"},
    {MeetingKind::ParticipantNotes, "participant_notes", "events/%/notes/participants"},
    {MeetingKind::SessionNotes, "session_notes", "events/%/notes/sessions"},
    {MeetingKind::Documents, "documents", "events/%/documents"},
    {MeetingKind::Following, "following", "user/relationships/following"},
    {MeetingKind::AgendaSelections, "agenda_selections", "events/%/my_agenda/selections"},
    {MeetingKind::AgendaResponsibilities, "agenda_responsibilities", "events/%/my_agenda/responsibilities"},
    {MeetingKind::AgendaInvitations, "agenda_invitations", "events/%/my_agenda/invitations"},
    {MeetingKind::PersonalEntries, "personal_entries", "events/%/my_agenda/personal_entries"},
    {MeetingKind::Messages, "messages", "messages"},
    {MeetingKind::MessageRecipients, "message_recipients", "messages/recipients"},
};

const KindInfo& info(MeetingKind kind) {
    for (const auto& entry : kKinds)
        if (entry.kind == kind) return entry;
    return kKinds[0];
}

bool readFile(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

bool writeFile(const fs::path& path, const std::string& content) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    return static_cast<bool>(out);
}

std::string pretty(const Value& value) {
    return JSONSerialization::stringWithJSONObject(withoutAbsentValues(value), JSONSerialization::WritingPrettyPrinted)
        .value_or("null");
}

void fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

const Value::Array kNoItems;

}  // namespace

const std::vector<MeetingKind>& allMeetingKinds() {
    static const std::vector<MeetingKind> kinds = [] {
        std::vector<MeetingKind> out;
        for (const auto& entry : kKinds) out.push_back(entry.kind);
        return out;
    }();
    return kinds;
}

const char* fixtureName(MeetingKind kind) {
    return info(kind).fixture;
}

std::string listPath(MeetingKind kind, const std::string& eventId) {
    std::string out;
    for (const char* c = info(kind).path; *c; ++c) {
        if (*c == '%') out += eventId;
        else out += *c;
    }
    return out;
}

bool isPerMeeting(MeetingKind kind) {
    return std::string(info(kind).path).find('%') != std::string::npos;
}

std::string idText(const Value& id) {
    if (const auto* text = id.string()) return *text;
    if (id.isInteger()) return std::to_string(id.integerValue());
    if (id.isReal()) return std::to_string(static_cast<int64_t>(id.doubleValue()));
    return std::string();
}

Value withoutAbsentValues(const Value& value) {
    if (const auto* array = value.array()) {
        Value::Array out;
        out.reserve(array->size());
        for (const auto& element : *array) out.push_back(withoutAbsentValues(element));
        return Value(std::move(out));
    }
    if (const auto* dictionary = value.dictionary()) {
        Value::Dictionary out;
        for (const auto& [key, element] : *dictionary)
            if (!element.isAbsent()) out.emplace(key, withoutAbsentValues(element));
        return Value(std::move(out));
    }
    return value;
}

std::string contentTypeForPath(const std::string& path) {
    auto ends = [&](const char* suffix) {
        std::string s(suffix);
        return path.size() >= s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
    };
    if (ends(".svg")) return "image/svg+xml";
    if (ends(".pdf")) return "application/pdf";
    if (ends(".rss")) return "application/rss+xml";
    if (ends(".json")) return "application/json";
    if (ends(".png")) return "image/png";
    if (ends(".jpg") || ends(".jpeg")) return "image/jpeg";
    if (ends(".txt")) return "text/plain";
    return "application/octet-stream";
}

const Value::Array& MeetingData::items(MeetingKind kind) const {
    auto it = lists.find(kind);
    return it == lists.end() ? kNoItems : it->second;
}

Value* MeetingData::find(MeetingKind kind, const std::string& id) {
    for (auto& item : lists[kind])
        if (idText(std::as_const(item)["id"]) == id) return &item;
    return nullptr;
}

const Value* MeetingData::find(MeetingKind kind, const std::string& id) const {
    for (const auto& item : items(kind))
        if (idText(item["id"]) == id) return &item;
    return nullptr;
}

void MeetingData::put(MeetingKind kind, Value item) {
    std::string id = idText(std::as_const(item)["id"]);
    if (!id.empty()) {
        if (Value* existing = find(kind, id)) {
            *existing = std::move(item);
            return;
        }
    }
    lists[kind].push_back(std::move(item));
}

bool MeetingData::remove(MeetingKind kind, const std::string& id) {
    auto& list = lists[kind];
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (idText(std::as_const(*it)["id"]) == id) {
            list.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<MeetingData> MeetingData::loadFixtures(const std::string& directory, std::string* error) {
    fs::path root(directory);
    if (!fs::is_directory(root)) {
        fail(error, "not a directory: " + directory);
        return std::nullopt;
    }
    MeetingData data;
    auto readJSON = [&](const std::string& name, Value& out) -> bool {
        std::string text;
        if (!readFile(root / name, text)) return true;  // missing: left empty
        foundation::ErrorPtr parseError;
        out = JSONSerialization::JSONObjectWithString(text, JSONSerialization::ReadingDefault, &parseError);
        if (out.isAbsent()) {
            fail(error, name + " is not valid JSON");
            return false;
        }
        return true;
    };
    Value meeting;
    if (!readJSON("meeting.json", meeting)) return std::nullopt;
    if (const auto* id = meeting["eventId"].string()) data.eventId = *id;
    for (MeetingKind kind : allMeetingKinds()) {
        Value list;
        std::string name = std::string(fixtureName(kind)) + ".json";
        if (!readJSON(name, list)) return std::nullopt;
        if (list.isAbsent()) continue;
        if (!list.isArray()) {
            fail(error, name + " must hold a JSON array");
            return std::nullopt;
        }
        data.lists[kind] = *list.array();
    }
    if (data.eventId.empty() && !data.items(MeetingKind::Events).empty())
        data.eventId = idText(data.items(MeetingKind::Events).front()["id"]);
    if (data.eventId.empty()) {
        fail(error, "no meeting: meeting.json has no \"eventId\" and events.json is empty");
        return std::nullopt;
    }
    Value accounts;
    if (!readJSON("accounts.json", accounts)) return std::nullopt;
    if (const auto* list = accounts.array()) {
        for (const auto& entry : *list) {
            MeetingAccount account;
            account.username = entry["username"].stringValue();
            account.password = entry["password"].stringValue();
            account.passcode = entry["passcode"].stringValue();
            account.accessToken = entry["accessToken"].stringValue();
            account.user = entry["user"];
            if (account.accessToken.empty()) {
                fail(error, "accounts.json: an account without \"accessToken\"");
                return std::nullopt;
            }
            data.accounts.push_back(std::move(account));
        }
    }
    if (!readJSON("privacy_settings.json", data.privacySettings)) return std::nullopt;
    fs::path served = root / "served";
    std::error_code ec;
    if (fs::is_directory(served)) {
        for (auto it = fs::recursive_directory_iterator(served, ec); it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (ec) break;
            if (!it->is_regular_file()) continue;
            std::string path = "/" + fs::relative(it->path(), served).generic_string();
            MeetingFile file;
            file.contentType = contentTypeForPath(path);
            readFile(it->path(), file.body);
            data.files[path] = std::move(file);
        }
    }
    return data;
}

bool MeetingData::writeFixtures(const std::string& directory, std::string* error) const {
    fs::path root(directory);
    bool ok = writeFile(root / "meeting.json", pretty(Value::dictionary({{"eventId", eventId}})));
    for (MeetingKind kind : allMeetingKinds())
        ok = ok && writeFile(root / (std::string(fixtureName(kind)) + ".json"), pretty(Value(items(kind))));
    Value::Array accountList;
    for (const auto& account : accounts) {
        accountList.push_back(Value::dictionary({{"username", account.username},
                                                 {"password", account.password},
                                                 {"passcode", account.passcode},
                                                 {"accessToken", account.accessToken},
                                                 {"user", account.user}}));
    }
    ok = ok && writeFile(root / "accounts.json", pretty(Value(accountList)));
    if (!privacySettings.isAbsent()) ok = ok && writeFile(root / "privacy_settings.json", pretty(privacySettings));
    for (const auto& [path, file] : files) {
        if (path.find("..") != std::string::npos) continue;  // never outside the directory
        ok = ok && writeFile(root / "served" / path.substr(path.find_first_not_of('/')), file.body);
    }
    if (!ok) fail(error, "could not write the fixtures to " + directory);
    return ok;
}

}  // namespace testservice

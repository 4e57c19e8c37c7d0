// One meeting as the local meeting service holds it: the JSON objects of each
// list kind in service order, the accounts that may log in, the user's privacy
// settings and the files served beside the API (document files, floor-plan
// maps, the reports feed). Everything is plain JSON values, so a fixture
// directory of JSON files describes a meeting completely.
// Absolute addresses inside the values (document and map links, the feed
// address) are written with the placeholder kRootPlaceholder in place of the
// server's "scheme://host:port"; the service fills it in when it answers, so
// fixtures do not depend on the port a test happens to get.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"

namespace testservice {

inline constexpr const char* kRootPlaceholder = "{{root}}";

// The lists of the service. Per-meeting kinds live under "events/<id>/...";
// the others belong to the account.
enum class MeetingKind {
    Events,
    Sessions,
    Participants,
    Organizations,
    Partners,
    Venues,
    Rooms,
    MeetingDelegates,
    LoginDelegators,
    Permissions,
    Notifications,
    ParticipantNotes,
    SessionNotes,
    Documents,
    Following,
    AgendaSelections,
    AgendaResponsibilities,
    AgendaInvitations,
    PersonalEntries,
    Messages,
    MessageRecipients,
};

// Every kind, in the order above.
const std::vector<MeetingKind>& allMeetingKinds();
// The fixture file stem ("sessions" for sessions.json).
const char* fixtureName(MeetingKind kind);
// The list path below ".../api/v1/", with the meeting id filled in
// ("events/E1/sessions/official", "messages/recipients").
std::string listPath(MeetingKind kind, const std::string& eventId);
// True for the kinds whose path has the meeting id in it.
bool isPerMeeting(MeetingKind kind);

struct MeetingAccount {
    std::string username;
    std::string password;
    std::string passcode;
    std::string accessToken;
    // The "user" object of the login answer (id, email, firstName, ...).
    foundation::Value user;
};

struct MeetingFile {
    std::string contentType;
    std::string body;
};

struct MeetingData {
    // The meeting every per-meeting list serves; "events/current" answers it.
    std::string eventId;
    std::map<MeetingKind, foundation::Value::Array> lists;
    std::vector<MeetingAccount> accounts;
    foundation::Value privacySettings;
    // By path below the server's root ("/files/maps/E1/level-0.svg").
    std::map<std::string, MeetingFile> files;

    foundation::Value::Array& items(MeetingKind kind) { return lists[kind]; }
    const foundation::Value::Array& items(MeetingKind kind) const;
    // The item whose "id" reads as `id` (numbers by their decimal text).
    foundation::Value* find(MeetingKind kind, const std::string& id);
    const foundation::Value* find(MeetingKind kind, const std::string& id) const;
    // Replaces the item with the same id, or appends it.
    void put(MeetingKind kind, foundation::Value item);
    bool remove(MeetingKind kind, const std::string& id);

    // A directory of "<fixtureName>.json" arrays, "accounts.json",
    // "privacy_settings.json", "meeting.json" ({"eventId": ...}) and the
    // served files below "served/" by their path ("served/files/maps/...";
    // content types come from the extension). Missing lists are empty.
    static std::optional<MeetingData> loadFixtures(const std::string& directory, std::string* error = nullptr);
    bool writeFixtures(const std::string& directory, std::string* error = nullptr) const;
};

// The text of an "id" value: a string as is, an integer in decimal.
std::string idText(const foundation::Value& id);
// The value with every dictionary key that holds nothing (absent) left out,
// at any depth: JSON has no "absent".
foundation::Value withoutAbsentValues(const foundation::Value& value);
// The content type the service gives a served file, from its extension.
std::string contentTypeForPath(const std::string& path);

}  // namespace testservice

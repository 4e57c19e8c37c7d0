#include "quovana/LocalServiceStateCheck.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "service/MeetingGenerator.h"

namespace quovana {

namespace {

using foundation::Value;
using testservice::MeetingKind;

// What a part of the state holds.
enum class KeptPart {
    Text,
    Flag,
    // A non-empty text or a whole number, as the service spells its ids.
    Id,
    // A whole number the app can hold as a message's id.
    MessageId,
    // A whole number from 0 up (a revision).
    Count,
    // A whole number from 1 up (a thread).
    Positive,
    Object,
    // A list of objects.
    Objects,
    // A session an agenda entry is about: an object with an id.
    Session,
};

struct KeptField {
    const char* name;
    KeptPart part;
    bool required = false;
};

constexpr long long kLargestMessageId = INT32_MAX;

// The fields of an item of a list the user changes that the service reads,
// writes or relays with a type the app relies on; any other field is the
// item's own and passes as it is.
const std::vector<KeptField>& keptFieldsOf(MeetingKind kind) {
    static const std::vector<KeptField> agenda = {{"id", KeptPart::Id, true},     {"revision", KeptPart::Count},
                                                  {"status", KeptPart::Text},     {"withSpouse", KeptPart::Flag},
                                                  {"session", KeptPart::Session}, {"delegatedTo", KeptPart::Text}};
    static const std::map<MeetingKind, std::vector<KeptField>> fields = {
        {MeetingKind::AgendaSelections, agenda},
        {MeetingKind::AgendaInvitations, agenda},
        {MeetingKind::PersonalEntries,
         {{"id", KeptPart::Id, true},
          {"revision", KeptPart::Count},
          {"status", KeptPart::Text},
          {"subject", KeptPart::Text},
          {"body", KeptPart::Text},
          {"startDatetime", KeptPart::Text},
          {"endDatetime", KeptPart::Text}}},
        {MeetingKind::Following,
         {{"id", KeptPart::Id, true},
          {"revision", KeptPart::Count},
          {"firstName", KeptPart::Text},
          {"lastName", KeptPart::Text},
          {"fullName", KeptPart::Text}}},
        {MeetingKind::Messages,
         {{"id", KeptPart::MessageId, true},
          {"threadId", KeptPart::Positive},
          {"subject", KeptPart::Text},
          {"body", KeptPart::Text},
          {"read", KeptPart::Flag},
          {"sendDatetime", KeptPart::Text},
          {"participantId", KeptPart::Id},
          {"folderName", KeptPart::Text},
          {"from", KeptPart::Object},
          {"to", KeptPart::Objects}}},
        {MeetingKind::SessionNotes,
         {{"id", KeptPart::Id, true},
          {"revision", KeptPart::Count},
          {"sessionId", KeptPart::Id, true},
          {"note", KeptPart::Text}}},
        {MeetingKind::ParticipantNotes,
         {{"id", KeptPart::Id, true},
          {"revision", KeptPart::Count},
          {"participantId", KeptPart::Id, true},
          {"note", KeptPart::Text}}},
    };
    // An item the organiser changed is put back by its id, at its revision.
    static const std::vector<KeptField> organisers = {{"id", KeptPart::Id, true}, {"revision", KeptPart::Count}};
    const auto found = fields.find(kind);
    return found == fields.end() ? organisers : found->second;
}

std::string statePartName(const std::string& name) { return "\"" + name + "\""; }

// Walks the state and keeps the first part found wrong.
class LocalServiceStateCheck {
public:
    std::string problem;

    bool state(const Value& saved) {
        const auto* top = saved.dictionary();
        if (!top) return wrong("", "is no JSON object");
        static const std::set<std::string> known = {"port",  "eventId",      "sessions",         "participants",
                                                    "lists", "answeredKeys", "organiserChanges", "privacySettings"};
        if (!onlyKnownNames("", *top, known)) return false;
        using testservice::kMaxGeneratedParticipants;
        using testservice::kMaxGeneratedSessions;
        using testservice::kMinGeneratedParticipants;
        if (!required("", *top, "port") || !number("\"port\"", saved["port"], 1, 65535)) return false;
        if (!required("", *top, "eventId") || !id("\"eventId\"", saved["eventId"], false)) return false;
        if (top->count("sessions") != top->count("participants"))
            return wrong(top->count("sessions") ? "\"participants\"" : "\"sessions\"",
                         "is missing beside the other half of the meeting's size");
        if (top->count("sessions") &&
            (!number("\"sessions\"", saved["sessions"], 1, kMaxGeneratedSessions) ||
             !number("\"participants\"", saved["participants"], kMinGeneratedParticipants, kMaxGeneratedParticipants)))
            return false;
        if (!required("", *top, "lists") || !userLists(saved["lists"])) return false;
        if (top->count("answeredKeys") && !answeredKeys(saved["answeredKeys"])) return false;
        if (top->count("organiserChanges") && !organiserChanges(saved["organiserChanges"])) return false;
        return !top->count("privacySettings") || privacySettings(saved["privacySettings"]);
    }

private:
    bool wrong(const std::string& where, const std::string& what) {
        if (problem.empty()) problem = where.empty() ? "it " + what : "its " + where + " " + what;
        return false;
    }

    bool required(const std::string& where, const Value::Dictionary& object, const char* name) {
        if (object.count(name)) return true;
        return wrong(where.empty() ? statePartName(name) : where + "." + statePartName(name), "is missing");
    }

    bool onlyKnownNames(const std::string& where, const Value::Dictionary& object, const std::set<std::string>& known) {
        for (const auto& [name, value] : object)
            if (!known.count(name))
                return wrong(where.empty() ? statePartName(name) : where + "." + statePartName(name),
                             "is no part of the state");
        return true;
    }

    bool number(const std::string& where, const Value& value, long long lowest, long long highest) {
        const std::string range = highest == INT64_MAX ? "one of at least " + std::to_string(lowest)
                                                       : "one from " + std::to_string(lowest) + " to " +
                                                             std::to_string(highest);
        if (!value.isInteger()) return wrong(where, "is no whole number, not " + range);
        if (value.integerValue() < lowest || value.integerValue() > highest)
            return wrong(where, "is " + std::to_string(value.integerValue()) + ", not " + range);
        return true;
    }

    bool text(const std::string& where, const Value& value) {
        return value.isString() || wrong(where, "is no text");
    }

    // Sent again as a header's value: a line break in it would end the
    // header and begin another.
    bool headerValue(const std::string& where, const Value& value) {
        if (!text(where, value)) return false;
        for (unsigned char c : *value.string())
            if ((c < 0x20 && c != '\t') || c == 0x7f) return wrong(where, "holds a control character");
        return true;
    }

    bool id(const std::string& where, const Value& value, bool numberToo) {
        if (value.isString() && !value.string()->empty()) return true;
        if (numberToo && value.isInteger()) return true;
        return wrong(where, numberToo ? "is no id (a text or a whole number)" : "is no text, or an empty one");
    }

    bool object(const std::string& where, const Value& value) {
        return value.isDictionary() || wrong(where, "is no object");
    }

    bool objects(const std::string& where, const Value& value) {
        const auto* items = value.array();
        if (!items) return wrong(where, "is no list");
        for (size_t i = 0; i < items->size(); ++i)
            if (!object(where + "[" + std::to_string(i) + "]", (*items)[i])) return false;
        return true;
    }

    bool field(const std::string& where, const Value& value, KeptPart part) {
        switch (part) {
            case KeptPart::Text: return text(where, value);
            case KeptPart::Flag: return value.isBool() || wrong(where, "is neither true nor false");
            case KeptPart::Id: return id(where, value, true);
            case KeptPart::MessageId: return number(where, value, 1, kLargestMessageId);
            case KeptPart::Count: return number(where, value, 0, INT64_MAX);
            case KeptPart::Positive: return number(where, value, 1, INT64_MAX);
            case KeptPart::Object: return object(where, value);
            case KeptPart::Objects: return objects(where, value);
            case KeptPart::Session:
                return object(where, value) && required(where, *value.dictionary(), "id") &&
                       id(where + ".\"id\"", value["id"], true);
        }
        return true;
    }

    // A list of items of one kind, each of its shape, no two of one id: the
    // service keeps its items by id, so a second one would take the first's
    // place and the next save would leave the first out.
    bool items(const std::string& where, const Value& value, MeetingKind kind) {
        if (!objects(where, value)) return false;
        const auto& list = *value.array();
        std::map<std::string, size_t> firstWithId;
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string at = where + "[" + std::to_string(i) + "]";
            const auto& item = *list[i].dictionary();
            for (const auto& kept : keptFieldsOf(kind)) {
                if (item.count(kept.name)) {
                    if (!field(at + "." + statePartName(kept.name), list[i][kept.name], kept.part)) return false;
                } else if (kept.required) {
                    return required(at, item, kept.name);
                }
            }
            const auto [earlier, first] = firstWithId.emplace(testservice::idText(list[i]["id"]), i);
            if (!first)
                return wrong(at + ".\"id\"", "is the id of " + where + "[" + std::to_string(earlier->second) +
                                                   "] again");
        }
        return true;
    }

    // Lists by their fixture names, of the kinds in `kinds` only.
    bool lists(const std::string& where, const Value& value, const std::vector<MeetingKind>& kinds) {
        if (!object(where, value)) return false;
        std::map<std::string, MeetingKind> named;
        for (auto kind : kinds) named.emplace(testservice::fixtureName(kind), kind);
        for (const auto& [name, list] : *value.dictionary()) {
            const std::string at = where + "." + statePartName(name);
            const auto kind = named.find(name);
            if (kind == named.end()) return wrong(at, "is no list the state keeps");
            if (!items(at, list, kind->second)) return false;
        }
        return true;
    }

    bool userLists(const Value& value) { return lists("\"lists\"", value, userChangedKinds()); }

    bool organiserChanges(const Value& value) {
        return lists("\"organiserChanges\"", value, testservice::allMeetingKinds());
    }

    // What the service answered a keyed write: replayed as it is, so a
    // status line a client can read and every part as the writer wrote it.
    bool answeredKeys(const Value& value) {
        if (!objects("\"answeredKeys\"", value)) return false;
        const auto& answers = *value.array();
        static const std::set<std::string> known = {"token", "key", "status", "contentType", "body"};
        for (size_t i = 0; i < answers.size(); ++i) {
            const std::string at = "\"answeredKeys\"[" + std::to_string(i) + "]";
            const Value& answer = answers[i];
            const auto& parts = *answer.dictionary();
            if (!onlyKnownNames(at, parts, known)) return false;
            for (const char* name : {"token", "key", "status", "contentType", "body"})
                if (!required(at, parts, name)) return false;
            // A login or a reset may carry a key without a token.
            if (!text(at + ".\"token\"", answer["token"]) || !text(at + ".\"key\"", answer["key"]) ||
                !number(at + ".\"status\"", answer["status"], 100, 599) ||
                !headerValue(at + ".\"contentType\"", answer["contentType"]) ||
                !text(at + ".\"body\"", answer["body"]))
                return false;
        }
        return true;
    }

    bool privacySettings(const Value& value) {
        if (!object("\"privacySettings\"", value)) return false;
        static const std::set<std::string> known = {"primaryEmailVisible", "phoneVisible", "mobilePhoneVisible",
                                                    "nationalityVisible"};
        if (!onlyKnownNames("\"privacySettings\"", *value.dictionary(), known)) return false;
        // The service keeps all four, as it answers them.
        for (const auto& name : known)
            if (!required("\"privacySettings\"", *value.dictionary(), name.c_str())) return false;
        for (const auto& [name, setting] : *value.dictionary())
            if (!setting.isBool())
                return wrong("\"privacySettings\"." + statePartName(name), "is neither true nor false");
        return true;
    }
};

}  // namespace

const std::vector<MeetingKind>& userChangedKinds() {
    static const std::vector<MeetingKind> kinds = {MeetingKind::AgendaSelections, MeetingKind::PersonalEntries,
                                                   MeetingKind::AgendaInvitations, MeetingKind::Following,
                                                   MeetingKind::Messages, MeetingKind::SessionNotes,
                                                   MeetingKind::ParticipantNotes};
    return kinds;
}

std::string wrongInLocalServiceState(const Value& saved) {
    LocalServiceStateCheck check;
    check.state(saved);
    return check.problem;
}

}  // namespace quovana

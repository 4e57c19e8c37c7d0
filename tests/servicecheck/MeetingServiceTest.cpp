// The local meeting service as a client of the service sees it: paging by
// "Link", the revision and id reads, the token check, injected faults and
// writes; the generator's determinism and date forms; and every kind it
// serves read back through the app's own models.
#include <cctype>
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <thread>

#include "foundation/CivilDate.h"
#include "foundation/Clock.h"
#include "foundation/JSONSerialization.h"
#include "graphics/ImageDecoder.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVAEvent.h"
#include "model/QVAFloorLevel.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAImapsLinksModel.h"
#include "model/QVAInformationDocument.h"
#include "model/QVALoginDelegator.h"
#include "model/QVAMeetingDelegate.h"
#include "model/QVAMessage.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAMessageResult.h"
#include "model/QVANotification.h"
#include "model/QVAOrganization.h"
#include "model/QVAParticipant.h"
#include "model/QVAParticipantNote.h"
#include "model/QVAPartner.h"
#include "model/QVAPermission.h"
#include "model/QVAPrivacySettings.h"
#include "model/QVARecommendedSession.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"
#include "model/QVASessionNote.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVASessionStatusMessage.h"
#include "model/QVAUserAccount.h"
#include "model/QVAVenue.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "service/TestCertificateAuthority.h"
#include "support/TemporaryDirectory.h"

using foundation::JSONSerialization;
using foundation::Value;
using namespace testservice;

namespace {

struct Response {
    long status = 0;
    std::map<std::string, std::string> headers;  // lower-case names
    std::string body;
    Value json() const { return JSONSerialization::JSONObjectWithString(body); }
};

size_t collectBody(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

size_t collectHeader(char* data, size_t size, size_t count, void* out) {
    std::string line(data, size * count);
    size_t colon = line.find(':');
    if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of("\r\n") + 1);
        (*static_cast<std::map<std::string, std::string>*>(out))[name] = value;
    }
    return size * count;
}

Response fetch(const std::string& url, const std::string& token = "", const std::string& method = "GET",
               const std::string& body = "", const std::string& caFile = "") {
    Response response;
    CURL* curl = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
    if (!token.empty()) headers = curl_slist_append(headers, ("Authorization: Bearer " + token).c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    if (!body.empty()) curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response.headers);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
    if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return response;
}

// The next-page address of a "Link" header, or "" on the last page.
std::string nextLink(const Response& response) {
    auto it = response.headers.find("link");
    if (it == response.headers.end()) return "";
    const std::string& link = it->second;
    return link.substr(1, link.find('>') - 1);
}

class MeetingServiceTest : public ::testing::Test {
protected:
    MeetingServiceTest() : service(generateMeeting({.seed = 7, .sessions = 24, .participants = 60, .days = 3})) {}
    void SetUp() override { ASSERT_TRUE(service.start()); }

    std::string api(const std::string& path) const { return service.rootURL() + "/v1/" + path; }
    std::string event(const std::string& path) const { return api("events/" + service.eventId() + "/" + path); }
    Response get(const std::string& url) const { return fetch(url, service.demoToken()); }

    // Every page from `url` on; the pages' addresses are returned too.
    Value::Array walk(std::string url, std::vector<std::string>* pages = nullptr) const {
        Value::Array all;
        std::set<std::string> seen;
        while (!url.empty() && seen.insert(url).second) {
            if (pages) pages->push_back(url);
            Response page = get(url);
            EXPECT_EQ(page.status, 200) << url;
            Value body = page.json();
            if (const auto* items = body.array()) all.insert(all.end(), items->begin(), items->end());
            url = nextLink(page);
        }
        return all;
    }

    MeetingService service;
};

std::vector<std::string> idsOf(const Value::Array& items) {
    std::vector<std::string> out;
    for (const auto& item : items) out.push_back(idText(item["id"]));
    return out;
}

TEST_F(MeetingServiceTest, ListsArePagedByAbsoluteNextLinksUntilTheLastPage) {
    service.setPageSize(10);
    std::vector<std::string> pages;
    Value::Array sessions = walk(event("sessions/official"), &pages);
    ASSERT_EQ(pages.size(), 3u);  // 10 + 10 + 4
    EXPECT_EQ(idsOf(sessions), idsOf(service.items(MeetingKind::Sessions)));
    EXPECT_EQ(pages[1].rfind(service.baseURL() + "/api/v1/", 0), 0u) << pages[1];
    EXPECT_EQ(nextLink(get(pages[2])), "");
    EXPECT_EQ(get(pages[0]).headers["link"], "<" + pages[1] + ">; rel=\"next\"");

    // The query of the first page goes along to the next ones.
    std::vector<std::string> deltaPages;
    Value::Array revisions = walk(event("sessions/official?fields=id,revision"), &deltaPages);
    ASSERT_EQ(deltaPages.size(), 3u);
    EXPECT_NE(deltaPages[2].find("fields=id,revision"), std::string::npos);
    EXPECT_EQ(revisions.size(), 24u);

    // A page past the end is empty, not an error.
    Response beyond = get(event("sessions/official?page=9"));
    EXPECT_EQ(beyond.status, 200);
    EXPECT_EQ(beyond.body, "[]");
}

// A process that downloads again and again, clearing the log between runs,
// holds no record of the earlier runs' requests.
TEST_F(MeetingServiceTest, ClearingTheRequestLogDropsTheServersRecordToo) {
    walk(event("rooms"));
    ASSERT_GT(service.server().requestCount(), 0u);
    service.clearRequestLog();
    EXPECT_TRUE(service.requestLog().empty());
    EXPECT_EQ(service.server().requestCount(), 0u);
    walk(event("rooms"));
    EXPECT_EQ(service.server().requestCount(), service.requestLog().size());
}

TEST_F(MeetingServiceTest, RevisionAndIdReadsFollowChangesToTheMeeting) {
    service.setPageSize(100);
    Value listedValue = get(event("participants?fields=id,revision")).json();
    ASSERT_TRUE(listedValue.isArray());
    Value::Array listed = *listedValue.array();
    ASSERT_EQ(listed.size(), 60u);
    for (const auto& item : listed) {
        ASSERT_EQ(item.dictionary()->size(), 2u) << item.description();
        EXPECT_TRUE(item["revision"].isInteger());
    }

    std::string first = idText(listed[0]["id"]), third = idText(listed[2]["id"]);
    int64_t revision = listed[0]["revision"].integerValue();
    EXPECT_EQ(service.bumpRevision(MeetingKind::Participants, first), revision + 1);
    ASSERT_TRUE(service.removeItem(MeetingKind::Participants, third));

    Value::Array fetched = *get(event("participants?ids=" + first + "," + third + ",nobody")).json().array();
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(idText(fetched[0]["id"]), first);
    EXPECT_EQ(fetched[0]["revision"].integerValue(), revision + 1);
    EXPECT_FALSE(fetched[0]["fullName"].isNothing());  // ids= gives whole items
    EXPECT_EQ(get(event("participants?fields=id,revision")).json().count(), 59u);

    // Agenda entries are listed and fetched by their own ids.
    Value::Array selections = *get(event("my_agenda/selections?fields=id,revision")).json().array();
    ASSERT_FALSE(selections.empty());
    std::string selection = idText(selections[0]["id"]);
    Value one = get(event("my_agenda/selections?ids=" + selection)).json();
    ASSERT_EQ(one.count(), 1u);
    EXPECT_TRUE(one.at(0)["session"].isDictionary());
}

// The revision listings asked again and again: every change to the meeting,
// the page size and injected faults show in the very next answer.
TEST_F(MeetingServiceTest, RepeatedListingsSeeEveryChangeAtOnce) {
    service.setPageSize(100);
    const std::string listing = event("participants?fields=id,revision");
    auto revisionOf = [&](const std::string& id) {
        const Value listed = get(listing).json();
        for (const auto& item : *listed.array())
            if (idText(item["id"]) == id) return item["revision"].integerValue();
        return int64_t{-1};
    };
    const std::string first = idText(service.items(MeetingKind::Participants)[0]["id"]);
    const int64_t revision = revisionOf(first);
    EXPECT_EQ(get(listing).body, get(listing).body);
    service.bumpRevision(MeetingKind::Participants, first);
    EXPECT_EQ(revisionOf(first), revision + 1);
    service.setRevision(MeetingKind::Participants, first, revision + 7);
    EXPECT_EQ(revisionOf(first), revision + 7);
    service.mutate([&](MeetingData& data) { data.remove(MeetingKind::Participants, first); });
    EXPECT_EQ(revisionOf(first), -1);
    EXPECT_EQ(get(listing).json().count(), 59u);

    service.setPageSize(50);
    Response paged = get(listing);
    EXPECT_EQ(paged.json().count(), 50u);
    EXPECT_NE(nextLink(paged), "");

    service.injectFault("GET", "/api/v1/events/" + service.eventId() + "/participants", {.status = 500, .times = 1});
    EXPECT_EQ(get(listing).status, 500);
    EXPECT_EQ(get(listing).body, paged.body);

    // A write through the service itself.
    const std::string selections = event("my_agenda/selections?fields=id,revision");
    const size_t before = get(selections).json().count();
    std::set<std::string> selected;
    for (const auto& entry : service.items(MeetingKind::AgendaSelections))
        selected.insert(idText(entry["session"].isDictionary() ? entry["session"]["id"] : entry["id"]));
    std::string session;
    for (const auto& item : service.items(MeetingKind::Sessions))
        if (!selected.count(idText(item["id"]))) session = idText(item["id"]);
    ASSERT_FALSE(session.empty());
    ASSERT_EQ(fetch(event("my_agenda/selections"), service.demoToken(), "POST", R"({"session_id":")" + session + R"("})")
                  .status,
              200);
    EXPECT_EQ(get(selections).json().count(), before + 1);
}

// A listing that keeps some fields writes the same JSON as the reduced
// items themselves would, whatever the values hold.
TEST_F(MeetingServiceTest, FieldListingsWriteWhatTheReducedItemsWouldWrite) {
    service.setPageSize(4);
    service.putItem(MeetingKind::Rooms, Value::dictionary({{"id", "q\"uo\\te"}, {"revision", 1.5}, {"name", "A"}}));
    service.putItem(MeetingKind::Rooms, Value::dictionary({{"id", "Zürich\tRoom"}, {"revision", "7"}, {"name", "B"}}));
    service.putItem(MeetingKind::Rooms, Value::dictionary({{"id", 42}, {"name", "No revision"}}));
    service.putItem(MeetingKind::Rooms,
                    Value::dictionary({{"id", "nested"}, {"revision", Value::dictionary({{"n", Value::null()}})},
                                       {"name", true}}));
    const std::vector<std::string> queries = {"fields=id,revision", "fields=revision,id,id", "fields=name,missing",
                                              "fields="};
    for (const auto& query : queries) {
        const std::string fieldList = query.substr(std::string("fields=").size());
        std::vector<std::string> fields;
        for (size_t start = 0;;) {
            size_t comma = fieldList.find(',', start);
            fields.push_back(fieldList.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        Value::Array all = service.items(MeetingKind::Rooms);
        std::vector<std::string> pages;
        walk(event("rooms?" + query), &pages);
        ASSERT_EQ(pages.size(), (all.size() + 3) / 4) << query;
        for (size_t page = 0; page < pages.size(); ++page) {
            Value::Array expected;
            for (size_t i = page * 4; i < std::min(all.size(), page * 4 + 4); ++i) {
                Value::Dictionary kept;
                for (const auto& field : fields)
                    if (!all[i][field].isAbsent()) kept[field] = all[i][field];
                expected.emplace_back(std::move(kept));
            }
            EXPECT_EQ(get(pages[page]).body, JSONSerialization::stringWithJSONObject(Value(expected)).value_or("?"))
                << query << " page " << page;
        }
    }
}

TEST_F(MeetingServiceTest, RefusesRequestsWithoutAValidTokenAndUnknownMeetings) {
    Response anonymous = fetch(api("events/current"));
    EXPECT_EQ(anonymous.status, 401);
    EXPECT_FALSE(anonymous.json()["error"].isNothing());
    EXPECT_EQ(fetch(api("events/current"), "forged").status, 401);

    Response missing = get(api("events/no-such-meeting"));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.json()["error"].stringValue(), "Event not found");
    EXPECT_EQ(get(api("events/no-such-meeting/rooms")).status, 404);

    // Login: the password as the app sends it (backslashes doubled) or plain.
    service.mutate([](MeetingData& data) { data.accounts.front().password = "a\\b"; });
    Response login = fetch(api("authentication/login"), "", "POST",
                           R"({"login_type":"password","username":"demo","password":"a\\\\b"})");
    ASSERT_EQ(login.status, 200) << login.body;
    auto account = QVAUserAccount::initWithDictionary(login.json());
    ASSERT_TRUE(account);
    EXPECT_EQ(account->authenticationCode(), service.demoToken());
    EXPECT_EQ(account->itemId(), std::optional<std::string>("100001"));
    Response wrong = fetch(api("authentication/login"), "", "POST",
                           R"({"login_type":"password","username":"demo","password":"guess"})");
    EXPECT_EQ(wrong.status, 400);
    EXPECT_EQ(wrong.json()["error"].stringValue(), "Invalid username or password");
    EXPECT_EQ(fetch(api("authentication/login"), "", "POST",
                    std::string(R"({"login_type":"passcoded","passcode":")") + kDemoPasscode + "\"}")
                  .status,
              200);

    // A revoked token is refused until the account logs in again.
    service.revokeToken(service.demoToken());
    EXPECT_EQ(get(api("events/current")).status, 401);
    fetch(api("authentication/login"), "", "POST", R"({"login_type":"passcoded","passcode":"246810"})");
    EXPECT_EQ(get(api("events/current")).status, 200);
}

TEST_F(MeetingServiceTest, InjectedFaultsAnswerInPlaceOfTheServiceAndCanLapse) {
    std::string rooms = "/api/v1/events/" + service.eventId() + "/rooms";
    service.injectFault("GET", rooms, {.status = 503, .body = R"({"error":"Maintenance"})", .times = 1});
    Response failed = get(service.urlFor(rooms));
    EXPECT_EQ(failed.status, 503);
    EXPECT_EQ(failed.json()["error"].stringValue(), "Maintenance");
    EXPECT_EQ(get(service.urlFor(rooms)).status, 200);  // lapsed after one answer

    // With a query in the path, only that query is hit.
    service.injectFault("*", rooms + "?page=2", {.status = 500});
    EXPECT_EQ(get(service.urlFor(rooms)).status, 200);
    EXPECT_EQ(get(service.urlFor(rooms + "?page=2")).status, 500);
    service.clearFaults();
    EXPECT_EQ(get(service.urlFor(rooms + "?page=2")).status, 200);

    // A stalled request is held until the service stops.
    service.injectFault("GET", "/feeds/" + service.eventId() + "/reports.rss", {.stall = true});
    Response stalled;
    std::thread client([&] { stalled = fetch(service.urlFor("/feeds/" + service.eventId() + "/reports.rss")); });
    ASSERT_TRUE(service.server().waitForRequestCount(service.server().requestCount() + 1, 10));
    service.stop();
    client.join();
    EXPECT_NE(stalled.status, 200);
    EXPECT_EQ(service.requestCount("GET", "/api/v1/events/" + service.eventId() + "/rooms"), 5u);
}

TEST_F(MeetingServiceTest, WritesChangeTheMeetingAndAreRecorded) {
    std::string token = service.demoToken();
    Response sent = fetch(api("messages"), token, "POST",
                          R"({"to":"100002,100003","subject":"Lunch","body":"Tomorrow?","threadId":"0"})");
    ASSERT_EQ(sent.status, 200);
    auto result = QVAMessageResult::initWithDictionary(sent.json());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->messageStatus(), std::optional<std::string>("Sent"));
    Value::Array messages = service.items(MeetingKind::Messages);
    EXPECT_EQ(messages.back()["subject"].stringValue(), "Lunch");
    EXPECT_EQ(messages.back()["to"].count(), 2u);

    int64_t unread = 0;
    for (const auto& message : messages)
        if (!message["read"].boolValue()) unread = message["id"].integerValue();
    ASSERT_NE(unread, 0);
    Response read = fetch(api("messages/" + std::to_string(unread)), token, "PATCH", R"({"read":"false"})");
    auto message = QVAMessage::initWithDictionary(read.json());
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->isRead());
    EXPECT_EQ(fetch(api("messages/" + std::to_string(unread)), token, "DELETE").status, 204);
    EXPECT_EQ(fetch(api("messages/" + std::to_string(unread)), token, "DELETE").status, 404);

    std::string session = idText(service.items(MeetingKind::Sessions)[3]["id"]);
    Response note = fetch(event("notes/sessions/" + session), token, "PUT", R"({"note":"Bring the report"})");
    auto saved = QVASessionNote::initWithDictionary(note.json());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->sessionId(), std::optional<std::string>(session));
    EXPECT_EQ(saved->note(), std::optional<std::string>("Bring the report"));

    auto writes = service.writes();
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_EQ(writes[0].method, "POST");
    EXPECT_EQ(writes[0].path, "/api/v1/messages");
    EXPECT_EQ(writes[0].body["to"].stringValue(), "100002,100003");
    EXPECT_EQ(writes[0].token, token);
}

// What a person reads as "now" in the demo: a message sent is dated by the
// process's clock (under a virtual one, the run's), the generated threads
// lie before the meeting, and last year's edition is no read-only meeting.
TEST_F(MeetingServiceTest, ASentMessageIsDatedNowAndEveryMeetingHasTheUsersPermissions) {
    const double wasNow = foundation::Clock::now();
    const bool wasVirtual = foundation::Clock::isVirtual();
    // 2026-06-15 09:05:30 in the meeting's zone.
    foundation::Clock::useVirtual(static_cast<double>(foundation::daysFromCivil(2026, 6, 15)) * 86400 + 7 * 3600 +
                                  5 * 60 + 30 - 978307200.0);
    Response sent = fetch(api("messages"), service.demoToken(), "POST",
                          R"({"to":"100002","subject":"Now","body":"Sent at nine","threadId":"0"})");
    if (wasVirtual) foundation::Clock::useVirtual(wasNow);
    else foundation::Clock::useReal();
    ASSERT_EQ(sent.status, 200);
    Value::Array messages = service.items(MeetingKind::Messages);
    EXPECT_EQ(messages.back()["sendDatetime"].stringValue(), "2026-06-15T09:05:30+02:00");
    for (size_t i = 0; i + 1 < messages.size(); ++i)
        EXPECT_LT(messages[i]["sendDatetime"].stringValue(), "2026-06-15") << messages[i]["id"].integerValue();

    const Value::Array events = service.items(MeetingKind::Events);
    ASSERT_EQ(events.size(), 2u);
    const Value::Array current = walk(event("my_profile/permissions"));
    ASSERT_FALSE(current.empty());
    for (const auto& meeting : events)
        EXPECT_EQ(walk(api("events/" + idText(meeting["id"]) + "/my_profile/permissions")), current)
            << idText(meeting["id"]);
    for (const auto& document : service.items(MeetingKind::Documents))
        EXPECT_FALSE(document["category"].stringValue().empty()) << document["title"].stringValue();
}

TEST(MeetingServiceTLSTest, ServesTheSameProtocolOverHTTPS) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    MeetingService::Options options;
    options.tls = TestServer::TLSFiles{authority.serverCertificateFile(), authority.serverKeyFile()};
    options.pageSize = 2;
    MeetingService service(generateMeeting({.seed = 2, .sessions = 5, .participants = 10}), options);
    ASSERT_TRUE(service.start());
    EXPECT_EQ(service.rootURL().rfind("https://127.0.0.1:", 0), 0u);
    Response page = fetch(service.rootURL() + "/v1/events/" + service.eventId() + "/rooms", service.demoToken(), "GET",
                          "", authority.caFile());
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(nextLink(page).rfind(service.baseURL() + "/api/v1/", 0), 0u);
}

TEST(MeetingGeneratorTest, SameSeedSameMeetingAndConsistentReferences) {
    MeetingData one = generateMeeting({.seed = 3, .sessions = 40, .participants = 90});
    MeetingData two = generateMeeting({.seed = 3, .sessions = 40, .participants = 90});
    MeetingData other = generateMeeting({.seed = 4, .sessions = 40, .participants = 90});
    auto text = [](const MeetingData& data) {
        std::string out;
        for (MeetingKind kind : allMeetingKinds())
            out += JSONSerialization::stringWithJSONObject(Value(data.items(kind))).value_or("?");
        for (const auto& [path, file] : data.files) out += path + file.body;
        return out;
    };
    EXPECT_EQ(text(one), text(two));
    EXPECT_NE(text(one), text(other));
    EXPECT_EQ(one.items(MeetingKind::Sessions).size(), 40u);
    EXPECT_EQ(one.items(MeetingKind::Participants).size(), 90u);

    // Contributors and contributions name each other; rooms exist.
    std::set<std::pair<std::string, std::string>> contributors, contributions;
    for (const auto& session : one.items(MeetingKind::Sessions)) {
        EXPECT_TRUE(one.find(MeetingKind::Rooms, session["roomId"].stringValue()));
        for (const auto& c : *session["contributors"].array())
            contributors.insert({c["participantId"].stringValue(), idText(session["id"])});
    }
    for (const auto& person : one.items(MeetingKind::Participants))
        for (const auto& c : *person["contributions"].array())
            contributions.insert({idText(person["id"]), c["sessionId"].stringValue()});
    EXPECT_EQ(contributors, contributions);
    EXPECT_FALSE(one.items(MeetingKind::AgendaResponsibilities).empty());

    // A fixture directory holds the same meeting.
    TemporaryDirectory directory;
    ASSERT_TRUE(one.writeFixtures(directory.path()));
    std::string error;
    auto loaded = MeetingData::loadFixtures(directory.path(), &error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(text(*loaded), text(one));
    EXPECT_EQ(loaded->eventId, one.eventId);
    EXPECT_EQ(loaded->accounts.front().accessToken, one.accounts.front().accessToken);
}

// The meeting's first and last days are plain days and every date-time
// carries its offset as "+02:00", the forms the service writes and the
// app's date helper compares with.
TEST(MeetingGeneratorTest, WritesDaysAndDateTimesInTheServicesForms) {
    MeetingData data = generateMeeting({.seed = 5, .sessions = 30, .participants = 40, .days = 3});
    const Value* event = data.find(MeetingKind::Events, data.eventId);
    ASSERT_TRUE(event);
    EXPECT_EQ((*event)["startDate"].stringValue(), "2026-06-15");
    EXPECT_EQ((*event)["endDate"].stringValue(), "2026-06-17");

    // "yyyy-MM-ddTHH:mm:ss" and whatever follows.
    auto isDateTime = [](const std::string& text) {
        if (text.size() < 19) return false;
        for (size_t i = 0; i < 19; ++i) {
            const char expected = i == 4 || i == 7 ? '-' : i == 10 ? 'T' : i == 13 || i == 16 ? ':' : '0';
            const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
            if (expected == '0' ? !digit : text[i] != expected) return false;
        }
        return true;
    };
    size_t dateTimes = 0;
    std::function<void(const Value&)> check = [&](const Value& value) {
        if (const std::string* text = value.string()) {
            if (!isDateTime(*text)) return;
            ++dateTimes;
            EXPECT_EQ(text->substr(19), "+02:00") << *text;
        } else if (const auto* array = value.array()) {
            for (const auto& item : *array) check(item);
        } else if (const auto* dictionary = value.dictionary()) {
            for (const auto& [key, item] : *dictionary) check(item);
        }
    };
    for (MeetingKind kind : allMeetingKinds()) check(Value(data.items(kind)));
    EXPECT_GT(dateTimes, 60u);  // every session's start and end at least
}

// Every list the service serves, read back through the app's models.
TEST_F(MeetingServiceTest, EveryKindReadsBackThroughTheAppsModels) {
    service.setPageSize(1000);
    auto all = [&](const std::string& url) { return *get(url).json().array(); };
    auto eachOf = [&](MeetingKind kind, auto parse) -> Value::Array {
        Value::Array items = all(api(listPath(kind, service.eventId())));
        EXPECT_FALSE(items.empty()) << fixtureName(kind);
        for (const auto& item : items) {
            EXPECT_TRUE(parse(item)) << fixtureName(kind) << " " << item.description();
        }
        return items;
    };
    auto idMatches = [](const Value& item, const auto& model) {
        EXPECT_EQ(model->itemId(), std::optional<std::string>(idText(item["id"])));
        EXPECT_EQ(model->revision(), std::optional<std::string>(std::to_string(item["revision"].integerValue())));
    };

    for (const auto& item : eachOf(MeetingKind::Events, QVAEvent::initWithDictionary)) idMatches(item, QVAEvent::initWithDictionary(item));
    auto current = QVAEvent::initWithDictionary(get(api("events/current")).json());
    ASSERT_TRUE(current && current->reportsRssFeedUrl());
    Response feed = fetch(*current->reportsRssFeedUrl());
    EXPECT_EQ(feed.headers["content-type"], "application/rss+xml");
    EXPECT_NE(feed.body.find("<media:content url=\"" + service.baseURL() + "/files/reports/"), std::string::npos);

    for (const auto& item : eachOf(MeetingKind::Sessions, QVASession::initWithDictionary)) {
        auto session = QVASession::initWithDictionary(item);
        idMatches(item, session);
        ASSERT_TRUE(session->contributors());
        EXPECT_EQ(std::count(session->contributors()->begin(), session->contributors()->end(), ';') + 1,
                  static_cast<long>(item["contributors"].count()));
    }
    for (const auto& item : eachOf(MeetingKind::Participants, QVAParticipant::initWithDictionary)) {
        auto person = QVAParticipant::initWithDictionary(item);
        idMatches(item, person);
        if (item["quovanaNetworks"].count() > 0) {
            EXPECT_NE(person->quovanaNetworks()->find("|1|"), std::string::npos);
        }
    }
    eachOf(MeetingKind::Organizations, QVAOrganization::initWithDictionary);
    eachOf(MeetingKind::Partners, QVAPartner::initWithDictionary);
    eachOf(MeetingKind::Rooms, QVARoom::initWithDictionary);
    for (const auto& item : eachOf(MeetingKind::Venues, QVAVenue::initWithDictionary)) {
        auto venue = QVAVenue::initWithDictionary(item);
        for (const auto& level : venue->floorLevels()) {
            ASSERT_EQ(level->interactiveMaps().size(), 1u);
            const auto& link = level->interactiveMaps().front();
            Response map = fetch(*link->hrefString());
            EXPECT_EQ(map.status, 200);
            EXPECT_NE(map.body.find("<svg"), std::string::npos);
            EXPECT_EQ(link->hrefString()->substr(link->hrefString()->rfind('/') + 1), *link->relString());
            EXPECT_FALSE(map.headers["etag"].empty());
        }
    }
    eachOf(MeetingKind::MeetingDelegates, QVAMeetingDelegate::initWithDictionary);
    eachOf(MeetingKind::LoginDelegators, QVALoginDelegator::initWithDictionary);
    for (const auto& item : eachOf(MeetingKind::Permissions, QVAPermission::initWithDictionary))
        EXPECT_TRUE(QVAPermission::initWithDictionary(item)->granted());
    eachOf(MeetingKind::Notifications, QVANotification::initWithDictionary);
    eachOf(MeetingKind::ParticipantNotes, QVAParticipantNote::initWithDictionary);
    eachOf(MeetingKind::SessionNotes, QVASessionNote::initWithDictionary);
    for (const auto& item : eachOf(MeetingKind::Documents, QVAInformationDocument::initWithDictionary)) {
        Response file = fetch(*QVAInformationDocument::initWithDictionary(item)->url());
        EXPECT_EQ(file.status, 200);
        EXPECT_EQ(file.body.rfind("%PDF", 0), 0u);
    }
    eachOf(MeetingKind::Following, QVAFollowedParticipant::initWithDictionary);
    for (const auto& item : eachOf(MeetingKind::AgendaSelections, QVAAgendaSelections::initWithDictionary)) {
        auto entry = QVAAgendaSelections::initWithDictionary(item);
        EXPECT_EQ(entry->agendaItemId(), std::optional<std::string>(idText(item["id"])));
        EXPECT_TRUE(entry->title());
    }
    eachOf(MeetingKind::AgendaResponsibilities, QVAAgendaResponsibilities::initWithDictionary);
    eachOf(MeetingKind::AgendaInvitations, QVAAgendaInvitation::initWithDictionary);
    for (const auto& item : eachOf(MeetingKind::PersonalEntries, QVAPersonalEntry::initWithDictionary))
        EXPECT_EQ(QVAPersonalEntry::initWithDictionary(item)->title(), std::optional<std::string>(item["subject"].stringValue()));
    for (const auto& item : eachOf(MeetingKind::Messages, QVAMessage::initWithDictionary)) {
        auto message = QVAMessage::initWithDictionary(item);
        EXPECT_GT(message->messageId(), 0);
        EXPECT_GT(message->threadId(), 0);
        EXPECT_EQ(message->from().count(), 1u);
    }
    eachOf(MeetingKind::MessageRecipients, QVAMessageRecipient::initWithDictionary);

    std::string session = idText(service.items(MeetingKind::Sessions)[0]["id"]);
    EXPECT_TRUE(QVAPrivacySettings::initWithDictionary(get(api("user/privacy_settings")).json()));
    auto status = QVASessionStatusMessage::initWithDictionary(get(event("sessions/" + session + "/status")).json());
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->shortMessage().empty());
    EXPECT_TRUE(QVASessionOccupancy::initWithDictionary(get(event("sessions/" + session + "/occupancy")).json()));
    for (const auto& item : all(event("sessions/" + session + "/recommended")))
        EXPECT_TRUE(QVARecommendedSession::initWithDictionary(item)->itemId());
    // A screen showing the user's agenda entry asks with the entry's id.
    const Value selection = service.items(MeetingKind::AgendaSelections).at(0);
    const std::string selected = idText(selection["session"]["id"]);
    EXPECT_EQ(all(event("sessions/" + idText(selection["id"]) + "/recommended")).size(),
              all(event("sessions/" + selected + "/recommended")).size());
    EXPECT_EQ(get(event("sessions/" + idText(selection["id"]) + "/status")).json()["actions"],
              Value(Value::Array{Value("remove_from_agenda")}));
}

}  // namespace

// The screens that load remote images get real pictures: a logo per partner,
// a photo for a share of the participants.
TEST_F(MeetingServiceTest, PartnersHaveLogosAndAShareOfParticipantsPhotos) {
    service.setPageSize(1000);
    Value::Array partners = *get(api(listPath(MeetingKind::Partners, service.eventId()))).json().array();
    ASSERT_FALSE(partners.empty());
    for (const auto& partner : partners) {
        std::string logo = partner["logoUrl"].stringValue();
        ASSERT_EQ(logo.rfind(service.baseURL() + "/files/logos/", 0), 0u) << logo;
    }
    Response logo = fetch(partners.front()["logoUrl"].stringValue());
    EXPECT_EQ(logo.headers["content-type"], "image/png");
    auto logoImage = graphics::ImageDecoder::decode(foundation::Data(logo.body.data(), logo.body.size()));
    ASSERT_TRUE(logoImage);
    EXPECT_EQ(logoImage->width, 120);

    Value::Array participants = *get(api(listPath(MeetingKind::Participants, service.eventId()))).json().array();
    std::set<std::string> photos;
    size_t withPhoto = 0;
    for (const auto& participant : participants) {
        if (!participant["photoUrl"].isString()) continue;
        ++withPhoto;
        photos.insert(participant["photoUrl"].stringValue());
    }
    EXPECT_GT(withPhoto, participants.size() / 4);
    EXPECT_LT(withPhoto, participants.size() / 2);
    ASSERT_FALSE(photos.empty());
    Response photo = fetch(*photos.begin());
    EXPECT_EQ(photo.headers["content-type"], "image/jpeg");
    auto photoImage = graphics::ImageDecoder::decodeJPEG(foundation::Data(photo.body.data(), photo.body.size()));
    ASSERT_TRUE(photoImage);
    EXPECT_EQ(photoImage->height, 96);
}

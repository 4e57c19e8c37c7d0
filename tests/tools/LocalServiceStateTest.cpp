// The app mode's bundled service keeps its state in the home as it takes a
// write, before it answers: the state file holds what the client was told
// was done the moment the answer arrives, with the run still going (a run
// killed then loses nothing), the answered idempotency keys with it. Reads
// and refused writes leave the file alone; a write that cannot be kept is
// answered with an error and undone. An unreadable state (a port or a size
// out of range too) is kept aside, not replaced, and the fresh service
// answers where the home's stores point; one that cannot be kept aside keeps
// the service from starting.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/JSONSerialization.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionTask.h"
#include "foundation/StringUtils.h"
#include "model/QVAEvent.h"
#include "quovana/CommandContext.h"
#include "quovana/KeptLocalService.h"
#include "quovana/LocalServiceState.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class LocalServiceStateTest : public InProcessCommandTest {
protected:
    void SetUp() override {
        InProcessCommandTest::SetUp();
        foundation::ApplicationHome::setRoot(home_.path());
    }
    void TearDown() override {
        session_->finishTasksAndInvalidate();
        InProcessCommandTest::TearDown();
    }

    // `bytes` as the kept state: the service starts afresh, says why, naming
    // the state file, and keeps the file aside exactly as it was.
    void expectSetAsideAsWritten(const std::string& bytes, const std::string& said) {
        const std::string state = quovana::localServiceStatePath();
        std::ofstream(state, std::ios::trunc) << bytes;
        std::ostringstream out, err;
        quovana::CommandContext context(out, err);
        std::pair<int, int> generated;
        std::string problem;
        auto service = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated, problem);
        EXPECT_TRUE(service) << problem;
        EXPECT_TRUE(contains(err.str(), state + " cannot be read (" + said)) << err.str();
        std::stringstream aside;
        aside << std::ifstream(state + ".unreadable").rdbuf();
        EXPECT_TRUE(aside.str() == bytes) << "not kept aside as it was written";
        std::filesystem::remove(state + ".unreadable");
    }

    // The request, under way.
    std::shared_ptr<foundation::URLSessionTask> start(const std::string& method, const std::string& url,
                                                     const std::string& token, const std::string& body,
                                                     const std::string& idempotencyKey = "") {
        foundation::URLRequest request(*foundation::URL::URLWithString(url));
        request.setHTTPMethod(method);
        request.setValue("Bearer " + token, "Authorization");
        request.setValue("application/json", "Content-Type");
        if (!idempotencyKey.empty()) request.setValue(idempotencyKey, "Idempotency-Key");
        if (!body.empty()) request.setHTTPBody(foundation::Data::fromString(body));
        auto task = session_->dataTaskWithRequest(request);
        task->resume();
        return task;
    }

    // The status of each answer, once all have reached this side.
    static std::vector<int> statuses(const std::vector<std::shared_ptr<foundation::URLSessionTask>>& tasks) {
        const auto completed = [&] {
            return std::all_of(tasks.begin(), tasks.end(), [](const auto& task) {
                return task->state() == foundation::URLSessionTask::State::Completed;
            });
        };
        std::vector<int> out(tasks.size(), 0);
        if (!foundation::RunLoop::main().runUntil(completed, 60)) return out;
        for (size_t i = 0; i < tasks.size(); ++i)
            if (auto response = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(tasks[i]->response()))
                out[i] = static_cast<int>(response->statusCode());
        return out;
    }

    int send(const std::string& method, const std::string& url, const std::string& token, const std::string& body,
             const std::string& idempotencyKey = "") {
        return statuses({start(method, url, token, body, idempotencyKey)}).front();
    }

    // Not over a connection kept alive to a service that went.
    void renewSession() {
        session_->finishTasksAndInvalidate();
        session_ = foundation::URLSession::sessionWithConfiguration(
            foundation::URLSessionConfiguration::defaultSessionConfiguration());
    }

    std::shared_ptr<foundation::URLSession> session_ = foundation::URLSession::sessionWithConfiguration(
        foundation::URLSessionConfiguration::defaultSessionConfiguration());
};

TEST_F(LocalServiceStateTest, AWriteTheServiceAnsweredIsInTheHomeWhenTheAnswerArrives) {
    using testservice::MeetingKind;
    const testservice::MeetingGeneratorOptions size{.sessions = 6, .participants = 12};
    testservice::MeetingService service(testservice::generateMeeting(size));
    ASSERT_TRUE(service.start());
    quovana::keepLocalServiceStateOnWrites(service, {size.sessions, size.participants});
    const std::string notes = service.urlFor("/api/v1/events/" + service.eventId() + "/notes/sessions/");
    const std::string session = testservice::idText(service.items(MeetingKind::Sessions)[2]["id"]);
    const auto stateFile = std::filesystem::path(foundation::ApplicationHome::libraryDirectory()) / "local-service.json";

    EXPECT_EQ(send("GET", service.urlFor("/api/v1/events"), service.demoToken(), ""), 200);
    EXPECT_EQ(send("PUT", notes + "999999", service.demoToken(), R"({"note":"Nowhere"})"), 404);
    EXPECT_FALSE(std::filesystem::exists(stateFile));

    ASSERT_EQ(send("PUT", notes + session, service.demoToken(), R"({"note":"Kept before the answer"})"), 200);
    const auto kept = quovana::readLocalServiceState();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->port, service.server().port());
    EXPECT_EQ(kept->generated, std::make_pair(6, 12));
    const auto* note = kept->changes.find(MeetingKind::SessionNotes, "sn-" + session);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ((*note)["note"].stringValue(), "Kept before the answer");
}

// A kill after the service took a keyed message and before the app heard
// the answer: the outbox sends the same key to the relaunched service.
TEST_F(LocalServiceStateTest, AKeyAnsweredBeforeARestartIsTakenOnceAfterIt) {
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    const std::string message = R"({"to":"100002","subject":"Sent once","body":"Across a restart"})";
    auto sent = [](const testservice::MeetingService& service) {
        size_t count = 0;
        for (const auto& item : service.items(testservice::MeetingKind::Messages))
            count += item["subject"].stringValue() == "Sent once" ? 1 : 0;
        return count;
    };
    std::string problem;
    auto first = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated, problem);
    ASSERT_TRUE(first);
    ASSERT_EQ(send("POST", first->urlFor("/api/v1/messages"), first->demoToken(), message, "row-1"), 200);
    first.reset();
    renewSession();

    auto relaunched = quovana::startKeptLocalService(context, std::nullopt, generated, problem);
    ASSERT_TRUE(relaunched);
    ASSERT_EQ(sent(*relaunched), 1u);
    EXPECT_EQ(send("POST", relaunched->urlFor("/api/v1/messages"), relaunched->demoToken(), message, "row-1"), 200);
    EXPECT_EQ(sent(*relaunched), 1u);
}

TEST_F(LocalServiceStateTest, AnUnreadableStateIsKeptAsideAndAWriteThatCannotBeKeptFails) {
    const std::string state = quovana::localServiceStatePath();
    const std::string leftover = foundation::ApplicationHome::libraryDirectory() + "/.local-service.json.tmp-Ab3dE9";
    std::ofstream(state) << R"({"port": 4)";
    std::ofstream(leftover) << R"({"port": 4)";
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    std::string problem;
    auto service = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated, problem);
    ASSERT_TRUE(service);
    EXPECT_TRUE(contains(err.str(), state + " cannot be read")) << err.str();
    EXPECT_TRUE(contains(err.str(), "kept aside as " + state + ".unreadable")) << err.str();
    std::stringstream aside;
    aside << std::ifstream(state + ".unreadable").rdbuf();
    EXPECT_EQ(aside.str(), R"({"port": 4)");
    EXPECT_FALSE(std::filesystem::exists(leftover));

    // Where the state goes, a folder: the write is not kept, nor said done.
    std::filesystem::create_directories(state + "/taken");
    const std::string session = testservice::idText(service->items(testservice::MeetingKind::Sessions)[0]["id"]);
    EXPECT_EQ(send("PUT", service->urlFor("/api/v1/events/" + service->eventId() + "/notes/sessions/" + session),
                   service->demoToken(), R"({"note":"Not kept"})"),
              500);
}

// A pipe or a device in the state's place is not read (a pipe would hold
// the start until something wrote to it) but set aside like any other.
TEST_F(LocalServiceStateTest, AStateThatIsNoPlainFileIsSetAsideUnread) {
    const std::string state = quovana::localServiceStatePath();
    for (const bool pipe : {true, false}) {
        if (pipe)
            ASSERT_EQ(::mkfifo(state.c_str(), 0600), 0);
        else
            std::filesystem::create_symlink("/dev/zero", state);
        std::ostringstream out, err;
        quovana::CommandContext context(out, err);
        std::pair<int, int> generated;
        std::string problem;
        auto service = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated, problem);
        ASSERT_TRUE(service) << problem;
        EXPECT_TRUE(contains(err.str(), state + " cannot be read (it is no plain file); it is kept aside"))
            << err.str();
        EXPECT_TRUE(std::filesystem::is_symlink(state + ".unreadable") ||
                    std::filesystem::is_fifo(state + ".unreadable"));
        std::filesystem::remove(state + ".unreadable");
    }
}

// The app takes a 500 as "not done" and sends again: the write it was told
// failed must not be in the meeting, nor reach the file with a later write.
TEST_F(LocalServiceStateTest, AWriteThatCannotBeKeptIsUndoneSoItsRetryIsStoredOnce) {
    using testservice::MeetingKind;
    const testservice::MeetingGeneratorOptions size{.sessions = 4, .participants = 8};
    testservice::MeetingService service(testservice::generateMeeting(size));
    ASSERT_TRUE(service.start());
    quovana::keepLocalServiceStateOnWrites(service, {size.sessions, size.participants});
    const std::string state = quovana::localServiceStatePath();
    const std::string messages = service.urlFor("/api/v1/messages");
    auto sent = [](const foundation::Value::Array& items, const std::string& subject) {
        return std::count_if(items.begin(), items.end(),
                             [&](const auto& item) { return item["subject"].stringValue() == subject; });
    };
    const std::string plain = R"({"to":"100002","subject":"Plain","body":"Sent again after a 500"})";
    const std::string keyed = R"({"to":"100002","subject":"Keyed","body":"Sent again after a 500"})";

    std::filesystem::create_directories(state + "/taken");
    EXPECT_EQ(send("POST", messages, service.demoToken(), plain), 500);
    EXPECT_EQ(send("POST", messages, service.demoToken(), keyed, "row-7"), 500);
    EXPECT_EQ(sent(service.items(MeetingKind::Messages), "Plain"), 0);
    EXPECT_EQ(sent(service.items(MeetingKind::Messages), "Keyed"), 0);

    std::filesystem::remove_all(state);
    EXPECT_EQ(send("POST", messages, service.demoToken(), plain), 200);
    EXPECT_EQ(send("POST", messages, service.demoToken(), keyed, "row-7"), 200);
    const auto kept = quovana::readLocalServiceState();
    ASSERT_TRUE(kept);
    EXPECT_EQ(sent(kept->changes.items(MeetingKind::Messages), "Plain"), 1);
    EXPECT_EQ(sent(kept->changes.items(MeetingKind::Messages), "Keyed"), 1);
    EXPECT_EQ(kept->answered.size(), 1u);
}

// Every state the sink is handed holds each keyed message with its key:
// one that lacked it, kept by another write's save and then killed, would
// be stored again by the outbox's resend.
TEST_F(LocalServiceStateTest, EveryKeptStateHoldsAKeyedWriteWithItsKey) {
    using testservice::MeetingKind;
    testservice::MeetingService service(testservice::generateMeeting({.sessions = 6, .participants = 12}));
    ASSERT_TRUE(service.start());
    std::atomic<int> withoutKey{0};
    service.setWriteTakenSink([&](const testservice::MeetingData& data,
                                  const std::vector<testservice::MeetingService::KeyedAnswer>& answered,
                                  const testservice::MeetingService::SideChanges&) {
        std::set<std::string> keys;
        for (const auto& answer : answered) keys.insert(answer.key);
        for (const auto& message : data.items(MeetingKind::Messages)) {
            const std::string subject = message["subject"].stringValue();
            if (subject.rfind("key-", 0) == 0 && !keys.count(subject)) ++withoutKey;
        }
        return true;
    });
    const std::string notes = service.urlFor("/api/v1/events/" + service.eventId() + "/notes/sessions/");
    const std::string session = testservice::idText(service.items(MeetingKind::Sessions)[1]["id"]);
    std::vector<std::shared_ptr<foundation::URLSessionTask>> tasks;
    for (int i = 0; i < 100; ++i) {
        const std::string key = "key-" + std::to_string(i);
        tasks.push_back(start("POST", service.urlFor("/api/v1/messages"), service.demoToken(),
                              R"({"to":"100002","subject":")" + key + R"(","body":"Keyed"})", key));
        tasks.push_back(start("PUT", notes + session, service.demoToken(),
                              R"({"note":"Unkeyed )" + std::to_string(i) + R"("})"));
    }
    const auto answered = statuses(tasks);
    EXPECT_EQ(std::count(answered.begin(), answered.end(), 200), 200);
    EXPECT_EQ(withoutKey.load(), 0);
}

// Values the command line refuses are no state: set aside as an unreadable
// one is. A state that cannot be set aside is not started over.
TEST_F(LocalServiceStateTest, AStateOutOfRangeIsSetAsideAndOneThatCannotBeStaysAndStopsTheStart) {
    const std::string state = quovana::localServiceStatePath();
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    std::string problem;
    for (const std::string& outOfRange : {std::string(R"({"port": 70000, "eventId": "E"})"),
                                          std::string(R"({"port": 4000, "eventId": "E", "lists": {}, )"
                                                      R"("sessions": 100000000, "participants": 8})")}) {
        std::ofstream(state) << outOfRange;
        auto service = quovana::startKeptLocalService(context, std::nullopt, generated, problem);
        ASSERT_TRUE(service) << problem;
        EXPECT_LE(generated.first, testservice::kMaxGeneratedSessions);
        std::stringstream aside;
        aside << std::ifstream(state + ".unreadable").rdbuf();
        EXPECT_EQ(aside.str(), outOfRange);
        std::filesystem::remove(state + ".unreadable");
    }
    EXPECT_TRUE(contains(err.str(), "its \"port\" is 70000")) << err.str();
    EXPECT_TRUE(contains(err.str(), "its \"sessions\" is 100000000")) << err.str();

    // Every name beside it taken: it stays, and nothing serves over it.
    std::ofstream(state) << R"({"port": 4)";
    for (int attempt = 1; attempt <= 100; ++attempt)
        std::ofstream(state + ".unreadable" + (attempt == 1 ? "" : "-" + std::to_string(attempt))) << "";
    EXPECT_FALSE(quovana::startKeptLocalService(context, std::nullopt, generated, problem));
    EXPECT_TRUE(contains(problem, state + " cannot be read")) << problem;
    EXPECT_TRUE(contains(problem, "could not be moved aside (too many kept aside already)")) << problem;
    std::stringstream left;
    left << std::ifstream(state).rdbuf();
    EXPECT_EQ(left.str(), R"({"port": 4)");
}

namespace {

// A listening socket on 127.0.0.1 at `port` (0: one the system picks), and
// its port.
std::pair<int, int> listeningOnLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    // Over connections of a service just gone, still waiting out their close.
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {fd, 0};
    return {fd, ntohs(address.sin_port)};
}

// A store file of the home whose feed and plan addresses name `port`; the
// plan's in a binary field, after a zero byte, as archived values hold it.
void storeAddresses(int port) {
    const std::string path = CoreDataStack::applicationDatabaseDirectory() + "/kept.sqlite";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string root = "http://127.0.0.1:" + std::to_string(port);
    const std::string sql = "CREATE TABLE feeds (title TEXT, address TEXT, plan BLOB);"
                            "INSERT INTO feeds VALUES ('Reports', '" + root + "/feeds/reports.xml', CAST(char(0) || '" +
                            root + "/files/maps/level-0.svg' AS BLOB));";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::string storedFeedAddress() {
    const std::string path = CoreDataStack::applicationDatabaseDirectory() + "/kept.sqlite";
    sqlite3* db = nullptr;
    std::string address;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT address FROM feeds", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        address = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return address;
}

}  // namespace

// After an unreadable state is set aside, the fresh service answers where
// the home's stored feed and plans point: at their port when it is free,
// else at another of as many digits, the stored addresses moved to it.
TEST_F(LocalServiceStateTest, TheFreshServiceAnswersWhereTheHomesStoredAddressesPoint) {
    const std::string state = quovana::localServiceStatePath();
    const auto [probe, freePort] = listeningOnLoopback(0);
    ::close(probe);
    ASSERT_NE(freePort, 0);
    storeAddresses(freePort);
    std::ofstream(state) << "";
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    std::string problem;
    auto service = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated, problem);
    ASSERT_TRUE(service) << problem;
    EXPECT_EQ(service->server().port(), freePort);
    service.reset();

    // Now someone else listens there.
    const auto [taken, takenPort] = listeningOnLoopback(freePort);
    ASSERT_EQ(takenPort, freePort);
    std::filesystem::remove(state);
    std::ofstream(state) << "";
    service = quovana::startKeptLocalService(context, std::nullopt, generated, problem);
    ::close(taken);
    ASSERT_TRUE(service) << problem;
    const int moved = service->server().port();
    EXPECT_NE(moved, freePort);
    EXPECT_EQ(storedFeedAddress(), "http://127.0.0.1:" + std::to_string(moved) + "/feeds/reports.xml");
    EXPECT_TRUE(contains(err.str(), "the service's earlier port " + std::to_string(freePort) +
                                        " is taken; 2 kept addresses moved to its new port " + std::to_string(moved)))
        << out.str() << err.str();
}

namespace {

// `state` with the part at `path` ("lists.messages.0.id") made `wrong`, a
// JSON value, or left out when `wrong` is "-".
foundation::Value withPart(foundation::Value state, const std::string& path, const std::string& wrong) {
    foundation::Value* at = &state;
    foundation::Value* parent = nullptr;
    std::string name;
    for (size_t from = 0; from <= path.size();) {
        const size_t dot = std::min(path.find('.', from), path.size());
        name = path.substr(from, dot - from);
        parent = at;
        if (auto* items = at->array())
            at = &(*items)[std::stoul(name)];
        else
            at = &(*at)[name];
        from = dot + 1;
    }
    if (wrong == "-")
        parent->dictionary()->erase(name);
    else
        *at = foundation::JSONSerialization::JSONObjectWithString("[" + wrong + "]").at(0);
    return state;
}

}  // namespace

// Every part of the kept state is checked as it is read: one of another
// type, or out of its range, makes the whole file unreadable, so nothing is
// read around it; it is set aside with the bytes it had, and said.
TEST_F(LocalServiceStateTest, AStateWithAnyPartWrongIsSetAsideWhole) {
    using testservice::MeetingKind;
    const std::string state = quovana::localServiceStatePath();
    {
        testservice::MeetingService service(testservice::generateMeeting({.sessions = 12, .participants = 30}));
        ASSERT_TRUE(service.start());
        foundation::Value session = service.items(MeetingKind::Sessions).front();
        session["title"] = foundation::Value("Changed by the organiser");
        service.putItem(MeetingKind::Sessions, session);
        service.restoreKeyedAnswers({{service.demoToken(), "row-1", 200, "application/json", R"({"result":"Sent"})"}});
        ASSERT_TRUE(quovana::writeLocalServiceState(service, {12, 30}));
    }
    // As written, it is read.
    ASSERT_TRUE(quovana::readLocalServiceState());
    std::stringstream text;
    text << std::ifstream(state).rdbuf();
    const foundation::Value written = foundation::JSONSerialization::JSONObjectWithString(text.str());
    for (const char* list : {"messages", "agenda_selections", "agenda_invitations", "personal_entries", "following",
                             "session_notes", "participant_notes"})
        ASSERT_GT(written["lists"][list].count(), 0u) << list;

    // An item of the id of one before it, the same as text or as a number.
    const std::string firstNoteId = "\"" + written["lists"]["session_notes"].at(0)["id"].stringValue() + "\"";
    const std::string firstFollowedIdAsNumber = written["lists"]["following"].at(0)["id"].stringValue();

    struct Case {
        const char* path;
        const char* wrong;
        const char* said;
    };
    const Case cases[] = {
        {"port", R"("4000")", R"("port" is no whole number)"},
        {"port", "0", R"("port" is 0, not one from 1 to 65535)"},
        {"port", "-", R"("port" is missing)"},
        {"eventId", "7", R"("eventId" is no text)"},
        {"eventId", R"("")", R"("eventId" is no text, or an empty one)"},
        {"eventId", R"("another-meeting")", R"("eventId" is another-meeting, not the meeting served)"},
        {"sessions", "12.5", R"("sessions" is no whole number)"},
        {"sessions", "0", R"("sessions" is 0, not one from 1 to 20000)"},
        {"participants", "null", R"("participants" is no whole number)"},
        {"participants", "1", R"("participants" is 1, not one from 2 to 99999)"},
        {"sessions", "-", R"("sessions" is missing beside)"},
        {"lists", R"("x")", R"("lists" is no object)"},
        {"lists", "-", R"("lists" is missing)"},
        {"lists.messages", "null", R"("lists"."messages" is no list)"},
        {"lists.diary", "[]", R"("lists"."diary" is no list the state keeps)"},
        {"lists.messages.0", "5", R"("lists"."messages"[0] is no object)"},
        {"lists.messages.0.id", R"("1")", R"("lists"."messages"[0]."id" is no whole number)"},
        {"lists.messages.0.id", "2147483648",
         R"("lists"."messages"[0]."id" is 2147483648, not one from 1 to 2147483647)"},
        {"lists.messages.0.threadId", "true", R"("lists"."messages"[0]."threadId" is no whole number)"},
        {"lists.messages.0.threadId", "0", R"("lists"."messages"[0]."threadId" is 0, not one of at least 1)"},
        {"lists.messages.0.read", R"("yes")", R"("lists"."messages"[0]."read" is neither true nor false)"},
        {"lists.messages.0.subject", "[]", R"("lists"."messages"[0]."subject" is no text)"},
        {"lists.messages.0.from", "[]", R"("lists"."messages"[0]."from" is no object)"},
        {"lists.messages.0.to", "[1]", R"("lists"."messages"[0]."to"[0] is no object)"},
        {"lists.session_notes.1.id", firstNoteId.c_str(),
         R"("lists"."session_notes"[1]."id" is the id of "lists"."session_notes"[0] again)"},
        {"lists.following.1.id", firstFollowedIdAsNumber.c_str(),
         R"("lists"."following"[1]."id" is the id of "lists"."following"[0] again)"},
        {"lists.agenda_selections.0.id", "-", R"("lists"."agenda_selections"[0]."id" is missing)"},
        {"lists.agenda_selections.0.revision", "-1", R"("lists"."agenda_selections"[0]."revision" is -1)"},
        {"lists.agenda_selections.0.session", R"("300001")",
         R"("lists"."agenda_selections"[0]."session" is no object)"},
        {"lists.agenda_selections.0.session.id", "-", R"("lists"."agenda_selections"[0]."session"."id" is missing)"},
        {"lists.agenda_invitations.0.status", "3", R"("lists"."agenda_invitations"[0]."status" is no text)"},
        {"lists.agenda_invitations.0.withSpouse", "0",
         R"("lists"."agenda_invitations"[0]."withSpouse" is neither true nor false)"},
        {"lists.personal_entries.0.startDatetime", "20260615",
         R"("lists"."personal_entries"[0]."startDatetime" is no text)"},
        {"lists.following.0.id", R"("")", R"("lists"."following"[0]."id" is no id)"},
        {"lists.following.0.id", "1.5", R"("lists"."following"[0]."id" is no id)"},
        {"lists.session_notes.0.sessionId", "-", R"("lists"."session_notes"[0]."sessionId" is missing)"},
        {"lists.session_notes.0.note", "{}", R"("lists"."session_notes"[0]."note" is no text)"},
        {"lists.participant_notes.0.participantId", "null",
         R"("lists"."participant_notes"[0]."participantId" is no id)"},
        {"answeredKeys", "{}", R"("answeredKeys" is no list)"},
        {"answeredKeys.0", R"("row-1")", R"("answeredKeys"[0] is no object)"},
        {"answeredKeys.0.status", R"("200")", R"("answeredKeys"[0]."status" is no whole number)"},
        {"answeredKeys.0.status", "0", R"("answeredKeys"[0]."status" is 0, not one from 100 to 599)"},
        {"answeredKeys.0.status", "-5", R"("answeredKeys"[0]."status" is -5,)"},
        {"answeredKeys.0.status", "42", R"("answeredKeys"[0]."status" is 42,)"},
        {"answeredKeys.0.status", "999", R"("answeredKeys"[0]."status" is 999,)"},
        {"answeredKeys.0.status", "1000000", R"("answeredKeys"[0]."status" is 1000000,)"},
        {"answeredKeys.0.token", "5", R"("answeredKeys"[0]."token" is no text)"},
        {"answeredKeys.0.key", "-", R"("answeredKeys"[0]."key" is missing)"},
        {"answeredKeys.0.contentType", "null", R"("answeredKeys"[0]."contentType" is no text)"},
        {"answeredKeys.0.contentType", R"("text/plain\r\nSet-Cookie: a=b")",
         R"("answeredKeys"[0]."contentType" holds a control character)"},
        {"answeredKeys.0.body", "{}", R"("answeredKeys"[0]."body" is no text)"},
        {"answeredKeys.0.replayed", "1", R"("answeredKeys"[0]."replayed" is no part of the state)"},
        {"organiserChanges", "[]", R"("organiserChanges" is no object)"},
        {"organiserChanges.sessions.0.id", "-", R"("organiserChanges"."sessions"[0]."id" is missing)"},
        {"organiserChanges.sessions.0.revision", "-1", R"("organiserChanges"."sessions"[0]."revision" is -1)"},
        {"organiserChanges.talks", "[]", R"("organiserChanges"."talks" is no list the state keeps)"},
        {"privacySettings", R"("on")", R"("privacySettings" is no object)"},
        {"privacySettings.phoneVisible", "1", R"("privacySettings"."phoneVisible" is neither true nor false)"},
        {"privacySettings.phoneVisible", "-", R"("privacySettings"."phoneVisible" is missing)"},
        {"privacySettings.everything", "true", R"("privacySettings"."everything" is no part of the state)"},
        {"comment", R"("kept by hand")", R"("comment" is no part of the state)"},
    };
    for (const auto& wrongCase : cases) {
        SCOPED_TRACE(std::string(wrongCase.path) + " = " + wrongCase.wrong);
        const auto bytes =
            foundation::JSONSerialization::stringWithJSONObject(withPart(written, wrongCase.path, wrongCase.wrong));
        ASSERT_TRUE(bytes);
        expectSetAsideAsWritten(*bytes, "its " + std::string(wrongCase.said));
    }

    // A part given twice, read as its last, would lose the first on the next
    // save: the file is unreadable.
    const std::string whole = text.str();
    const std::string repeated[] = {
        whole.substr(0, whole.rfind('}')) + R"(,"lists":{}})",
        std::string(whole).insert(whole.find(R"("note":)"), R"("note":"",)"),
    };
    for (const auto& bytes : repeated) expectSetAsideAsWritten(bytes, "it gives a part twice)");

    // A list an earlier version did not keep is no list the person emptied.
    const auto older =
        foundation::JSONSerialization::stringWithJSONObject(withPart(written, "lists.session_notes", "-"));
    std::ofstream(state, std::ios::trunc) << *older;
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    std::string problem;
    auto service = quovana::startKeptLocalService(context, std::nullopt, generated, problem);
    ASSERT_TRUE(service) << problem;
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(service->items(MeetingKind::SessionNotes).size(), written["lists"]["session_notes"].count());
}

namespace {

// A program other than the service listening on 127.0.0.1 at `port`: it
// takes each connection and closes it, and counts them.
class ForeignListener {
public:
    explicit ForeignListener(int port) {
        std::tie(fd_, port_) = listeningOnLoopback(port);
        if (port_) thread_ = std::thread([this] {
                while (true) {
                    const int connection = ::accept(fd_, nullptr, nullptr);
                    if (connection < 0) return;
                    ++connections_;
                    ::close(connection);
                }
            });
    }
    ~ForeignListener() {
        ::shutdown(fd_, SHUT_RDWR);
        if (thread_.joinable()) thread_.join();
        ::close(fd_);
    }
    int port() const { return port_; }
    int connections() const { return connections_; }

private:
    int fd_ = -1, port_ = 0;
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// The port the current meeting's reports feed names in the settings.
std::string settingsFeed() {
    const auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event && event->reportsRssFeedUrl() ? *event->reportsRssFeedUrl() : std::string();
}

}  // namespace

// Every address the home keeps, the settings' reports feed as well as the
// stores', names the port the service answers on: moved with it when the
// kept port is taken, and answered at when the state names another port.
TEST_F(LocalServiceStateTest, EveryKeptAddressNamesThePortTheServiceAnswersOn) {
    ASSERT_EQ(run({"demo"}).status, 0);
    const int kept = quovana::readLocalServiceState()->port.value_or(0);
    ASSERT_TRUE(contains(settingsFeed(), "//127.0.0.1:" + std::to_string(kept) + "/")) << settingsFeed();
    int moved = 0;
    {
        ForeignListener foreign(kept);
        ASSERT_EQ(foreign.port(), kept);
        CommandRun delta = run({"delta", "--force"});
        EXPECT_EQ(delta.status, 0) << delta.out << delta.err;
        moved = quovana::readLocalServiceState()->port.value_or(0);
        EXPECT_NE(moved, kept);
        EXPECT_TRUE(contains(delta.err, "earlier port " + std::to_string(kept) + " is taken")) << delta.err;
        EXPECT_TRUE(contains(settingsFeed(), "//127.0.0.1:" + std::to_string(moved) + "/")) << settingsFeed();
        EXPECT_EQ(foreign.connections(), 0);
    }

    // The state names another port than the addresses: they are answered.
    const auto [probe, other] = listeningOnLoopback(0);
    ::close(probe);
    std::stringstream text;
    text << std::ifstream(quovana::localServiceStatePath()).rdbuf();
    const auto edited = foundation::JSONSerialization::stringWithJSONObject(
        withPart(foundation::JSONSerialization::JSONObjectWithString(text.str()), "port", std::to_string(other)));
    ASSERT_TRUE(edited);
    std::ofstream(quovana::localServiceStatePath(), std::ios::trunc) << *edited;
    CommandRun delta = run({"delta", "--force"});
    EXPECT_EQ(delta.status, 0) << delta.out << delta.err;
    EXPECT_TRUE(contains(delta.err, "state names port " + std::to_string(other))) << delta.err;
    EXPECT_EQ(quovana::readLocalServiceState()->port, moved);
    EXPECT_TRUE(contains(settingsFeed(), "//127.0.0.1:" + std::to_string(moved) + "/")) << settingsFeed();
}

}  // namespace

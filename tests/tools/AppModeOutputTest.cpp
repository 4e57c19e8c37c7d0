// What a person reads in "quovana app": the login form's fields and rows, a
// launch that goes straight to the login screen, the login service's answer
// to wrong credentials, errors that name the real cause, the mail composer a
// settings screen presents, and the same script printing the same text on
// every run.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/JSONSerialization.h"
#include "foundation/StringUtils.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandTest.h"
#include "tools/QuovanaProcess.h"

namespace {

using foundation::StringUtils::contains;

constexpr const char* kClock = "2026-06-16T10:00:00+02:00";

// The printed block of the first command starting with `command`.
std::string blockOf(const std::string& out, const std::string& command) {
    const size_t start = out.find("\n== " + command);
    if (start == std::string::npos) return {};
    const size_t end = out.find("\n== ", start + 1);
    return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> eventsIn(const std::string& block) {
    std::vector<std::string> events;
    std::istringstream stream(block);
    for (std::string line; std::getline(stream, line);)
        if (line.rfind("event: ", 0) == 0) events.push_back(line);
    return events;
}

// The text without the lines that carry the home or the service's port.
std::string withoutLinesHolding(const std::string& out, const std::string& home) {
    std::string kept;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        if (!contains(line, home) && !contains(line, "127.0.0.1:")) kept += line + "\n";
    return kept;
}

size_t sentMails(const std::string& home) {
    const auto folder = std::filesystem::path(home) / "Library" / "Mail" / "Sent";
    if (!std::filesystem::exists(folder)) return 0;
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

class AppModeOutputTest : public InProcessCommandTest {};

TEST_F(AppModeOutputTest, TheLoginFormShowsWhatWasTypedAndALaunchWithoutAccountBuildsNoHomeScreen) {
    const std::string script =
        "type Username demo   # the demo account\n"
        "type Password quovana-demo\n"
        "tap row 1 0\n";
    CommandRun app = run({"app", "--clock", kClock, "--generate", "40,80"}, script);
    ASSERT_EQ(app.status, 0) << app.out << app.err;

    const std::string launch = blockOf(app.out, "launch");
    EXPECT_TRUE(contains(launch, "row 0 Cell_login_user h=44 field placeholder=\"Username\" text=\"\"\n")) << launch;
    EXPECT_TRUE(contains(launch, "row 1 Cell_login_user h=44 field placeholder=\"Password\" text=\"\" secure\n"));
    EXPECT_TRUE(contains(launch, "row 0 Cell_login_user h=44 label=\"Login\"\n"));
    // Straight to the login screen: "Start app" is the launch's one event.
    EXPECT_EQ(eventsIn(launch), std::vector<std::string>{"event: Start app"}) << launch;
    EXPECT_FALSE(contains(launch, "No core data stack")) << launch;
    EXPECT_FALSE(contains(launch, "SpotlightViewController")) << launch;

    // The comment is not typed; the password shows as bullets.
    EXPECT_TRUE(contains(blockOf(app.out, "type Username"), "field placeholder=\"Username\" text=\"demo\" focused\n"))
        << app.out;
    EXPECT_TRUE(contains(blockOf(app.out, "type Password"),
                         "field placeholder=\"Password\" text=\"\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2"
                         "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2"
                         "\xE2\x80\xA2\" secure focused\n"));
    const std::string login = blockOf(app.out, "tap row 1 0");
    EXPECT_TRUE(contains(login, "screen SpotlightViewController \"Home\"")) << login;
    EXPECT_TRUE(contains(login, "event: Log in")) << login;
    // Nothing in flight when it settled: the network mark is off.
    EXPECT_FALSE(contains(login, "network-activity")) << login;

    // Two processes on fresh homes print the same, the download's log included.
    TemporaryDirectory scriptFolder;
    const std::string scriptPath = scriptFolder.path() + "/login.txt";
    std::ofstream(scriptPath) << script;
    std::vector<std::string> texts;
    for (int run = 0; run < 2; ++run) {
        TemporaryDirectory home;
        auto process = clitest::runQuovana(
            {"--home", home.path(), "app", "--clock", kClock, "--generate", "40,80", "--script", scriptPath});
        ASSERT_EQ(process.status, 0) << process.out << process.err;
        texts.push_back(withoutLinesHolding(process.out, home.path()));
    }
    EXPECT_EQ(texts[0], texts[1]);
}

TEST_F(AppModeOutputTest, AStalledCallLeavesTheLoadingScreenOnScreenWithItsProgress) {
    CommandRun app = run({"app", "--clock", kClock, "--generate", "40,80", "--fault", "GET", "events/1001/participants",
                          "stall"},
                         "type Username demo\ntype Password quovana-demo\ntap row 1 0\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    const std::string loading = blockOf(app.out, "tap row 1 0");
    EXPECT_FALSE(contains(loading, "did not settle")) << loading;
    EXPECT_TRUE(contains(loading, "presented LoadingViewController")) << loading;
    EXPECT_TRUE(contains(loading, "label \"Downloading content (")) << loading;
    EXPECT_FALSE(contains(loading, "Downloading content (100%)")) << loading;
}

TEST_F(AppModeOutputTest, AWrongPasswordOffersTheForgottenPasswordScreenAndAnOpenAlertIsNamedAsTheCause) {
    const std::string script =
        "type Username \"   \"\n"
        "type Password x\n"
        "tap row 1 0\n"
        "alert OK\n"
        "clear Username\n"
        "clear Password\n"
        "type Username demo\n"
        "type Password \"not it\"\n"
        "tap row 1 0\n"
        "tap row 0 0\n"
        "alert \"Forgot password\"\n"
        "type \"Email address\" danademo1@quovana.test\n"
        "tap item Send\n";
    CommandRun app = run({"app", "--clock", kClock, "--generate", "40,80"}, script);
    EXPECT_EQ(app.status, 1) << app.out;
    // Blanks only are typed (quoted) and refused without a request.
    EXPECT_TRUE(contains(blockOf(app.out, "type Username \"   \""), "text=\"   \" focused")) << app.out;
    EXPECT_TRUE(contains(blockOf(app.out, "tap row 1 0"),
                         "alert - \"You must enter your credentials in order to be able to login\" [OK]"))
        << app.out;
    const size_t second = app.out.find("\n== tap row 1 0", app.out.find("\n== tap row 1 0") + 1);
    ASSERT_NE(second, std::string::npos) << app.out;
    EXPECT_TRUE(contains(blockOf(app.out.substr(second), "tap row 1 0"),
                         "alert \"Authentication failed!\" \"Invalid username or wrong password\" [Retry] "
                         "[Forgot password]"))
        << app.out;
    EXPECT_TRUE(contains(blockOf(app.out, "tap row 0 0"), "error: an alert is open: answer it with \"alert BUTTON\""))
        << app.out;
    const std::string retrieve = blockOf(app.out, "alert \"Forgot password\"");
    EXPECT_TRUE(contains(retrieve, "presented RetrieveViewController")) << retrieve;
    EXPECT_TRUE(contains(retrieve, "bar \"Forgot password\" left=[Cancel on] right=[Send on]")) << retrieve;
    // The demo account's address passes the screen's check and the service knows it.
    EXPECT_TRUE(contains(blockOf(app.out, "tap item Send"), "alert \"Email successfully sent.\"")) << app.out;
}

TEST_F(AppModeOutputTest, SettingsFeedbackMailIsSentOrCancelledAndAnAmbiguousButtonIsAnError) {
    ASSERT_EQ(run({"demo"}).status, 0);
    const std::string script =
        "tap button OK\n"
        "tap tab 4\n"
        "tap row 0 6\n"
        "tap row 4 1\n"
        "mail sent\n"
        "tap row 4 1\n"
        "mail cancelled\n";
    CommandRun app = run({"app", "--clock", kClock}, script);
    EXPECT_EQ(app.status, 1) << app.out;
    const std::string ambiguous = blockOf(app.out, "tap button OK");
    EXPECT_TRUE(contains(ambiguous, "error: 4 buttons \"OK\" on the front screen:\n  at ")) << ambiguous;
    EXPECT_TRUE(contains(ambiguous, " in row 1 3\n  pick one with \"tap at X,Y\"")) << ambiguous;
    EXPECT_TRUE(contains(blockOf(app.out, "tap row 4 1"), "presented MFMailComposeViewController")) << app.out;
    EXPECT_FALSE(contains(app.out, "error: no mail composer is open")) << app.out;
    EXPECT_EQ(sentMails(home_.path()), 1u);
}

TEST_F(AppModeOutputTest, TheToursTextIsTheSameOnTwoFreshHomesAndASecondRunPrintsOnlyItsOwnEvents) {
    const auto checkout = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    const std::string tour = (checkout / "tools" / "samples" / "home-tour.txt").string();
    ASSERT_TRUE(std::filesystem::exists(tour));
    TemporaryDirectory homes[2];
    std::vector<std::string> texts;
    std::string firstRun;
    for (auto& home : homes) {
        auto demo = clitest::runQuovana({"--home", home.path(), "demo"});
        ASSERT_EQ(demo.status, 0) << demo.out << demo.err;
        auto app = clitest::runQuovana({"--home", home.path(), "app", "--clock", kClock, "--script", tour});
        ASSERT_EQ(app.status, 0) << app.out << app.err;
        if (firstRun.empty()) firstRun = app.out;
        texts.push_back(withoutLinesHolding(app.out, home.path()));
    }
    EXPECT_EQ(texts[0], texts[1]);

    // The home's queue still holds the first run's events: they are not printed again.
    auto again = clitest::runQuovana({"--home", homes[0].path(), "app", "--clock", kClock, "--script", tour});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(eventsIn(blockOf(again.out, "launch")), eventsIn(blockOf(firstRun, "launch")));
}

// Two runs on one home, each adding a personal entry: the bundled service
// answers at the address the download stored and remembers the first run's
// entry, so the second gets an id of its own and "Update content" reaches
// every address.
TEST_F(AppModeOutputTest, TwoRunsOnOneHomeKeepTheServicesAddressAndItsIds) {
    ASSERT_EQ(run({"demo"}).status, 0);
    for (const char* subject : {"Lunch one", "Lunch two"}) {
        const std::string script = std::string("tap tab 1\nsegment 1\ntap item add_personal_entry.png\ntype Subject \"") +
                                   subject + "\"\ntap item Add entry\nopen settingsViewControllerIdentifier\ntap row 3 0\n";
        CommandRun app = run({"app", "--clock", kClock}, script);
        EXPECT_EQ(app.status, 0) << app.out;
        EXPECT_FALSE(contains(app.out, "Could not connect to the server")) << app.out;
    }
    CommandRun dump = run({"dump", "QVACoreDataPersonalEntry", "--fields", "itemId,title"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::set<std::string> ids;
    size_t rows = 0, lunches = 0;
    std::istringstream lines(dump.out);
    for (std::string line; std::getline(lines, line); ++rows) {
        const auto row = foundation::JSONSerialization::JSONObjectWithString(line);
        ids.insert(row["itemId"].stringValue());
        lunches += contains(row["title"].stringValue(), "Lunch") ? 1 : 0;
    }
    EXPECT_EQ(lunches, 2u) << dump.out;
    EXPECT_EQ(ids.size(), rows) << dump.out;
}

// A swipe between sessions curls the old screen's picture away: a second
// later the new screen shows without it, though the curl only starts after
// a short delay.
TEST_F(AppModeOutputTest, AdvancingTheClockEndsTheSwipesCurl) {
    ASSERT_EQ(run({"demo"}).status, 0);
    CommandRun app = run({"app", "--clock", kClock}, "tap tab 1\ntap row 0 0\nswipe left\nadvance 2\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    EXPECT_TRUE(contains(blockOf(app.out, "swipe left"), "image image")) << app.out;
    EXPECT_FALSE(contains(blockOf(app.out, "advance 2"), "image image")) << blockOf(app.out, "advance 2");
}

// A kept port someone else holds: the service answers on another port of as
// many digits, and the addresses the earlier download stored follow it, the
// archived floor plans' included, so the maps still load.
TEST_F(AppModeOutputTest, AKeptPortThatIsTakenMovesTheStoredAddressesToTheNewOne) {
    ASSERT_EQ(run({"demo"}).status, 0);
    std::ifstream stateFile(std::filesystem::path(home_.path()) / "Library" / "local-service.json");
    const std::string state((std::istreambuf_iterator<char>(stateFile)), std::istreambuf_iterator<char>());
    const int keptPort = static_cast<int>(foundation::JSONSerialization::JSONObjectWithString(state)["port"].integerValue());
    ASSERT_GT(keptPort, 0);

    // The demo's own connections may still wait out their close on that port.
    const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
    int reuse = 1;
    ::setsockopt(holder, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(keptPort));
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << std::strerror(errno) << " " << keptPort;
    ASSERT_EQ(::listen(holder, 1), 0);
    CommandRun app = run({"app", "--clock", kClock}, "open settingsViewControllerIdentifier\ntap row 3 0\n");
    ::close(holder);
    EXPECT_EQ(app.status, 0) << app.out << app.err;
    EXPECT_TRUE(contains(app.err, "kept addresses moved to its new port")) << app.err;
    EXPECT_FALSE(contains(app.out, "Could not connect to the server")) << app.out;

    const std::string oldAddress = "127.0.0.1:" + std::to_string(keptPort) + "/";
    for (const char* entity : {"QVACoreDataRoom", "QVACoreDataDocumentInfo", "QVACoreDataParticipant"}) {
        CommandRun dump = run({"dump", entity});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_TRUE(contains(dump.out, "127.0.0.1:")) << entity;
        EXPECT_FALSE(contains(dump.out, oldAddress)) << entity;
    }
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(home_.path()) / "Documents" /
                                                                 "Quovana Events" / "Database")) {
        if (entry.path().extension() != ".sqlite") continue;
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(entry.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* query = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db,
                                     "SELECT count(*), sum(instr(ZfloorLevels, CAST(?1 AS BLOB)) > 0) FROM "
                                     "ZQVACoreDataVenue WHERE ZfloorLevels IS NOT NULL",
                                     -1, &query, nullptr),
                  SQLITE_OK);
        sqlite3_bind_text(query, 1, oldAddress.c_str(), -1, SQLITE_TRANSIENT);
        ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
        EXPECT_GT(sqlite3_column_int(query, 0), 0);
        EXPECT_EQ(sqlite3_column_int(query, 1), 0) << "a floor plan still points at the old port";
        sqlite3_finalize(query);
        sqlite3_close(db);
    }
    // The archives still read: the venue's floors are listed with their plans.
    CommandRun maps = run({"app", "--clock", kClock}, "open InteractiveMapsDetailsViewController\n");
    EXPECT_TRUE(contains(maps.out, "[Level 1]")) << maps.out;
}

}  // namespace

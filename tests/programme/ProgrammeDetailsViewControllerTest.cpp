// The session detail screen opened in the launched application over a store
// of the local meeting service: its sections, contributors and their
// stepping, the note, the star, the location link, the personal entry's
// buttons and removal (with its mirror in the device calendar), the pad's
// editor popover, and the header's darkening.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "coredata/ManagedObjectContext.h"
#include "app/DetailsScreenScenes.h"
#include "app/ShellTestSupport.h"
#include "eventkit/EKEventStore.h"
#include "foundation/RunLoop.h"
#include "graphics/GradientLayer.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FavoriteButton.h"
#include "lists/IdIndexPair.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/LocationDetailsViewController.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVAUserAccount.h"
#include "model/QVAParticipant.h"
#include "network/Reachability.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/QVAPersonalNoteCell.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionDetailTestSupport.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "settings/ApplicationSettingsStore.h"
#include "settings/UnsavedPersonalNote.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"

namespace {

using foundation::Value;
using meetingtest::Row;
using Screen = ProgrammeDetailsViewController;
using uikit::NSIndexPath;

constexpr double kDetailsWait = 30;

class ProgrammeDetailsTest : public sessiondetailtest::SessionDetailTest {
protected:

    void SetUp() override {
        SessionDetailTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        addDetailScenes();
        ASSERT_TRUE(startMeetingService());
        signIn(token());
        insert(token(), "QVACoreDataParticipant",
               {{{"itemId", Value("p1")}, {"lastName", Value("Brown")}, {"fullName", Value("Ann Brown")}},
                {{"itemId", Value("p2")}, {"lastName", Value("Adams")}, {"fullName", Value("Bob Adams")}}},
               service->eventId());
        insert(token(), "QVACoreDataVenue",
               {{{"itemId", Value("v1")}, {"name", Value("Hall")}, {"primary", Value(true)},
                 {"floorLevels", Value(foundation::Data::fromString("x"))}},
                {{"itemId", Value("v2")}, {"name", Value("Annex")}, {"primary", Value(false)}}},
               service->eventId());
        insert(token(), "QVACoreDataRoom",
               {{{"itemId", Value("r1")}, {"name", Value("Room A")}, {"venueId", Value("v1")}},
                {{"itemId", Value("r2")}, {"name", Value("Room B")}, {"venueId", Value("v2")}}},
               service->eventId());
        launch();
        online(true);
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
        SessionDetailTest::TearDown();
        service->stop();
    }

    std::string apiPath(const std::string& rest) const { return "/api/v1/events/" + service->eventId() + "/" + rest; }
    // The demo user current with `accessToken`, as a sign-in leaves it.
    void signIn(const std::string& accessToken) {
        settings.setCurrentAccount(QVAUserAccount::initWithDictionary(
            Value::dictionary({{"accessToken", Value(accessToken)}, {"user", service->demoAccount().user}})));
    }
    void grant(const char* code, const std::string& accessToken = "") {
        insert(accessToken.empty() ? token() : accessToken, "QVACoreDataPermission",
               {{{"code", Value(code)}, {"granted", Value(true)}}}, service->eventId());
    }
    void online(bool reachable) {
        network::Reachability::setSimulatedFlags(reachable ? network::ReachabilityFlag::Reachable : 0);
        EXPECT_TRUE(foundation::RunLoop::main().runUntil(
            [reachable] { return Utils::isInternetReachable() == reachable; }, kDetailsWait));
    }
    void storeSession(const char* id, Row extra, const std::string& accessToken = "") {
        Row row{{"itemId", Value(id)},
                {"title", Value("Opening")},
                {"startDatetime", Value("2026-06-16T09:00:00+02:00")},
                {"displayTime", Value("09:00 - 10:00")}};
        for (auto& [key, value] : extra) row[key] = value;
        insert(accessToken.empty() ? token() : accessToken, "QVACoreDataSession", {row}, service->eventId());
    }
    std::shared_ptr<Screen> open(const char* entity, const char* id) {
        EXPECT_TRUE(driver().openScene(Screen::kStoryboardIdentifier,
                                       {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName},
                                       std::make_pair(std::string(entity), std::string(id))) ==
                    uikit::ScreenDriver::OpenResult::Opened);
        settle();
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
    std::shared_ptr<Screen> openSession(const char* id) { return open("QVACoreDataSession", id); }
    static uikit::UITableView& table(Screen& screen) { return *screen.tableView(); }
    static double rowHeight(Screen& screen, int64_t section) {
        return table(screen).rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, section)).size.height;
    }
    static std::vector<std::string> ids(Screen& screen, int64_t section) {
        std::vector<std::string> out;
        auto& t = table(screen);
        for (int64_t row = 0; row < t.numberOfRowsInSection(section); ++row)
            out.push_back(screen.tableViewCellForRowAtIndexPath(t, NSIndexPath::indexPathForRow(row, section))
                              ? std::dynamic_pointer_cast<ParticipantCell>(
                                    t.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section)))
                                    ->participantTitle()
                                    ->text()
                                    .value_or("")
                              : "");
        return out;
    }
    std::shared_ptr<uikit::UIAlertView> alert() const {
        auto alerts = app().visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    size_t writes(const std::string& method, const std::string& path) const {
        size_t count = 0;
        for (const auto& write : service->writes())
            if (write.method == method && write.path == path) ++count;
        return count;
    }
    static std::vector<AnalyticsEvent> tracked(const std::string& name) {
        std::vector<AnalyticsEvent> out;
        for (const auto& event : AnalyticsUtils::queuedEvents())
            if (event.name == name) out.push_back(event);
        return out;
    }
    std::shared_ptr<QVAPersonalNoteCell> noteCell(Screen& screen) {
        auto& t = table(screen);
        const auto path = NSIndexPath::indexPathForRow(0, screen.personalNoteSectionIndex());
        t.scrollToRowAtIndexPath(path, uikit::UITableViewScrollPosition::Middle, false);
        return std::dynamic_pointer_cast<QVAPersonalNoteCell>(t.cellForRowAtIndexPath(path));
    }
    // Adds to the stored note "Old" of the screen `open` brings, leaves with
    // Back against one refused PUT (one alert, the store unchanged), reopens:
    // the typed note shows and goes again, and the store takes it.
    void expectRefusedNoteGoesAgain(bool session, const char* id, const std::function<uikit::UITableViewCellPtr()>& open) {
        using testservice::MeetingKind;
        const char* owner = session ? "sessionId" : "participantId";
        service->putItem(session ? MeetingKind::Sessions : MeetingKind::Participants, Value::dictionary({{"id", Value(id)}}));
        service->putItem(session ? MeetingKind::SessionNotes : MeetingKind::ParticipantNotes,
                         Value::dictionary({{"id", Value("n1")}, {owner, Value(id)}, {"note", Value("Old")}}));
        insert(token(), session ? "QVACoreDataSessionNote" : "QVACoreDataParticipantNote",
               {{{"itemId", Value("n1")}, {owner, Value(id)}, {"note", Value("Old")}}}, service->eventId());
        auto stored = [&] {
            auto context = store.getCoreDataStackForAuthToken(token(), service->eventId())->managedObjectContextMainQueue();
            return session ? FetchRequestUtils::getNoteForSessionId(id, context)
                           : FetchRequestUtils::getNoteForParticipantId(id, context);
        };
        const std::string path = apiPath(std::string(session ? "notes/sessions/" : "notes/participants/") + id);
        service->injectFault("PUT", path, {.status = 500, .times = 1});
        auto cell = std::dynamic_pointer_cast<QVAPersonalNoteCell>(open());
        ASSERT_TRUE(cell && cell->notesTextView()->typeText(" and new"));
        ASSERT_TRUE(driver().back());
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
        EXPECT_EQ(app().visibleAlerts().size(), 1u);
        alert()->dismissWithClickedButtonIndex(0, false);
        settle();
        EXPECT_EQ(stored(), "Old");
        cell = std::dynamic_pointer_cast<QVAPersonalNoteCell>(open());
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->notesTextView()->text(), "Old and new");
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return stored() == "Old and new"; }, kDetailsWait));
        EXPECT_EQ(service->requestCount("PUT", path), 2u);
        EXPECT_FALSE(alert());
    }
    // Session s1 in the store and at the service, its notes granted.
    void storeNotableSession() {
        grant("event:notes");
        storeSession("s1", {});
        service->putItem(testservice::MeetingKind::Sessions, Value::dictionary({{"id", Value("s1")}}));
    }
    // Types `note` on s1's page against a failing save; the alert dismissed.
    void typeNoteThatFails(const std::string& note) {
        auto text = noteCell(*openSession("s1"))->notesTextView();
        ASSERT_TRUE(text->typeText(note));
        text->resignFirstResponder();
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
        alert()->dismissWithClickedButtonIndex(0, false);
        settle();
    }
    std::shared_ptr<Screen> openContributorSession() {
        grant("event:notes");
        storeSession("s1", {{"contributors", Value("p1|speaker;p2|chair;p1|chair")},
                            {"preparatoryDiscussionDurationInMinutes", Value(int64_t(30))}});
        return openSession("s1");
    }
};

TEST_F(ProgrammeDetailsTest, AnOfficialSessionLaysOutItsEightSections) {
    auto screen = openContributorSession();
    ASSERT_TRUE(screen);
    auto& t = table(*screen);
    ASSERT_EQ(t.numberOfSections(), 8);
    for (int64_t section = 0; section < 8; ++section) {
        const auto title = screen->tableViewGetTitleForHeaderInSection(t, section);
        const char* expected = section == 3 ? "Session status" : section == 4 ? "chair" : section == 5 ? "speaker" : "";
        EXPECT_EQ(title.value_or(""), expected) << section;
        EXPECT_EQ(screen->tableViewHeightForHeaderInSection(t, section), *expected ? 23 : 0) << section;
    }
    EXPECT_EQ(ids(*screen, 4), std::vector<std::string>{"Bob Adams"});
    EXPECT_EQ(ids(*screen, 5), std::vector<std::string>{"Ann Brown"});
    EXPECT_EQ(rowHeight(*screen, 4), 80);
    EXPECT_EQ(screen->preparatoryDiscussionString(), "Please arrive at 08:30 for a preparatory discussion");
    EXPECT_EQ(rowHeight(*screen, 2), 0);
    EXPECT_EQ(screen->personalNoteSectionIndex(), 6);
    EXPECT_EQ(screen->navigationSectionIndex(), 7);
    EXPECT_EQ(t.numberOfRowsInSection(7), 2);
    auto views = tracked("View session");
    ASSERT_FALSE(views.empty());
    EXPECT_EQ(views.back().properties.at("Session name"), "Opening");
    EXPECT_EQ(views.back().properties.at("Session id"), "s1");
    EXPECT_EQ(screen->sessionHeaderView()->sessionNameLabel()->text(), "Opening");
}

TEST_F(ProgrammeDetailsTest, SectionsFollowWhatTheSessionHas) {
    storeSession("s0", {});
    storeSession("s2", {{"contributors", Value("px|host")}, {"preparatoryDiscussionDurationInMinutes", Value(int64_t(0))}});
    auto bare = openSession("s0");
    ASSERT_TRUE(bare);
    EXPECT_EQ(table(*bare).numberOfSections(), 6);
    EXPECT_EQ(bare->personalNoteSectionIndex(), 4);
    EXPECT_EQ(bare->navigationSectionIndex(), 5);
    // Without "event:notes" the note row is the hidden one.
    EXPECT_EQ(rowHeight(*bare, 4), 0);
    EXPECT_EQ(table(*bare).cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 4))->reuseIdentifier(), "hiddenCell");

    auto missing = openSession("s2");
    EXPECT_EQ(missing->tableViewGetTitleForHeaderInSection(table(*missing), 4), std::optional<std::string>("host"));
    EXPECT_EQ(table(*missing).numberOfRowsInSection(4), 0);
    EXPECT_EQ(missing->preparatoryDiscussionString(), std::nullopt);
    EXPECT_EQ(rowHeight(*missing, 0), 0);
}

TEST_F(ProgrammeDetailsTest, ContributorsOpenDetailsThatStepThroughThemInTableOrder) {
    auto screen = openContributorSession();
    ASSERT_TRUE(driver().tapRow(5, 0));
    settle();
    auto details = std::dynamic_pointer_cast<ParticipantDetailsViewController>(driver().frontViewController());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::optional<std::string>("p1"));
    EXPECT_TRUE(details->isSwipeEnabled());
    EXPECT_EQ(details->parentController(), std::dynamic_pointer_cast<SwipeParentControllerProtocol>(screen));

    const unsigned next = SwipeParentControllerProtocol::kNextRowDirection;
    auto toP2 = screen->getNextIdIndexPathPairAndMoveSelectionInDirection(next, std::string("p1"),
                                                                           NSIndexPath::indexPathForRow(0, 5));
    ASSERT_TRUE(toP2);
    EXPECT_EQ(toP2->objectId(), std::optional<std::string>("p2"));
    EXPECT_EQ(toP2->indexPath(), NSIndexPath::indexPathForRow(0, 4));
    EXPECT_EQ(toP2->entityName(), std::optional<std::string>("QVACoreDataParticipant"));
    auto back = screen->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("p2"),
                                                                           NSIndexPath::indexPathForRow(0, 4));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->objectId(), std::optional<std::string>("p1"));
    // The index path no longer holds the shown participant.
    EXPECT_EQ(screen->getNextIdIndexPathPairAndMoveSelectionInDirection(next, std::string("p1"),
                                                                         NSIndexPath::indexPathForRow(0, 4)),
              nullptr);
}

TEST_F(ProgrammeDetailsTest, OneContributorTypeOpensTheDetailsWithoutSwiping) {
    storeSession("s3", {{"contributors", Value("p1|speaker;p2|speaker")}});
    openSession("s3");
    ASSERT_TRUE(driver().tapRow(4, 1));
    settle();
    auto details = std::dynamic_pointer_cast<ParticipantDetailsViewController>(driver().frontViewController());
    ASSERT_TRUE(details);
    EXPECT_FALSE(details->isSwipeEnabled());
}

TEST_F(ProgrammeDetailsTest, TheNoteIsSentOnlyWhenItsTrimmedTextChanged) {
    auto screen = openContributorSession();
    EXPECT_EQ(rowHeight(*screen, 6), 54);
    auto cell = noteCell(*screen);
    ASSERT_TRUE(cell);
    auto text = cell->notesTextView();
    const std::string path = apiPath("notes/sessions/s1");
    auto sent = [&] { return writes("PUT", path) + writes("POST", path); };

    // A text taller than 136 points is refused.
    text->setFrame({text->frame().origin, {text->frame().size.width, 200}});
    ASSERT_TRUE(text->becomeFirstResponder());
    EXPECT_FALSE(text->replaceCharactersInRange({0, 0}, std::string(60, '\n')));
    EXPECT_EQ(text->text(), "");
    text->resignFirstResponder();
    settle();
    EXPECT_EQ(sent(), 0u);

    ASSERT_TRUE(text->typeText("Ask"));
    text->resignFirstResponder();
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return sent() == 1; }, kDetailsWait));
    EXPECT_EQ(tracked("Add note to session").size(), 1u);

    // Only trailing blanks and line ends added: nothing more is sent.
    ASSERT_TRUE(text->typeText("  \n"));
    text->resignFirstResponder();
    settle();
    EXPECT_EQ(text->text(), "Ask");
    EXPECT_EQ(sent(), 1u);

    // Cleared: an empty note goes, and the placeholder is back.
    ASSERT_TRUE(text->becomeFirstResponder());
    while (!text->text().empty()) text->deleteBackward();
    text->resignFirstResponder();
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return sent() == 2; }, kDetailsWait));
    EXPECT_FALSE(cell->placeholderLabel()->isHidden());
}

TEST_F(ProgrammeDetailsTest, TheNoteCannotBeEditedOfflineAndKeepsItsTextOnAServiceError) {
    auto screen = openContributorSession();
    auto text = noteCell(*screen)->notesTextView();
    online(false);
    EXPECT_FALSE(text->becomeFirstResponder());
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), std::optional<std::string>("No internet connection!"));
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Personal notes cannot be edited in offline mode."));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();

    online(true);
    service->injectFault("PUT", apiPath("notes/sessions/s1"), {.status = 500});
    service->injectFault("POST", apiPath("notes/sessions/s1"), {.status = 500});
    ASSERT_TRUE(text->typeText("Kept"));
    text->resignFirstResponder();
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return alert() && alert()->title() == std::optional<std::string>(Screen::kNoteFailedTitle); },
        kDetailsWait));
    EXPECT_EQ(text->text(), "Kept");
    // A reload of the screen (any save of the session) keeps the typed text,
    // and the store holds nothing the service did not take.
    screen->updateUiContentBecauseItsNeeded();
    table(*screen).reloadData();
    EXPECT_EQ(screen->sessionNote(), "Kept");
    EXPECT_EQ(noteCell(*screen)->notesTextView()->text(), "Kept");
    auto context = screen->coreDataStack()->managedObjectContextMainQueue();
    EXPECT_EQ(FetchRequestUtils::getNoteForSessionId("s1", context), std::nullopt);
}

TEST_F(ProgrammeDetailsTest, ARefusedNoteOutlivesBackAndGoesAgainWhenTheSessionOrParticipantOpensAgain) {
    grant("event:notes");
    storeSession("s1", {{"contributors", Value("p1|speaker")}, {"startDateString", Value("2026-06-16")},
                        {"sectionTitle", Value("09:00")}});
    ASSERT_TRUE(driver().tapTab(1));
    settle();
    auto tap = [&](int64_t section) {
        EXPECT_TRUE(driver().tapRow(section, 0));
        settle();
        auto front = driver().frontViewController();
        if (auto session = std::dynamic_pointer_cast<Screen>(front)) return uikit::UITableViewCellPtr(noteCell(*session));
        auto participant = std::dynamic_pointer_cast<ParticipantDetailsViewController>(front);
        return participant ? participant->tableView()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)) : nullptr;
    };
    expectRefusedNoteGoesAgain(true, "s1", [&] { return tap(0); });
    expectRefusedNoteGoesAgain(false, "p1", [&] { return tap(4); });
}

TEST_F(ProgrammeDetailsTest, ANoteKeptBeforeTheSessionEndedGoesWithTheNextSignInsToken) {
    storeNotableSession();
    const std::string path = apiPath("notes/sessions/s1");
    // The service has ended the session: the note is refused with 401.
    service->injectFault("PUT", path, {.status = 401, .body = R"({"error":"Invalid access token"})", .times = 1});
    ASSERT_NO_FATAL_FAILURE(typeNoteThatFails("Kept"));

    // The same user signs in again and is given a new token.
    service->addToken("second-token");
    openCurrent("second-token", service->eventId());
    signIn("second-token");
    grant("event:notes", "second-token");
    storeSession("s1", {}, "second-token");
    EXPECT_EQ(noteCell(*openSession("s1"))->notesTextView()->text(), "Kept");
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return service->requestCount("PUT", path) == 2; },
                                                     kDetailsWait));
    settle();
    EXPECT_EQ(service->writes().back().token, "second-token");
    EXPECT_FALSE(alert());
}

TEST_F(ProgrammeDetailsTest, ANoteOfASignInWithoutAUserIdOutlivesAFailedSave) {
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(
        Value::dictionary({{"accessToken", Value(token())}, {"user", Value::dictionary({{"firstName", "Ann"}})}})));
    storeNotableSession();
    const std::string path = apiPath("notes/sessions/s1");
    service->injectFault("PUT", path, {.status = 500, .times = 1});
    ASSERT_NO_FATAL_FAILURE(typeNoteThatFails("Kept"));
    ASSERT_TRUE(driver().back());
    settle();

    EXPECT_EQ(noteCell(*openSession("s1"))->notesTextView()->text(), "Kept");
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return service->requestCount("PUT", path) == 2; },
                                                     kDetailsWait));
}

// One sign-in per row on this home, through the login call with the name
// (or passcode) typed, or (no name) an account no login made: a
// row that types leaves its note waiting after a failed save; the others
// show and send the person's note, or show and send nothing.
TEST_F(ProgrammeDetailsTest, AKeptNoteGoesWithEverySignInOfItsPersonAndWithNoOneElses) {
    struct SignIn {
        const char* name;
        const char* token;
        Value userId;
        const char* note;
        bool types = false;
        bool byPasscode = false;
        // Acting for a login delegator, whose account the service gave the
        // base user's token.
        bool delegate = false;
    };
    const SignIn rows[] = {
        {"ann", "ann-1", Value(), "Ann's", true},
        {"ann", "ann-1", Value("10001"), "Ann's"},
        {"ann", "ann-2", Value(), "Ann's"},
        {"ann", "ann-3", Value("10001"), "Ann's"},
        {"bob", "bob-1", Value(), nullptr},
        {"bob", "bob-2", Value(""), nullptr},
        {"bob", "bob-3", Value(" "), nullptr},
        {"ann ", "ann-blank", Value(), nullptr},
        {"hal", "ann-2", Value(), nullptr},
        {"fay", "fay-1", Value(true), "Fay's", true},
        {"gus", "gus-1", Value(true), nullptr},
        {"ivy", "ivy-1", Value(0), "Ivy's", true},
        {"jo", "jo-1", Value("0"), nullptr},
        {"ivy", "ivy-2", Value("0"), "Ivy's"},
        {"kim", "kim-1", Value(-7), "Kim's", true},
        {"lee", "lee-1", Value("-7"), nullptr},
        {"cy", "cy-1", Value("10003"), "Cy's", true},
        {nullptr, "cy-1", Value(), "Cy's"},
        {"cy", "cy-1", Value(), "Cy's"},
        {"dee-code", "dee-1", Value(), "Dee's", true, true},
        {"dee-code", "dee-2", Value(), "Dee's", false, true},
        {"eve-code", "eve-1", Value(), nullptr, false, true},
        {nullptr, "dee-2", Value("20001"), nullptr, false, false, true},
        {"ann", "ann-4", Value(), "Ann's"},
    };
    const std::string path = apiPath("notes/sessions/s1");
    service->putItem(testservice::MeetingKind::Sessions, Value::dictionary({{"id", Value("s1")}}));
    std::set<std::string> opened;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name ? row.name : "(no login)") + " " + row.token + " " + row.userId.stringValue());
        Value user = Value::dictionary({{"firstName", Value(row.name ? row.name : "")}});
        if (row.userId) user["id"] = row.userId;
        service->mutate([&](testservice::MeetingData& data) {
            if (!row.name) return;
            auto account = std::find_if(data.accounts.begin(), data.accounts.end(), [&](const auto& each) {
                return (row.byPasscode ? each.passcode : each.username) == row.name;
            });
            if (account == data.accounts.end()) {
                account = data.accounts.insert(data.accounts.end(), testservice::MeetingAccount());
                (row.byPasscode ? account->passcode : account->username) = row.name;
                account->password = "pw";
            }
            account->accessToken = row.token;
            account->user = user;
        });
        if (opened.insert(row.token).second) {
            openCurrent(row.token, service->eventId());
            grant("event:notes", row.token);
            storeSession("s1", {}, row.token);
        }
        std::shared_ptr<QVAUserAccount> account;
        if (row.name) {
            auto& api = QVAApiManager::sharedApiManager();
            auto login = await([&](auto done) {
                if (row.byPasscode)
                    api.authenticateByPasscode(row.name, done);
                else
                    api.authenticateWithUsername(row.name, "pw", done);
            });
            account = login.result.objectAs<QVAUserAccount>();
        } else {
            account = QVAUserAccount::initWithDictionary(
                Value::dictionary({{"accessToken", Value(row.token)}, {"user", user}}));
        }
        ASSERT_TRUE(account);
        if (row.delegate)
            settings.setBaseUserWhenSwitchToDelegate(settings.currentAccount());
        else
            settings.resetUserDefaultsForkey(ApplicationSettingsStore::kBaseUserWhenSwitchToDelegateKey);
        settings.setCurrentAccount(account);

        const size_t sent = service->requestCount("PUT", path);
        if (row.note) service->injectFault("PUT", path, {.status = 500, .times = 1});
        if (row.types) {
            ASSERT_NO_FATAL_FAILURE(typeNoteThatFails(row.note));
            continue;
        }
        EXPECT_EQ(noteCell(*openSession("s1"))->notesTextView()->text(), row.note ? row.note : "");
        if (!row.note) {
            settle();
            EXPECT_EQ(service->requestCount("PUT", path), sent);
            continue;
        }
        EXPECT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return service->requestCount("PUT", path) == sent + 1; }, kDetailsWait));
        const auto log = service->requestLog();
        const auto put = std::find_if(log.rbegin(), log.rend(), [&](const auto& each) { return each.method == "PUT"; });
        ASSERT_NE(put, log.rend());
        EXPECT_EQ(put->authorization, "Bearer " + std::string(row.token));
        EXPECT_NE(put->body.find(row.note), std::string::npos) << put->body;
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
        alert()->dismissWithClickedButtonIndex(0, false);
        settle();
    }
}

TEST_F(ProgrammeDetailsTest, ANoteKeptByTheEarlierVersionIsShownAndSentAfterTheUpgrade) {
    storeNotableSession();
    const std::string key = settings.getKeyForAccount(settings.currentAccount(), settings.currentEvent());
    settings.setUserDefaultsForKey(
        UnsavedPersonalNote::kTokenKeyedUserDefaultsKey,
        Value::dictionary({{key, Value::dictionary({{"sessions/s1", Value("Typed before")}})},
                           {"other-token_7", Value::dictionary({{"sessions/s9", Value("Another's")}})}}));
    const std::string path = apiPath("notes/sessions/s1");
    EXPECT_EQ(noteCell(*openSession("s1"))->notesTextView()->text(), "Typed before");
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return service->requestCount("PUT", path) == 1; },
                                                     kDetailsWait));
    settle();
    ASSERT_FALSE(service->writes().empty());
    EXPECT_EQ(service->writes().back().path, path);
    // Only the note of the account that was current moved; another's waits.
    EXPECT_EQ(settings.getUserDefaultsForKey(UnsavedPersonalNote::kTokenKeyedUserDefaultsKey),
              Value::dictionary({{"other-token_7", Value::dictionary({{"sessions/s9", Value("Another's")}})}}));
}

// The last version kept notes by user id, or by token without one, the empty
// user id included: each goes to its own person only.
TEST_F(ProgrammeDetailsTest, ANoteKeptByTheLastVersionGoesToItsOwnPersonOnly) {
    struct Kept {
        const char* store;
        std::string owner;
        Value userId;
        bool shows;
        // Acting for a login delegator that the service gave this token.
        bool delegate = false;
    };
    const Kept rows[] = {
        {UnsavedPersonalNote::kUsersUserDefaultsKey, "10001", Value("10001"), true},
        {UnsavedPersonalNote::kTokensUserDefaultsKey, token(), Value(), true},
        {UnsavedPersonalNote::kUsersUserDefaultsKey, "", Value(""), false},
        {UnsavedPersonalNote::kUsersUserDefaultsKey, "10002", Value("10001"), false},
        {UnsavedPersonalNote::kTokensUserDefaultsKey, "another-token", Value(), false},
        {UnsavedPersonalNote::kTokensUserDefaultsKey, token(), Value("20001"), false, true},
    };
    storeNotableSession();
    const std::string path = apiPath("notes/sessions/s1");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.store) + " " + row.owner);
        for (const char* key : {UnsavedPersonalNote::kUserDefaultsKey, UnsavedPersonalNote::kUsersUserDefaultsKey,
                                UnsavedPersonalNote::kTokensUserDefaultsKey})
            settings.resetUserDefaultsForkey(key);
        const Value note = Value::dictionary({{"sessions/s1", Value::dictionary({{"text", Value("Earlier")}})}});
        settings.setUserDefaultsForKey(row.store, Value::dictionary({{row.owner, Value::dictionary({{service->eventId(), note}})}}));
        Value user;
        if (row.userId) user["id"] = row.userId;
        if (row.delegate)
            settings.setBaseUserWhenSwitchToDelegate(settings.currentAccount());
        else
            settings.resetUserDefaultsForkey(ApplicationSettingsStore::kBaseUserWhenSwitchToDelegateKey);
        settings.setCurrentAccount(QVAUserAccount::initWithDictionary(
            Value::dictionary({{"accessToken", Value(token())}, {"user", user}})));
        // A failed save, so the stored note stays empty for the next row.
        service->injectFault("PUT", path, {.status = 500, .times = 1});
        const size_t sent = service->requestCount("PUT", path);
        EXPECT_EQ(noteCell(*openSession("s1"))->notesTextView()->text(), row.shows ? "Earlier" : "");
        if (row.shows) {
            ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
            alert()->dismissWithClickedButtonIndex(0, false);
        }
        settle();
        EXPECT_EQ(service->requestCount("PUT", path), sent + (row.shows ? 1 : 0));
        service->clearFaults();
    }
}

TEST_F(ProgrammeDetailsTest, AKeptNoteGoesAgainOncePerOpeningAndAfterARefusalForGoodOnlyWithAnEdit) {
    grant("event:notes");
    storeSession("s1", {{"startDateString", Value("2026-06-16")}, {"sectionTitle", Value("09:00")}});
    storeSession("s2", {{"startDateString", Value("2026-06-16")}, {"sectionTitle", Value("10:00")},
                        {"startDatetime", Value("2026-06-16T10:00:00+02:00")}});
    service->putItem(testservice::MeetingKind::Sessions, Value::dictionary({{"id", Value("s1")}}));
    const std::string path = apiPath("notes/sessions/s1");
    auto puts = [&] { return service->requestCount("PUT", path); };
    auto front = [&] { return std::dynamic_pointer_cast<Screen>(driver().frontViewController()); };
    auto dismissAlert = [&] {
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
        alert()->dismissWithClickedButtonIndex(0, false);
        settle();
    };
    auto openFromList = [&] {
        if (front()) {
            EXPECT_TRUE(driver().back());
            settle();
        }
        EXPECT_TRUE(driver().tapRow(0, 0));
        settle();
        return front();
    };
    ASSERT_TRUE(driver().tapTab(1));
    settle();
    service->injectFault("PUT", path, {.status = 500, .times = 1});
    auto text = noteCell(*openFromList())->notesTextView();
    ASSERT_TRUE(text->typeText("Kept"));
    text->resignFirstResponder();
    dismissAlert();
    EXPECT_EQ(puts(), 1u);

    // Swiped away and back within the same opening: not sent again.
    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Left));
    settle();
    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Right));
    settle();
    ASSERT_TRUE(front() && front()->sessionId() == "s1");
    EXPECT_EQ(noteCell(*front())->notesTextView()->text(), "Kept");
    EXPECT_EQ(puts(), 1u);

    // Opened again: sent once more, and refused for good.
    service->injectFault("PUT", path, {.status = 404});
    ASSERT_TRUE(openFromList());
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return alert() != nullptr; }, kDetailsWait));
    EXPECT_EQ(alert()->title(), std::optional<std::string>(Screen::kNoteFailedTitle));
    EXPECT_EQ(alert()->message(), std::optional<std::string>(UnsavedPersonalNote::kRefusedMessage));
    dismissAlert();
    EXPECT_EQ(puts(), 2u);
    for (int reopening = 0; reopening < 2; ++reopening) {
        auto screen = openFromList();
        ASSERT_TRUE(screen);
        EXPECT_EQ(noteCell(*screen)->notesTextView()->text(), "Kept");
    }
    EXPECT_EQ(puts(), 2u);
    EXPECT_FALSE(alert());

    // The next edit sends it.
    text = noteCell(*front())->notesTextView();
    ASSERT_TRUE(text->typeText(" again"));
    text->resignFirstResponder();
    dismissAlert();
    EXPECT_EQ(puts(), 3u);
}

TEST_F(ProgrammeDetailsTest, AnAgendaRowShowsAndSendsTheNoteOfItsSession) {
    grant("event:notes");
    storeSession("s1", {});
    insert(token(), "QVACoreDataAgendaSelection",
           {{{"itemId", Value("s1")}, {"agendaItemId", Value("sel-s1")}, {"title", Value("Opening")},
             {"startDatetime", Value("2026-06-16T09:00:00+02:00")}}},
           service->eventId());
    insert(token(), "QVACoreDataSessionNote", {{{"sessionId", Value("s1")}, {"note", Value("Bring slides")}}},
           service->eventId());
    auto screen = open("QVACoreDataAgendaRole", "sel-s1");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->sessionId(), "s1");
    EXPECT_EQ(screen->sessionNote(), "Bring slides");
    auto text = noteCell(*screen)->notesTextView();
    EXPECT_EQ(text->text(), "Bring slides");
    // The lists mark the rows whose session has a note: the same session.
    const auto marked = FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(
        screen->coreDataStack()->managedObjectContextMainQueue());
    EXPECT_EQ(marked, std::vector<std::string>{"s1"});

    ASSERT_TRUE(text->typeText(" and notes"));
    text->resignFirstResponder();
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return writes("PUT", apiPath("notes/sessions/s1")) == 1; }, kDetailsWait));
    EXPECT_EQ(writes("PUT", apiPath("notes/sessions/sel-s1")), 0u);
    auto sent = tracked("Add note to session");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().properties.at("Session id"), "s1");
}

TEST_F(ProgrammeDetailsTest, TheStarAsksOnlineAndFollowsTheParticipant) {
    grant("relationships:write");
    auto screen = openContributorSession();
    auto cellAt = [&] {
        return std::dynamic_pointer_cast<ParticipantCell>(table(*screen).cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 4)));
    };
    online(false);
    cellAt()->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), std::optional<std::string>("Unable to complete request!"));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_EQ(service->writes().size(), 0u);

    online(true);
    cellAt()->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    // The star turns before the service has the follow: wait for both.
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] {
            return cellAt() && cellAt()->favoriteButton()->isFavorite() &&
                   writes("POST", "/api/v1/user/relationships") > 0;
        },
        kDetailsWait));
    settle();
    EXPECT_EQ(writes("POST", "/api/v1/user/relationships"), 1u);
}

TEST_F(ProgrammeDetailsTest, TheLocationLinkOpensTheIndoorMapOnlyForThePrimaryVenueWithFloors) {
    storeSession("in", {{"roomId", Value("r1")}});
    storeSession("out", {{"roomId", Value("r2")}});
    storeSession("unknown", {{"roomId", Value("r9")}});
    storeSession("none", {});
    auto follow = [&](const char* id) -> std::string {
        auto screen = openSession(id);
        screen->locationButtonTapped();
        settle();
        auto front = driver().frontViewController();
        if (auto location = std::dynamic_pointer_cast<LocationDetailsViewController>(front))
            return "segue " + location->entityName().value_or("") + " " + location->selectionPropertyId().value_or("-");
        if (std::dynamic_pointer_cast<InteractiveMapsDetailsViewController>(front)) return "map";
        return front ? front->className() : "none";
    };
    EXPECT_EQ(follow("in"), "map");
    EXPECT_EQ(follow("out"), "segue QVACoreDataRoom r2");
    EXPECT_EQ(follow("unknown"), "map");
    EXPECT_EQ(follow("none"), "segue QVACoreDataRoom -");
}

TEST_F(ProgrammeDetailsTest, APersonalEntryShowsRemoveAndEditWithItsPermissionOnly) {
    insert(token(), "QVACoreDataPersonalEntry",
           {{{"itemId", Value("pe1")}, {"agendaItemId", Value("pe1")}, {"title", Value("Call")},
             {"startDatetime", Value("2026-06-16T07:00:00+02:00")}}},
           service->eventId());
    auto titles = [](Screen& screen) {
        std::vector<std::string> out;
        for (const auto& item : screen.navigationItem()->rightBarButtonItems())
            out.push_back(item->displayTitle().value_or("") + (item->isEnabled() ? " on" : " off"));
        return out;
    };
    auto without = open("QVACoreDataAgendaRole", "pe1");
    EXPECT_TRUE(titles(*without).empty());
    EXPECT_EQ(table(*without).numberOfSections(), 0);

    grant("my_agenda:personal_entries");
    auto screen = open(QVACoreDataPersonalEntry::kEntityName, "pe1");
    EXPECT_EQ(titles(*screen), (std::vector<std::string>{"Remove on", "Edit on"}));
    online(false);
    EXPECT_EQ(titles(*screen), (std::vector<std::string>{"Remove off", "Edit off"}));
    // A session shows neither.
    storeSession("s0", {});
    online(true);
    EXPECT_TRUE(titles(*openSession("s0")).empty());
}

TEST_F(ProgrammeDetailsTest, RemovingAPersonalEntryDeletesItOrKeepsItOnAnError) {
    grant("my_agenda:personal_entries");
    insert(token(), "QVACoreDataPersonalEntry",
           {{{"itemId", Value("pe1")}, {"agendaItemId", Value("pe1")}, {"title", Value("Call")}},
            {{"itemId", Value("pe2")}, {"agendaItemId", Value("pe2")}, {"title", Value("Lunch")}}},
           service->eventId());
    auto stored = [&](const char* id) {
        for (const auto& row : rows<QVACoreDataPersonalEntry>(token(), service->eventId()))
            if (row->itemId() == std::optional<std::string>(id)) return true;
        return false;
    };
    for (const char* id : {"pe1", "pe2"})
        service->putItem(testservice::MeetingKind::PersonalEntries,
                         Value::dictionary({{"id", id}, {"title", "Entry"},
                                            {"startDatetime", "2026-06-16T07:00:00+02:00"},
                                            {"endDatetime", "2026-06-16T08:00:00+02:00"}}));
    service->injectFault("DELETE", apiPath("my_agenda/personal_entries/pe2"), {.status = 500});
    open(QVACoreDataPersonalEntry::kEntityName, "pe2");
    ASSERT_TRUE(driver().tapItem("Remove"));
    ASSERT_TRUE(driver().answerAlert("Yes"));
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return alert() && alert()->title() == std::optional<std::string>(Screen::kRemoveFailedTitle); },
        kDetailsWait));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_TRUE(stored("pe2"));

    auto screen = open(QVACoreDataPersonalEntry::kEntityName, "pe1");
    ASSERT_TRUE(driver().tapItem("Remove"));
    ASSERT_TRUE(driver().answerAlert("Yes"));
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return !stored("pe1"); }, kDetailsWait));

    settle();
    EXPECT_EQ(writes("DELETE", apiPath("my_agenda/personal_entries/pe1")), 1u);
    EXPECT_EQ(tracked("Removed personal entry").size(), 1u);
    EXPECT_NE(driver().frontViewController(), screen);
}

TEST_F(ProgrammeDetailsTest, RemovingAPersonalEntryTakesItsMirroredEventOffTheDeviceCalendar) {
    using namespace eventkit;
    grant("my_agenda:personal_entries");
    storeSession("s1", {});
    insert(token(), "QVACoreDataPersonalEntry",
           {{{"itemId", Value("pe1")}, {"agendaItemId", Value("pe1")}, {"title", Value("Call")},
             {"startDatetime", Value("2026-06-16T07:00:00+02:00")},
             {"endDatetime", Value("2026-06-16T07:45:00+02:00")}}},
           service->eventId());
    service->putItem(testservice::MeetingKind::PersonalEntries,
                     Value::dictionary({{"id", "pe1"}, {"title", "Call"},
                                        {"startDatetime", "2026-06-16T07:00:00+02:00"},
                                        {"endDatetime", "2026-06-16T07:45:00+02:00"}}));
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    auto calendars = ApplicationService::syncCalendarService();
    auto device = calendars->eventStore();
    auto calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                        EKCalendarType::Exchange, true);
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    settings.setSyncWithCalendar(true);
    auto mirrored = [&] {
        return device
            ->eventsMatchingPredicate(device->predicateForEventsWithStartDate(
                foundation::Date::distantPast(), foundation::Date::distantFuture(), std::vector<EKCalendarPtr>{calendar}))
            .size();
    };
    calendars->syncMyAgendaWithDeviceCalendar(calendar, token(), service->eventId(), nullptr);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return mirrored() == 1; }, kDetailsWait));

    open(QVACoreDataPersonalEntry::kEntityName, "pe1");
    ASSERT_TRUE(driver().tapItem("Remove"));
    ASSERT_TRUE(driver().answerAlert("Yes"));
    settle();
    EXPECT_EQ(writes("DELETE", apiPath("my_agenda/personal_entries/pe1")), 1u);
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return mirrored() == 0; }, kDetailsWait));

    settings.setSyncWithCalendar(false);
    device->removeCalendar(calendar);
}

class PadProgrammeDetailsTest : public ProgrammeDetailsTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadProgrammeDetailsTest, TheEditorOpensInAPopoverThatOnlyItsOwnUnwindCloses) {
    grant("my_agenda:personal_entries");
    storeSession("s1", {});
    insert(token(), "QVACoreDataPersonalEntry",
           {{{"itemId", Value("pe1")}, {"agendaItemId", Value("pe1")}, {"title", Value("Call")},
             {"startDatetime", Value("2026-06-16T07:00:00+02:00")},
             {"endDatetime", Value("2026-06-16T07:45:00+02:00")}}},
           service->eventId());
    auto screen = open(QVACoreDataPersonalEntry::kEntityName, "pe1");
    ASSERT_TRUE(screen);
    auto edit = screen->navigationItem()->rightBarButtonItems().at(1);
    ASSERT_TRUE(edit->tap());
    settle();
    auto popover = screen->popoverForEditPersonalEntry();
    ASSERT_TRUE(popover && popover->isPopoverVisible());
    EXPECT_EQ(popover->presentingBarButtonItem(), edit);
    auto holder = std::dynamic_pointer_cast<uikit::UINavigationController>(popover->contentViewController());
    ASSERT_TRUE(holder);
    auto form = std::dynamic_pointer_cast<AddPersonalEntryViewController>(holder->topViewController());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->selectionPropertyId(), std::optional<std::string>("pe1"));

    // A tap outside keeps it, and "Edit" opens no second one meanwhile.
    popover->tapOutside();
    EXPECT_TRUE(popover->isPopoverVisible());
    ASSERT_TRUE(edit->tap());
    settle();
    EXPECT_EQ(screen->popoverForEditPersonalEntry(), popover);
    EXPECT_EQ(holder->viewControllers().size(), 1u);

    // The form's own way out closes it at once and lets it go.
    form->onCancelAddEntryExecuted(nullptr);
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_FALSE(popover->lastDismissalAnimated());
    EXPECT_FALSE(popover->delegate());
    EXPECT_FALSE(screen->popoverForEditPersonalEntry());
    ASSERT_TRUE(edit->tap());
    settle();
    ASSERT_TRUE(screen->popoverForEditPersonalEntry());
    EXPECT_NE(screen->popoverForEditPersonalEntry(), popover);
    screen->unwindPersonalEntry();
}

TEST_F(ProgrammeDetailsTest, DrawingTheHeaderAgainNeverAddsAnotherOverlay) {
    auto screen = openContributorSession();
    auto header = screen->sessionHeaderView();
    ASSERT_TRUE(header);
    for (int i = 0; i < 3; ++i) header->drawRect(header->bounds());
    auto background = header->headerBackgroundImage();
    EXPECT_EQ(background->subviews().size(), 1u);
    size_t gradients = 0;
    for (const auto& layer : background->layer()->sublayers())
        if (std::dynamic_pointer_cast<graphics::GradientLayer>(layer)) ++gradients;
    EXPECT_EQ(gradients, 1u);
    EXPECT_EQ(background->image() ? background->image()->name() : std::nullopt,
              std::optional<std::string>("session_header_placeholder.jpg"));
}

}  // namespace

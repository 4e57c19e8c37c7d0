// The home screen over a store: the mode by the meeting's last day, each
// section's query, the merge of agenda entries with official sessions, the
// caps and "more" rows, and which saves reload it.
#include "programme/SpotlightViewController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/ShellTestSupport.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "model/QVAEvent.h"
#include "model/QVANotification.h"
#include "model/QVAParticipant.h"
#include "people/ParticipantCell.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SpotlightNotificationCellTableViewCell.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "uikit/UILabel.h"
#include "uikit/UITableViewCell.h"

namespace {

using foundation::Value;
using Home = SpotlightViewController;
using Row = meetingtest::Row;
using Strings = std::vector<std::string>;

// The meeting runs 9–11 March 2015 in +01:00. The fixture's clock starts at
// 2015-03-10T08:30:00Z, 09:30 in the meeting.
constexpr const char* kHomeToken = "home-token";
// 2015-03-11T23:00:00Z: midnight of 12 March in +01:00, one day after the
// last day's midnight.
constexpr double kMeetingEnd = 447669000.0 + 86400 + 52200;

Row session(const std::string& id, const std::string& start, const std::string& end) {
    return {{"itemId", id},
            {"title", "Session " + id},
            {"startDatetime", "2015-03-10T" + start + ":00+01:00"},
            {"endDatetime", "2015-03-10T" + end + ":00+01:00"}};
}

class SpotlightTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        openCurrent(kHomeToken);
        settings.setCurrentEvent(QVAEvent::initWithDictionary(
            Value::dictionary({{"id", "42"}, {"startDate", "2015-03-09"}, {"endDate", "2015-03-11"}})));
    }

    // Two running sessions (one starting exactly now), one ended, eight to come.
    void insertDay() {
        std::vector<Row> rows{session("run", "09:00", "10:00"), session("now", "09:30", "10:30"),
                              session("past", "08:00", "09:00")};
        for (int i = 1; i <= 8; ++i) {
            const std::string hour = std::to_string(10 + i);
            rows.push_back(session("f" + std::to_string(i), hour + ":00", hour + ":30"));
        }
        insert(kHomeToken, "QVACoreDataSession", rows);
    }
    // Followed participants whose contributions name the sessions.
    void follow(const std::vector<std::pair<std::string, std::string>>& contributions) {
        std::vector<Row> participants, followed;
        for (const auto& [id, text] : contributions) {
            participants.push_back({{"itemId", id}, {"fullName", "Name " + id}, {"contributions", text}});
            followed.push_back({{"itemId", id}});
        }
        insert(kHomeToken, "QVACoreDataParticipant", participants);
        insert(kHomeToken, "QVACoreDataFollowedParticipant", followed);
    }
    void noteSessions(const Strings& ids) {
        std::vector<Row> notes;
        for (const auto& id : ids) notes.push_back({{"sessionId", id}, {"note", "to read"}});
        insert(kHomeToken, "QVACoreDataSessionNote", notes);
    }

    std::shared_ptr<Home> launchHome() {
        launch();
        auto home = rootOfTab<Home>(0);
        EXPECT_TRUE(home && home->isViewLoaded());
        return home;
    }

    static int64_t rowsIn(Home& home, int64_t section) {
        return home.tableViewNumberOfRowsInSection(*home.homeTableView(), section);
    }
    static std::optional<std::string> cellText(Home& home, int64_t section, int64_t row) {
        auto cell = home.tableViewCellForRowAtIndexPath(*home.homeTableView(),
                                                        uikit::NSIndexPath::indexPathForRow(row, section));
        if (auto session = std::dynamic_pointer_cast<SpotlightSessionTableViewCell>(cell)) return session->titleLabel()->text();
        if (auto notification = std::dynamic_pointer_cast<SpotlightNotificationCellTableViewCell>(cell))
            return notification->messageLabel()->text();
        if (auto participant = std::dynamic_pointer_cast<ParticipantCell>(cell)) return participant->participantTitle()->text();
        return cell ? cell->textLabel()->text() : std::nullopt;
    }
    // The ids of a section's session rows, in order.
    static Strings ids(Home& home, int64_t section) {
        Strings out;
        auto model = home.sectionModelForSection(section);
        if (!model) return out;
        for (const auto& item : model->modelItems())
            if (auto row = std::dynamic_pointer_cast<SpotlightSessionModel>(item)) out.push_back(row->itemId().value_or(""));
        return out;
    }
    static double headerHeight(Home& home, int64_t section) {
        return home.tableViewHeightForHeaderInSection(*home.homeTableView(), section).value_or(-1);
    }
};

TEST_F(SpotlightTest, DuringTheMeetingShowsWhatRunsWhatComesAndStarredSessions) {
    insertDay();
    follow({{"p1", "f1|speaker;f2|chair"}, {"p2", "f3|speaker;f4|chair;f5|speaker;past|speaker"}, {"p3", ""}});
    insert(kHomeToken, "QVACoreDataParticipant", {{{"itemId", "p4"}, {"contributions", "f6|speaker"}}});
    foundation::ScopedLogCapture log;
    auto home = launchHome();
    ASSERT_TRUE(home);

    EXPECT_TRUE(log.contains(Home::kBeforeOrDuringMeetingLog));
    EXPECT_FALSE(home->isCurrentMeetingInThePast());
    EXPECT_EQ(ids(*home, Home::kWhatsOnNowSection), (Strings{"run", "now"}));
    EXPECT_EQ(ids(*home, Home::kComingUpSection), (Strings{"f1", "f2", "f3", "f4", "f5", "f6"}));
    EXPECT_EQ(rowsIn(*home, Home::kComingUpSection), 6);
    EXPECT_EQ(home->sectionModelForSection(Home::kComingUpSection)->numberOfAvailableItems(), 0u);

    // The ended session of a starred participant is left out, the rest capped at 3.
    auto starred = home->sessionsWithStarredParticipantsSectionModel();
    ASSERT_TRUE(starred);
    EXPECT_EQ(ids(*home, Home::kStarredParticipantsSessionsSection), (Strings{"f1", "f2", "f3"}));
    EXPECT_EQ(starred->numberOfAvailableItems(), 5u);
    EXPECT_EQ(rowsIn(*home, Home::kStarredParticipantsSessionsSection), 4);
    EXPECT_EQ(cellText(*home, Home::kStarredParticipantsSessionsSection, 3),
              std::string("View all starred participants' sessions"));
    EXPECT_EQ(cellText(*home, Home::kWhatsOnNowSection, 0), std::string("Session run"));

    // Sections 5 and 6 are not loaded during the meeting.
    EXPECT_EQ(home->sessionsWithNotesSectionModel(), nullptr);
    EXPECT_EQ(home->participantsWithNotesSectionModel(), nullptr);
    for (int64_t section : {int64_t{0}, Home::kSessionsWithNotesSection, Home::kParticipantsWithNotesSection}) {
        EXPECT_EQ(rowsIn(*home, section), 0);
        EXPECT_EQ(headerHeight(*home, section), 0);
    }
    EXPECT_EQ(headerHeight(*home, Home::kComingUpSection), 23);

    // The "more" block opens the sessions tab filtered by starred participants.
    insert(kHomeToken, "QVACoreDataPermission", {{{"code", Value("relationships:read")}, {"granted", Value(true)}}});
    starred->moreActionBlock()();
    settle();
    EXPECT_EQ(tabBar()->selectedIndex(), 1);
    auto sessions = std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(tabBar()->viewControllers().at(1));
    ASSERT_TRUE(sessions);
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(sessions->topViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->buildFilterCaptionTextForFilters(list->filtersArray()), "With starred participants");
}

TEST_F(SpotlightTest, AgendaEntriesStandForTheirSessionAndNotificationsNewestFirst) {
    insert(kHomeToken, "QVACoreDataSession", {session("s1", "09:00", "10:00"), session("s2", "09:15", "10:00")});
    auto selection = session("s1", "09:00", "10:00");
    selection["agendaItemId"] = "sel1";
    insert(kHomeToken, "QVACoreDataAgendaSelection", {selection});
    insert(kHomeToken, "QVACoreDataNotification",
           {{{"itemId", "n1"}, {"message", "Older"}, {"creation_date", "2015-03-09T10:00:00+01:00"}, {"acknowledged", false}},
            {{"itemId", "n2"}, {"message", "Newer"}, {"creation_date", "2015-03-10T08:00:00+01:00"}, {"acknowledged", false}},
            {{"itemId", "n3"}, {"message", "Read"}, {"creation_date", "2015-03-10T09:00:00+01:00"}, {"acknowledged", true}}});
    auto home = launchHome();
    ASSERT_TRUE(home);

    auto rowAt = [&](size_t index) {
        return std::dynamic_pointer_cast<SpotlightSessionModel>(
            home->sectionModelForSection(Home::kWhatsOnNowSection)->modelItems().at(index));
    };
    EXPECT_EQ(ids(*home, Home::kWhatsOnNowSection), (Strings{"s1", "s2"}));
    EXPECT_EQ(rowAt(0)->sessionType(), SpotlightSessionModel::kOtherAgendaItem);
    EXPECT_EQ(rowAt(0)->agendaItemId(), std::string("sel1"));
    EXPECT_EQ(rowAt(1)->sessionType(), SpotlightSessionModel::kOfficialSession);

    // An invitation wins over the selection; the save reloads the screen.
    auto invitation = session("s1", "09:00", "10:00");
    invitation["agendaItemId"] = "inv1";
    insert(kHomeToken, "QVACoreDataAgendaInvitation", {invitation});
    settle();
    EXPECT_EQ(ids(*home, Home::kWhatsOnNowSection), (Strings{"s1", "s2"}));
    EXPECT_EQ(rowAt(0)->agendaItemId(), std::string("inv1"));

    EXPECT_EQ(rowsIn(*home, Home::kNotificationsSection), 2);
    EXPECT_EQ(cellText(*home, Home::kNotificationsSection, 0), std::string("Newer"));
    EXPECT_EQ(cellText(*home, Home::kNotificationsSection, 1), std::string("Older"));
}

TEST_F(SpotlightTest, AfterTheMeetingSharesOneCapOverStarredAndNotedSections) {
    foundation::Clock::useVirtual(kMeetingEnd);
    insertDay();
    follow({{"p1", "f1|speaker;f2|chair"}, {"p2", "past|speaker;f4|chair"}});
    noteSessions({"run", "now", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"});
    foundation::ScopedLogCapture log;
    auto home = launchHome();
    ASSERT_TRUE(home);

    EXPECT_TRUE(log.contains(Home::kAfterMeetingLog));
    EXPECT_TRUE(home->isCurrentMeetingInThePast());
    EXPECT_EQ(home->sectionModelForSection(Home::kWhatsOnNowSection), nullptr);
    EXPECT_EQ(home->sectionModelForSection(Home::kComingUpSection), nullptr);
    // Two non-empty sections: 3 rows each and a "more" row. Ended sessions count after the meeting.
    EXPECT_EQ(ids(*home, Home::kStarredParticipantsSessionsSection), (Strings{"past", "f1", "f2"}));
    EXPECT_EQ(rowsIn(*home, Home::kStarredParticipantsSessionsSection), 4);
    EXPECT_EQ(rowsIn(*home, Home::kSessionsWithNotesSection), 4);
    EXPECT_EQ(cellText(*home, Home::kSessionsWithNotesSection, 3), std::string("View all sessions with notes"));
    EXPECT_EQ(rowsIn(*home, Home::kParticipantsWithNotesSection), 0);

    // All three non-empty: 2 rows each.
    insert(kHomeToken, "QVACoreDataParticipantNote", {{{"participantId", "p1"}, {"note", "met"}}});
    settle();
    EXPECT_EQ(home->sessionsWithStarredParticipantsSectionModel()->modelItems().size(), 2u);
    EXPECT_EQ(home->sessionsWithNotesSectionModel()->modelItems().size(), 2u);
    EXPECT_EQ(rowsIn(*home, Home::kParticipantsWithNotesSection), 1);
    EXPECT_EQ(cellText(*home, Home::kParticipantsWithNotesSection, 0), std::string("Name p1"));

    // One second before the end the meeting is still on.
    foundation::Clock::useVirtual(kMeetingEnd - 1);
    home->refreshDataAndTable();
    EXPECT_FALSE(home->isCurrentMeetingInThePast());
    EXPECT_TRUE(log.contains(Home::kBeforeOrDuringMeetingLog));
}

TEST_F(SpotlightTest, AloneASectionShowsUpToFiveAndNoMoreRowAtExactlyItsCap) {
    foundation::Clock::useVirtual(kMeetingEnd);
    insertDay();
    noteSessions({"f1", "f2", "f3", "f4", "f5"});
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_EQ(rowsIn(*home, Home::kSessionsWithNotesSection), 5);
    EXPECT_FALSE(home->sessionsWithNotesSectionModel()->hasMoreAction());

    noteSessions({"f6"});
    settle();
    EXPECT_EQ(ids(*home, Home::kSessionsWithNotesSection), (Strings{"f1", "f2", "f3", "f4", "f5"}));
    EXPECT_EQ(rowsIn(*home, Home::kSessionsWithNotesSection), 6);
}

TEST_F(SpotlightTest, OnlySavesOfObservedKindsReloadOncePerSave) {
    insertDay();
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_TRUE(home->isObservingSaves());
    auto countRefreshes = [](const foundation::ScopedLogCapture& log) {
        auto lines = log.lines();
        return std::count(lines.begin(), lines.end(), std::string(Home::kRefreshLog));
    };

    foundation::ScopedLogCapture log;
    insert(kHomeToken, "QVACoreDataParticipant", {{{"itemId", "p7"}, {"fullName", "Ada"}}});
    settle();
    EXPECT_EQ(countRefreshes(log), 0);

    noteSessions({"f1", "f2"});
    settle();
    EXPECT_EQ(countRefreshes(log), 1);
    EXPECT_EQ(home->personalNoteIdsArray().size(), 2u);

    // A save of another store's main-queue context is not this screen's.
    auto other = open("other-token");
    insert("other-token", "QVACoreDataSessionNote", {{{"sessionId", "f3"}, {"note", "x"}}});
    settle();
    EXPECT_EQ(countRefreshes(log), 1);

    log.clear();
    home->onApplicationWillEnterForeground();
    EXPECT_TRUE(log.contains(Home::kForegroundRefreshLog));
}

TEST_F(SpotlightTest, AnEmptyStoreGivesSevenEmptySections) {
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_EQ(home->numberOfSectionsInTableView(*home->homeTableView()), 7);
    for (int64_t section = 0; section < Home::kNumberOfSections; ++section) {
        EXPECT_EQ(rowsIn(*home, section), 0) << section;
        EXPECT_EQ(headerHeight(*home, section), 0) << section;
    }
    EXPECT_FALSE(home->tableHasAtLeastSomethingToBeDisplayed());
    EXPECT_EQ(home->tableViewTitleForHeaderInSection(*home->homeTableView(), 0), std::string(""));
    EXPECT_EQ(home->dataSourceDictionary().size(), 4u);  // the sections loaded during the meeting

    // Each load replaces the dictionary.
    insert(kHomeToken, "QVACoreDataNotification", {{{"itemId", "n1"}, {"message", "Hi"}, {"acknowledged", false}}});
    settle();
    EXPECT_TRUE(home->tableHasAtLeastSomethingToBeDisplayed());
}

TEST_F(SpotlightTest, WithoutAStoreTheScreenObservesNoSaves) {
    settings.clear();
    auto home = std::make_shared<Home>();
    home->loadViewIfNeeded();
    EXPECT_FALSE(home->isObservingSaves());
    EXPECT_FALSE(home->tableHasAtLeastSomethingToBeDisplayed());
    open("elsewhere");
    EXPECT_NO_THROW({
        insert("elsewhere", "QVACoreDataSessionNote", {{{"sessionId", "s1"}, {"note", "x"}}});
        settle();
    });
    // Reloading is the main thread's only.
    std::string raised;
    std::thread worker([&] {
        try {
            home->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& exception) {
            raised = exception.name();
        }
    });
    worker.join();
    EXPECT_EQ(raised, Home::kOffMainThreadUpdateException);
}

class PadSpotlightTest : public SpotlightTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadSpotlightTest, TheDetailPaneIsTheHomeWithThePadsStarredTexts) {
    insertDay();
    follow({{"p1", "f1|speaker;f2|chair;f3|chair;f4|speaker"}});
    launch();
    auto pane = detail();
    ASSERT_TRUE(pane && !pane->viewControllers().empty());
    auto home = std::dynamic_pointer_cast<Home>(pane->viewControllers().front());
    ASSERT_TRUE(home && home->isViewLoaded());
    EXPECT_EQ(home->tableViewTitleForHeaderInSection(*home->homeTableView(), Home::kStarredParticipantsSessionsSection),
              std::string("Sessions with my starred participants"));
    EXPECT_EQ(rowsIn(*home, Home::kStarredParticipantsSessionsSection), 4);
    EXPECT_EQ(cellText(*home, Home::kStarredParticipantsSessionsSection, 3),
              std::string("View all sessions with my starred participants"));
}

TEST(SpotlightSectionTitles, FollowTheIdiomAtEveryRequest) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPad());
    EXPECT_EQ(Home::titleForSection(4), "Sessions with my starred participants");
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    EXPECT_EQ(Home::titleForSection(4), "Starred participants' sessions");
    EXPECT_EQ(Home::titleForSection(1), "Notifications");
    EXPECT_EQ(Home::titleForSection(6), "Participants with notes");
}

}  // namespace

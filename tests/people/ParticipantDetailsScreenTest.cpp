// One participant's details as the lists open them: the contribution rows
// and the sessions they open, the note and profile sections, the bar items,
// the recommendations row, the composer, following, and the header with
// its photo.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "PeopleScreensTestSupport.h"
#include "addressbook/ABAddressBook.h"
#include "addressbook/ABPersonViewControllers.h"
#include "app/BaseViewController.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "lists/DetailNavigationCell.h"
#include "lists/DetailsNavigationDataModel.h"
#include "lists/IdIndexPair.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVACoreDataSession.h"
#include "model/QVAUserAccount.h"
#include "people/DetailHeaderGeometry.h"
#include "people/MessageComposerViewController.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/ParticipantExtraInfoViewController.h"
#include "people/ParticipantRecommendationsViewController.h"
#include "people/ParticipantRowActions.h"
#include "people/QVAParticipantHeaderView.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/QVAPersonalNoteCell.h"
#include "service/TestImages.h"
#include "service/TestServer.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIButton.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"

namespace {

using foundation::Value;
using Row = meetingtest::Row;
using Screen = ParticipantDetailsViewController;

class ParticipantDetailsScreenTest : public peopletest::PeopleScreensTest {
protected:
    void grant(std::vector<const char*> codes) {
        std::vector<Row> rows;
        for (const char* code : codes) rows.push_back({{"code", Value(code)}, {"granted", Value(true)}});
        insert(kToken, QVACoreDataPermission::kEntityName, rows);
    }
    void insertParticipant(Row extra = {}) {
        Row row{{"itemId", Value("p1")},      {"fullName", Value("Jo Lane")},    {"firstName", Value("Jo")},
                {"lastName", Value("Lane")},  {"positionTitle", Value("Chair")}, {"organizationName", Value("Acme")},
                {"organizationId", Value("o1")}, {"contributions", Value("s1|speaker;s1|chair;s2|moderator")}};
        for (auto& [key, value] : extra) row[key] = value;
        insert(kToken, QVACoreDataParticipant::kEntityName, {row});
    }
    void insertSessions() {
        insert(kToken, QVACoreDataSession::kEntityName,
               {{{"itemId", Value("s1")}, {"title", Value("Energy")}, {"startDatetime", Value("2026-06-16T09:00:00+02:00")}},
                {{"itemId", Value("s2")}, {"title", Value("Water")}, {"startDatetime", Value("2026-06-16T11:00:00+02:00")}}});
    }
    std::shared_ptr<Screen> showParticipant(const char* id = "p1") {
        auto screen = BaseViewController::instantiateViewController<Screen>();
        screen->setSelectionPropertyId(std::string(id));
        screen->setEntityName(std::string(QVACoreDataParticipant::kEntityName));
        show(screen);
        return screen;
    }
    static int64_t rows(Screen& screen, int64_t section) {
        return screen.tableViewNumberOfRowsInSection(*screen.tableView(), section);
    }
    static std::vector<std::string> barTitles(Screen& screen) {
        std::vector<std::string> titles;
        for (const auto& item : screen.navigationItem()->rightBarButtonItems())
            titles.push_back(item->displayTitle().value_or(""));
        return titles;
    }
    bool waitFor(const std::function<bool()>& done) {
        return foundation::RunLoop::main().runUntil(done, apitest::kManagerWait);
    }
    std::string recommendedPath() { return path("events/42/participants/p1/recommended"); }
};

TEST_F(ParticipantDetailsScreenTest, ContributionsShowOneRowPerStoredSessionUnderTheirTitle) {
    insertParticipant();
    insertSessions();
    auto screen = showParticipant();
    EXPECT_EQ(screen->contributionIds(), (std::vector<std::string>{"s1", "s1", "s2"}));
    EXPECT_EQ(rows(*screen, Screen::kContributionsSection), 2);
    EXPECT_EQ(screen->tableViewHeightForHeaderInSection(*screen->tableView(), Screen::kContributionsSection), 23.0);
    EXPECT_NE(uikit::describe(*window).find("Contributions"), std::string::npos);
}

TEST_F(ParticipantDetailsScreenTest, TheUsersAgendaRecordWinsAndOpensAsAnAgendaRoleSteppingThroughTheRows) {
    insertParticipant();
    insertSessions();
    insert(kToken, "QVACoreDataAgendaSelection",
           {{{"itemId", Value("s1")}, {"agendaItemId", Value("a1")}, {"title", Value("Energy")},
             {"startDatetime", Value("2026-06-16T09:00:00+02:00")}}});
    auto screen = showParticipant();
    ASSERT_EQ(rows(*screen, Screen::kContributionsSection), 2);
    ASSERT_TRUE(driver.tapRow(Screen::kContributionsSection, 0));
    settle();
    auto session = top<ProgrammeDetailsViewController>();
    ASSERT_TRUE(session);
    EXPECT_EQ(session->entityName(), std::optional<std::string>(QVACoreDataAgendaRole::kEntityName));
    EXPECT_EQ(session->selectionPropertyId(), std::optional<std::string>("a1"));
    EXPECT_TRUE(session->isSwipeEnabled());
    auto next = screen->getNextIdIndexPathPairAndMoveSelectionInDirection(
        2, std::string("a1"), uikit::NSIndexPath::indexPathForRow(1, Screen::kContributionsSection));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), uikit::NSIndexPath::indexPathForRow(0, Screen::kContributionsSection));
    auto previous = screen->getNextIdIndexPathPairAndMoveSelectionInDirection(
        1, std::string("a1"), uikit::NSIndexPath::indexPathForRow(0, Screen::kContributionsSection));
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->objectId(), std::optional<std::string>("s2"));
}

TEST_F(ParticipantDetailsScreenTest, UnstoredContributionsShowTheTitleAndNoRows) {
    insertParticipant();
    auto screen = showParticipant();
    EXPECT_EQ(rows(*screen, Screen::kContributionsSection), 0);
    EXPECT_EQ(screen->tableViewHeightForHeaderInSection(*screen->tableView(), Screen::kContributionsSection), 23.0);
}

TEST_F(ParticipantDetailsScreenTest, AnEmptyNoteRowIsFiftyFourHighAndHiddenWithoutThePermission) {
    insertParticipant();
    auto screen = showParticipant();
    const auto note = uikit::NSIndexPath::indexPathForRow(0, Screen::kNoteSection);
    EXPECT_EQ(screen->tableViewHeightForRowAtIndexPath(*screen->tableView(), note), 0.0);
    grant({"event:notes"});
    EXPECT_EQ(screen->tableViewHeightForRowAtIndexPath(*screen->tableView(), note), 54.0);
}

TEST_F(ParticipantDetailsScreenTest, TheUsersOwnDetailsHaveNoBarItemsAndWithoutSendingOnlyActionShows) {
    insertParticipant();
    auto screen = showParticipant();
    EXPECT_EQ(barTitles(*screen), std::vector<std::string>{"Share"});
    grant({"messages:send"});
    screen->setRightBarButtonsOnNavBar(std::string("p1"));
    EXPECT_EQ(barTitles(*screen), (std::vector<std::string>{"Share", "Compose"}));
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary(
        {{"accessToken", kToken}, {"user", Value::dictionary({{"id", "p1"}, {"fullName", "Jo Lane"}})}})));
    screen->setRightBarButtonsOnNavBar(std::string("p1"));
    EXPECT_TRUE(barTitles(*screen).empty());
}

TEST_F(ParticipantDetailsScreenTest, AProfileShowsWithTheAdditionalDetailsRowOnlyOnThePhone) {
    insertParticipant({{"profile", Value("Long career in energy.")}});
    auto screen = showParticipant();
    ASSERT_EQ(screen->navigationRows().size(), 1u);
    EXPECT_EQ(screen->navigationRows()[0]->cellTitle, std::optional<std::string>("Additional details"));
    EXPECT_GT(*screen->tableViewHeightForRowAtIndexPath(*screen->tableView(),
                                                        uikit::NSIndexPath::indexPathForRow(0, Screen::kProfileSection)),
              0.0);
}

TEST_F(ParticipantDetailsScreenTest, AnEmptyProfileHasNoAdditionalDetailsRowAndAZeroHighSection) {
    insertParticipant();
    auto screen = showParticipant();
    EXPECT_TRUE(screen->navigationRows().empty());
    EXPECT_EQ(screen->tableViewHeightForRowAtIndexPath(*screen->tableView(),
                                                       uikit::NSIndexPath::indexPathForRow(0, Screen::kProfileSection)),
              0.0);
}

TEST_F(ParticipantDetailsScreenTest, RecommendationsEnableTheRowOnlyWithStoredParticipantsAndOpenThePage) {
    grant({"event:recommendations"});
    insertParticipant();
    insert(kToken, QVACoreDataParticipant::kEntityName, {{{"itemId", Value("p2")}, {"fullName", Value("Ann Bell")}}});
    serve("GET", recommendedPath(), json(R"([{"id":"p2"},{"id":"gone"}])"));
    auto screen = showParticipant();
    ASSERT_TRUE(screen->recommandationsCellIndex());
    auto row = screen->navigationRows()[*screen->recommandationsCellIndex()];
    ASSERT_TRUE(waitFor([&] { return row->isNavigationEnabled; }));
    ASSERT_EQ(row->extraInfo.size(), 1u);
    ASSERT_TRUE(driver.tapRow(Screen::kNavigationSection, static_cast<int64_t>(*screen->recommandationsCellIndex())));
    settle();
    auto page = top<ParticipantRecommendationsViewController>();
    ASSERT_TRUE(page);
    ASSERT_EQ(page->extraInfo().size(), 1u);
    EXPECT_EQ(page->analyticsPayload(), std::optional<std::string>("Jo Lane"));
}

TEST_F(ParticipantDetailsScreenTest, ARecommendationsErrorLeavesTheRowDisabledWithoutAnAlert) {
    grant({"event:recommendations"});
    insertParticipant();
    serve("GET", recommendedPath(), json(R"({"error":"nope"})", 500));
    foundation::ScopedLogCapture log;
    auto screen = showParticipant();
    ASSERT_TRUE(waitFor([&] { return log.contains(Screen::kRecommendationsFailureLog); }));
    settle();
    EXPECT_FALSE(screen->navigationRows()[*screen->recommandationsCellIndex()]->isNavigationEnabled);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ParticipantDetailsScreenTest, ComposeOpensTheComposerAddressedToTheParticipant) {
    grant({"messages:send"});
    insertParticipant();
    auto screen = showParticipant();
    screen->sendMessage();
    settle();
    auto composer = top<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (MessageComposerViewController::Recipients{{"p1", "Jo Lane"}}));
}

TEST_F(ParticipantDetailsScreenTest, TheHeaderShowsFollowOnlyWithRelationshipsAndUnfollowForAFollowedParticipant) {
    insertParticipant();
    auto screen = showParticipant();
    auto header = screen->participantHeaderView();
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->followButton()->isHidden());
    EXPECT_EQ(header->participantName()->text(), std::optional<std::string>("Jo Lane"));

    grant({"relationships:read"});
    insert(kToken, QVACoreDataFollowedParticipant::kEntityName, {{{"itemId", Value("p1")}}});
    ASSERT_TRUE(waitFor([&] { return header->followButton()->currentTitle() == std::optional<std::string>("Unfollow"); }));
    EXPECT_FALSE(header->followButton()->isHidden());
    EXPECT_EQ(screen->participantHeaderView(), header);
}

TEST_F(ParticipantDetailsScreenTest, AnsweredUnfollowTurnsTheHeaderBackToFollow) {
    grant({"relationships:read", "relationships:write"});
    insertParticipant();
    insert(kToken, QVACoreDataFollowedParticipant::kEntityName, {{{"itemId", Value("p1")}}});
    auto screen = showParticipant();
    auto button = screen->participantHeaderView()->followButton();
    ASSERT_TRUE(waitFor([&] { return button->currentTitle() == std::optional<std::string>("Unfollow"); }));
    serve("DELETE", path("user/relationships/p1"), json("{}"));
    button->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    // The followed row is deleted at once; the screen sees which row went.
    EXPECT_TRUE(waitFor([&] { return button->currentTitle() == std::optional<std::string>("Follow"); }));
    EXPECT_TRUE(server.waitForRequestCount(1, apitest::kManagerWait));
}

TEST_F(ParticipantDetailsScreenTest, AnUnstoredOrganisationIsNotTappable) {
    insertParticipant();
    auto screen = showParticipant();
    EXPECT_FALSE(screen->participantHeaderView()->participantOrganization()->isUserInteractionEnabled());
}

TEST_F(ParticipantDetailsScreenTest, AfterThreeSavesOneOrganisationTapPushesOneScreen) {
    insert(kToken, QVACoreDataOrganization::kEntityName, {{{"itemId", Value("o1")}, {"name", Value("Acme")}}});
    insertParticipant();
    auto screen = showParticipant();
    foundation::ScopedLogCapture log;
    for (size_t save = 1; save <= 3; ++save) {
        insert(kToken, QVACoreDataFollowedParticipant::kEntityName, {{{"itemId", Value("p1")}}});
        ASSERT_TRUE(waitFor([&] {
            size_t updates = 0;
            for (const auto& line : log.lines()) updates += line.find("updateUIContentForObject for Participant") != std::string::npos;
            return updates >= save;
        }));
    }
    auto label = screen->participantHeaderView()->participantOrganization();
    ASSERT_TRUE(label->isUserInteractionEnabled());
    ASSERT_EQ(label->gestureRecognizers().size(), 1u);
    ASSERT_TRUE(label->gestureRecognizers()[0]->fireAtPoint({5, 5}));
    settle();
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
    auto organization = top<OrganizationDetailsViewController>();
    ASSERT_TRUE(organization);
    EXPECT_EQ(organization->selectionPropertyId(), std::optional<std::string>("o1"));
}

TEST_F(ParticipantDetailsScreenTest, ANameReachingUnderTheBarStretchesTheHeader) {
    insertParticipant({{"fullName", Value("Josephine Alexandra Lane-Montgomery of the Very Long Name Family Foundation "
                                          "and Partners International, Geneva and Lausanne Chapters, Honorary Members")}});
    auto screen = showParticipant();
    auto header = screen->participantHeaderView();
    // Stretched, the header brings the name's top below the bar.
    EXPECT_GT(header->frame().size.height, 180.0);
    EXPECT_GE(header->participantName()->frame().origin.y, DetailHeaderGeometry::kNavigationBarBottom);
    EXPECT_EQ(screen->tableView()->tableHeaderView(), header);
    EXPECT_EQ(DetailHeaderGeometry::stretchedBackgroundHeight(30, 180), 194.0);
}

TEST_F(ParticipantDetailsScreenTest, DrawingTheHeaderTwiceLeavesOneOverlay) {
    insertParticipant();
    auto screen = showParticipant();
    auto header = screen->participantHeaderView();
    header->drawRect(header->bounds());
    header->drawRect(header->bounds());
    EXPECT_EQ(header->headerBackgroundImage()->subviews().size(), 1u);
    EXPECT_EQ(header->overlay()->alpha(), DetailHeaderGeometry::kOverlayAlpha);
}

// A service that protects its files wants the account's token for a photo
// on its own address, though no service call has set the token yet.
TEST_F(ParticipantDetailsScreenTest, APhotoOnTheServicesOriginGoesWithTheAccountsToken) {
    auto png = testservice::Reply::text(testservice::makePNG(8, 8));
    png.contentType = "image/png";
    serve("GET", "/files/p1.png", png);
    insertParticipant({{"photoUrl", Value(server.urlFor("/files/p1.png"))}});
    auto photo = [&] {
        for (const auto& request : server.requests())
            if (request.path == "/files/p1.png") return std::optional(request);
        return std::optional<testservice::RecordedRequest>();
    };
    showParticipant();
    ASSERT_TRUE(waitFor([&] { return photo().has_value(); }));
    EXPECT_EQ(photo()->header("Authorization"), std::optional<std::string>(std::string("Bearer ") + kToken));
}

TEST_F(ParticipantDetailsScreenTest, FollowOfflineShowsTheAlertAndSendsNothing) {
    grant({"relationships:read", "relationships:write"});
    insertParticipant();
    auto screen = showParticipant();
    network::Reachability::setSimulatedFlags(0);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    ASSERT_TRUE(waitFor([&] { return !reachability.isReachable(); }));
    server.clearRequests();
    screen->participantHeaderView()->followButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->title(), std::optional<std::string>(ParticipantRowActions::kOfflineTitle));
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ParticipantDetailsScreenTest, TheContentUpdateAndTheContributionIdsRaiseOffTheMainThread) {
    insertParticipant();
    auto screen = showParticipant();
    auto object = screen->currentObject();
    std::string updateName, idsReason;
    std::thread([&] {
        try {
            screen->updateUIContentForObject(object);
        } catch (const foundation::Exception& exception) {
            updateName = exception.name();
        }
        try {
            screen->refreshAdditionalDataSource();
        } catch (const foundation::Exception& exception) {
            idsReason = exception.reason();
        }
    }).join();
    EXPECT_EQ(updateName, Screen::kUpdateOffMainThreadName);
    EXPECT_EQ(idsReason, Screen::kContributionIdsOffMainThread);
}

TEST_F(ParticipantDetailsScreenTest, ANoteErrorShowsTheAlertAndKeepsTheText) {
    grant({"event:notes"});
    insertParticipant();
    serve("POST", path("events/42/notes/participants/p1"), json(R"({"error":"nope"})", 500));
    auto screen = showParticipant();
    screen->tableViewCellForRowAtIndexPath(*screen->tableView(), uikit::NSIndexPath::indexPathForRow(0, 0));
    screen->refreshNoteCellHeightWithText("Met in Oslo");
    screen->endEditingNote("Met in Oslo");
    ASSERT_TRUE(waitFor([&] { return !alerts().empty(); }));
    EXPECT_EQ(alerts()[0]->title(), std::optional<std::string>(Screen::kNoteFailureTitle));
    EXPECT_EQ(screen->participantNote(), std::optional<std::string>("Met in Oslo"));
}

TEST_F(ParticipantDetailsScreenTest, AddToContactsShowsTheParticipantsValuesAndSavingWritesThem) {
    std::remove(addressbook::ABAddressBookFilePath().c_str());
    grant({"event:notes"});
    insertParticipant({{"phone", Value("+41 22 1")}, {"mobilePhone", Value("+41 79 2")}, {"email", Value("jo@acme.test")}});
    insert(kToken, "QVACoreDataParticipantNote", {{{"participantId", Value("p1")}, {"note", Value("Met in Oslo")}}});
    auto screen = showParticipant();
    ASSERT_TRUE(driver.tapItem("Share"));
    settle();
    auto presented = std::dynamic_pointer_cast<uikit::UINavigationController>(screen->presentedViewController());
    ASSERT_TRUE(presented);
    auto form = std::dynamic_pointer_cast<addressbook::ABNewPersonViewController>(presented->topViewController());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title(), std::optional<std::string>("Add to Contacts"));
    const auto& person = form->displayedPerson();
    using Labelled = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(person->phones->valuesAndLabels, (Labelled{{"+41 22 1", "main"}, {"+41 79 2", "mobile"}}));
    EXPECT_EQ(person->emails->valuesAndLabels, (Labelled{{"jo@acme.test", "work"}}));
    EXPECT_EQ(person->note, std::optional<std::string>("Met in Oslo"));
    form->save();
    settle();
    EXPECT_FALSE(screen->presentedViewController());
    auto saved = addressbook::ABAddressBookCopyArrayOfAllPeople(addressbook::ABAddressBookCreateWithOptions(nullptr));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0]->phones->valuesAndLabels, person->phones->valuesAndLabels);

    // The same names again: the existing contact's card instead of a new one.
    ASSERT_TRUE(driver.tapItem("Share"));
    settle();
    auto card = top<addressbook::ABUnknownPersonViewController>();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->title(), std::optional<std::string>("Choose Action"));
    EXPECT_TRUE(card->allowsAddingToAddressBook());
    EXPECT_TRUE(card->allowsActions());
    std::remove(addressbook::ABAddressBookFilePath().c_str());
}

TEST_F(ParticipantDetailsScreenTest, TheNoteRowIsTheSharedNoteCellWhoseEditGoesToTheParticipantsNote) {
    grant({"event:notes"});
    insertParticipant();
    const std::string notePath = path("events/42/notes/participants/p1");
    serve("PUT", notePath, json(R"({"id":"n1","participantId":"p1","note":"Met in Oslo"})"));
    auto screen = showParticipant();
    auto cell = std::dynamic_pointer_cast<QVAPersonalNoteCell>(
        screen->tableView()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, Screen::kNoteSection)));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->personalNotesDelegate(), std::dynamic_pointer_cast<QVAPersonalNotesViewDelegate>(screen));
    auto text = cell->notesTextView();
    ASSERT_TRUE(text->typeText("Met in Oslo"));
    text->resignFirstResponder();
    ASSERT_TRUE(waitFor([&] {
        const auto last = server.lastRequest();
        return last && last->path.find(notePath) != std::string::npos;
    }));
    EXPECT_NE(server.lastRequest()->body.find("Met in Oslo"), std::string::npos);
    EXPECT_EQ(screen->participantNote(), std::optional<std::string>("Met in Oslo"));
    // The answer is handled here, not in whichever test runs next.
    settle();
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ParticipantDetailsScreenTest, TheAdditionalDetailsPageShowsTheProfileFromItsStartEachTimeItShows) {
    insertParticipant({{"profile", Value("Long career in energy.")}});
    auto screen = showParticipant();
    ASSERT_TRUE(driver.tapRow(Screen::kNavigationSection, 0));
    settle();
    auto page = top<ParticipantExtraInfoViewController>();
    ASSERT_TRUE(page);
    auto text = page->participantDescriptionTextView();
    EXPECT_EQ(text->text(), "Long career in energy.");
    EXPECT_EQ(text->scrolledRange(), std::optional<uikit::NSRange>(uikit::NSRange{0, 0}));
    text->scrollRangeToVisible({12, 0});
    navigation->pushViewController(std::make_shared<uikit::UIViewController>(), false);
    settle();
    navigation->popViewControllerAnimated(false);
    settle();
    EXPECT_EQ(text->scrolledRange(), std::optional<uikit::NSRange>(uikit::NSRange{0, 0}));
}

TEST_F(ParticipantDetailsScreenTest, APickedPersonGoesOnAPickedValueStopsAndCancellingDismisses) {
    insertParticipant();
    auto screen = showParticipant();
    auto picker = std::make_shared<addressbook::ABPeoplePickerNavigationController>();
    picker->setPeoplePickerDelegate(screen);
    screen->presentViewController(picker, false, nullptr);
    settle();
    const auto person = addressbook::ABPersonCreate();
    EXPECT_TRUE(picker->selectPerson(person));
    EXPECT_FALSE(picker->selectValue(person, addressbook::ABPropertyID::Phone, 0));
    auto card = std::make_shared<addressbook::ABPersonViewController>();
    card->setDisplayedPerson(person);
    card->setPersonViewDelegate(screen);
    EXPECT_FALSE(card->selectValue(addressbook::ABPropertyID::Email, 0));
    picker->cancel();
    settle();
    EXPECT_FALSE(screen->presentedViewController());
}

}  // namespace

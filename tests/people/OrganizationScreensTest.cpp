// The organisations list and an organisation's details as the app shows
// them: which organisations are listed and in which order, the details
// opened from the list, the contact rows and what their buttons do, and the
// participants on site.
#include <gtest/gtest.h>

#include <filesystem>

#include "ParticipantsTabTestSupport.h"
#include "PeopleScreensTestSupport.h"
#include "app/BaseViewController.h"
#include "coredata/EntityDescription.h"
#include "lists/FavoriteButton.h"
#include "lists/KeyValueTableView.h"
#include "messageui/MFMailComposeViewController.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "people/OrganizationDetailsInfoViewController.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/OrganizationsListViewController.h"
#include "people/ParticipantsListSegmentedNavigationController.h"
#include "people/ParticipantCell.h"
#include "store/CoreDataStack.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UIWindow.h"

namespace {

using foundation::Value;
using Row = meetingtest::Row;

class OrganizationScreensTest : public peopletest::PeopleScreensTest {
protected:
    void TearDown() override {
        messageui::MFMailComposeViewController::setCanSendMail(true);
        PeopleScreensTest::TearDown();
    }

    void insertOrganization(Row fields) {
        fields.emplace("organizationType", Value("Business"));
        insert(kToken, QVACoreDataOrganization::kEntityName, {fields});
    }
    std::shared_ptr<OrganizationsListViewController> showList() {
        auto list = BaseViewController::instantiateViewController<OrganizationsListViewController>();
        show(list);
        return list;
    }
    std::shared_ptr<OrganizationDetailsInfoViewController> showDetails(const std::string& id) {
        auto details = BaseViewController::instantiateViewController<OrganizationDetailsViewController>();
        details->setSelectionPropertyId(id);
        details->setEntityName(std::string(QVACoreDataOrganization::kEntityName));
        show(details);
        EXPECT_EQ(details->retainedControllers().size(), 1u);
        return details->retainedControllers().empty()
                   ? nullptr
                   : std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(details->retainedControllers()[0]);
    }
    // "key=value" per row, with "[button]" after a button's value.
    static std::vector<std::string> rowTexts(const OrganizationDetailsInfoViewController& info) {
        std::vector<std::string> out;
        for (const auto& row : info.keyValueTableView()->rows())
            out.push_back(row->keyText().value_or("") + "=" + row->valueText().value_or("") +
                          (row->isButton() ? " [button]" : ""));
        return out;
    }
    static size_t sentMails() {
        const auto folder = messageui::MFMailComposeViewController::sentMailDirectory();
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
        return count;
    }
};

TEST_F(OrganizationScreensTest, OnlyBusinessOrganisationsAreListedBySectionThenByCommonName) {
    insertOrganization({{"itemId", Value("o10")}, {"commonName", Value("Org 10")}, {"sectionTitle", Value("O")}});
    insertOrganization({{"itemId", Value("o2")}, {"commonName", Value("Org 2")}, {"sectionTitle", Value("O")}});
    insertOrganization({{"itemId", Value("a")}, {"commonName", Value("Acme")}, {"sectionTitle", Value("A")}});
    insert(kToken, QVACoreDataOrganization::kEntityName,
           {{{"itemId", Value("gov")}, {"commonName", Value("Org 1")}, {"sectionTitle", Value("O")},
             {"organizationType", Value("Government")}}});
    auto list = showList();
    std::vector<std::string> ids;
    for (const auto& object : list->fetchedResultsController()->fetchedObjects())
        ids.push_back(object.objectAs<QVACoreDataOrganization>()->itemId().value_or(""));
    EXPECT_EQ(ids, (std::vector<std::string>{"a", "o2", "o10"}));
    EXPECT_EQ(list->tableView()->sectionIndexTitles(), (std::vector<std::string>{"A", "O"}));
}

TEST_F(OrganizationScreensTest, AListOfOneOrganisationOpensItsDetailsWithSwipingOff) {
    insertOrganization({{"itemId", Value("o1")}, {"name", Value("Acme Ltd")}, {"sectionTitle", Value("A")}});
    auto list = showList();
    ASSERT_TRUE(driver.tapRow(0, 0));
    settle();
    auto details = top<OrganizationDetailsViewController>();
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::optional<std::string>("o1"));
    EXPECT_FALSE(details->isSwipeEnabled());
    EXPECT_EQ(details->parentController(), std::dynamic_pointer_cast<SwipeParentControllerProtocol>(list));
    EXPECT_EQ(details->organizationName()->text(), std::optional<std::string>("Acme Ltd"));
    EXPECT_EQ(details->title(), std::optional<std::string>("Organization details"));
}

TEST_F(OrganizationScreensTest, ADigitsOnlyIdFindsTheOrganisationByValueSavedOrNot) {
    insertOrganization({{"itemId", Value("42")}, {"name", Value("Saved")}});
    auto info = showDetails("42");
    ASSERT_TRUE(info && info->currentObject());
    EXPECT_EQ(info->currentObject()->name(), std::optional<std::string>("Saved"));

    auto context = store.getCoreDataStackForAuthToken(kToken, "42")->managedObjectContextMainQueue();
    auto unsaved = coredata::EntityDescription::insertNewObjectForEntityForName(QVACoreDataOrganization::kEntityName, *context);
    unsaved->setValue(Value("77"), "itemId");
    unsaved->setValue(Value("Unsaved"), "name");
    info->setSelectionPropertyId(std::string("77"));
    ASSERT_TRUE(info->currentObject());
    EXPECT_EQ(info->currentObject()->name(), std::optional<std::string>("Unsaved"));
}

TEST_F(OrganizationScreensTest, TheRowsShowNotAvailableForMissingValuesAndTheJoinedAddress) {
    insertOrganization({{"itemId", Value("full")}, {"country", Value("Kenya")}, {"sector", Value("Energy")},
                        {"email", Value("info@acme.example")}, {"phone", Value("+254 20 555")},
                        {"address", Value("1 Road")}, {"city", Value("Nairobi")}, {"poBox", Value("PO Box 9")},
                        {"website", Value("acme.example")}, {"profile", Value("Makes things.")}});
    insertOrganization({{"itemId", Value("bare")}, {"profile", Value("  ")}});
    auto info = showDetails("full");
    EXPECT_EQ(rowTexts(*info),
              (std::vector<std::string>{"country=Kenya", "sector=Energy", "email=info@acme.example [button]",
                                        "phone=+254 20 555 [button]", "address=1 Road, Nairobi, PO Box 9, Kenya",
                                        "website=acme.example [button]", "=Makes things."}));
    info = showDetails("bare");
    EXPECT_EQ(rowTexts(*info), (std::vector<std::string>{"country=N/A", "sector=N/A", "email=N/A", "phone=N/A",
                                                         "address=N/A", "website=N/A"}));
}

TEST_F(OrganizationScreensTest, WebsiteAndPhoneButtonsOpenTheirAddresses) {
    insertOrganization({{"itemId", Value("bare")}, {"website", Value("example.org")}, {"phone", Value("+41 22 555 01 01")}});
    insertOrganization({{"itemId", Value("secure")}, {"website", Value("https://example.org/x")}});
    auto& application = uikit::UIApplication::sharedApplication();
    showDetails("bare");
    ASSERT_TRUE(driver.tapButton("example.org"));
    ASSERT_TRUE(driver.tapButton("+41 22 555 01 01"));
    showDetails("secure");
    ASSERT_TRUE(driver.tapButton("https://example.org/x"));
    std::vector<std::string> opened;
    for (const auto& url : application.openedURLs()) opened.push_back(url.absoluteString());
    EXPECT_EQ(opened, (std::vector<std::string>{"http://example.org", "tel:+41225550101", "https://example.org/x"}));

    // Where the system cannot call, the phone opens nothing.
    application.setOpenableURLSchemes({"http", "https"});
    showDetails("bare");
    ASSERT_TRUE(driver.tapButton("+41 22 555 01 01"));
    EXPECT_EQ(application.openedURLs().size(), 3u);
}

TEST_F(OrganizationScreensTest, TheEmailPresentsAComposerThatSendsOrCancelsAndNothingWithoutMail) {
    insertOrganization({{"itemId", Value("o1")}, {"email", Value("info@acme.example")}});
    messageui::MFMailComposeViewController::setCanSendMail(true);
    auto info = showDetails("o1");
    const size_t before = sentMails();
    auto composerShown = [&] {
        return std::dynamic_pointer_cast<messageui::MFMailComposeViewController>(navigation->presentedViewController());
    };
    ASSERT_TRUE(driver.tapButton("info@acme.example"));
    settle();
    auto composer = composerShown();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->toRecipients(), std::vector<std::string>{"info@acme.example"});
    composer->finishWithResult(messageui::MFMailComposeResult::Sent);
    settle();
    EXPECT_EQ(sentMails(), before + 1);
    EXPECT_FALSE(composerShown());

    ASSERT_TRUE(driver.tapButton("info@acme.example"));
    settle();
    ASSERT_TRUE(composerShown());
    EXPECT_NE(composerShown(), composer);
    composerShown()->finishWithResult(messageui::MFMailComposeResult::Cancelled);
    settle();
    EXPECT_EQ(sentMails(), before + 1);
    EXPECT_FALSE(composerShown());

    messageui::MFMailComposeViewController::setCanSendMail(false);
    ASSERT_TRUE(driver.tapButton("info@acme.example"));
    settle();
    EXPECT_FALSE(composerShown());
}

TEST_F(OrganizationScreensTest, TheParticipantAreaGrowsWithTheParticipantsOnSite) {
    insertOrganization({{"itemId", Value("o1")}, {"topLevelOrganizationId", Value("top1")}});
    insertOrganization({{"itemId", Value("o2")}, {"topLevelOrganizationId", Value("top2")}});
    insertOrganization({{"itemId", Value("o3")}});
    std::vector<Row> participants;
    for (const char* id : {"p1", "p2", "p3"})
        participants.push_back({{"itemId", Value(id)}, {"fullName", Value(id)}, {"inBooklet", Value(false)},
                                {"positionTitle", Value("Director")}, {"organizationName", Value("Acme")},
                                {"organizationId", Value("o1")}, {"topLevelOrganizationId", Value("top1")}});
    insert(kToken, QVACoreDataParticipant::kEntityName, participants);

    auto info = showDetails("o1");
    // The header and three rows of the participant cell's own height.
    EXPECT_EQ(info->participantsTableViewHeightConstraint()->constant(), 24 + 3 * ParticipantCell::kRowHeight);
    EXPECT_EQ(info->fetchedResultsController()->fetchedObjects().size(), 3u);
    EXPECT_EQ(info->tableViewGetTitleForHeaderInSection(*info->tableView(), 0),
              std::optional<std::string>("Participants on site"));
    EXPECT_FALSE(info->tableView()->isScrollEnabled());
    // Every participant fits in the area of a list that does not scroll.
    auto& table = *info->tableView();
    const auto last = table.rectForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(2, 0));
    EXPECT_LE(last.origin.y + last.size.height, table.frame().size.height);
    // No row's labels reach into the next row.
    for (int64_t row = 0; row < 3; ++row) {
        const auto path = uikit::NSIndexPath::indexPathForRow(row, 0);
        const auto rect = table.rectForRowAtIndexPath(path);
        auto cell = std::dynamic_pointer_cast<ParticipantCell>(table.cellForRowAtIndexPath(path));
        ASSERT_TRUE(cell) << row;
        for (const auto& label : {cell->participantTitle(), cell->participantSubtitle(), cell->participantCompany()}) {
            ASSERT_TRUE(label);
            if (label->isHidden() || label->text().value_or("").empty()) continue;
            const auto frame = label->convertRectToView(label->bounds(), &table);
            EXPECT_GE(frame.origin.y, rect.origin.y) << row << " " << *label->text();
            EXPECT_LE(frame.origin.y + frame.size.height, rect.origin.y + rect.size.height) << row << " " << *label->text();
        }
    }
    info = showDetails("o2");
    EXPECT_EQ(info->participantsTableViewHeightConstraint()->constant(), 0);
    // Participants of the organisation are not looked for without a top-level id.
    info = showDetails("o3");
    EXPECT_TRUE(info->fetchedResultsController()->fetchedObjects().empty());
}

class PadOrganizationScreensTest : public peopletest::PeopleScreensTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadOrganizationScreensTest, ThePadShowsThePhoneAsTextAndTheProfileUnderItsKey) {
    insert(kToken, QVACoreDataOrganization::kEntityName,
           {{{"itemId", Value("o1")}, {"phone", Value("+41 22 555 01 01")}, {"organizationType", Value("Business")}}});
    auto details = BaseViewController::instantiateViewController<OrganizationDetailsViewController>();
    details->setSelectionPropertyId(std::string("o1"));
    details->setEntityName(std::string(QVACoreDataOrganization::kEntityName));
    show(details);
    auto info = std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(details->retainedControllers().at(0));
    ASSERT_TRUE(info);
    const auto& rows = info->keyValueTableView()->rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[3]->valueText(), std::optional<std::string>("+41 22 555 01 01"));
    EXPECT_FALSE(rows[3]->isButton());
    EXPECT_EQ(rows[6]->keyText(), std::optional<std::string>("organization profile"));
    EXPECT_EQ(rows[6]->valueText(), std::optional<std::string>("N/A"));
}

// An organisation opened from the tab's second segment, among others so
// that swiping, and with it the swipe hints, is on: scrolled to its end,
// the stars of its last participants are where a tap reaches them.
class OrganizationFromTheTabTest : public peopletest::ParticipantsTabTest {
protected:
    void expectTheLastStarsClearOfTheSwipeHints() {
        grant({"relationships:read"});
        for (const char* id : {"o1", "o2"})
            insert(kTabToken, QVACoreDataOrganization::kEntityName,
                   {{{"itemId", Value(id)}, {"name", Value(id)}, {"commonName", Value(id)}, {"sectionTitle", Value("O")},
                     {"organizationType", Value("Business")}, {"topLevelOrganizationId", Value(std::string("top-") + id)}}});
        std::vector<Row> participants;
        for (int index = 0; index < 12; ++index)
            participants.push_back({{"itemId", Value("p" + std::to_string(index))}, {"fullName", Value("P" + std::to_string(index))},
                                    {"inBooklet", Value(true)}, {"topLevelOrganizationId", Value("top-o1")}});
        insert(kTabToken, QVACoreDataParticipant::kEntityName, participants);
        auto tab = openParticipantsTab();
        ASSERT_TRUE(tab);
        ASSERT_TRUE(driver().segment(1));
        settle();
        ASSERT_TRUE(driver().tapRow(0, 0));
        settle();
        auto details = front<OrganizationDetailsViewController>();
        ASSERT_TRUE(details);
        ASSERT_TRUE(details->isSwipeEnabled());
        ASSERT_TRUE(details->swipeHintLabel() && !details->swipeHintLabel()->isHidden());
        ASSERT_TRUE(driver().scroll(std::nullopt, 100000, std::string("scrollView")));
        settle();
        auto info = std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(details->retainedControllers().at(0));
        ASSERT_TRUE(info);
        auto& table = *info->tableView();
        auto window = app().keyWindow();
        const auto shown = details->scrollView()->convertRectToView(details->scrollView()->bounds(), nullptr);
        // Every star in view, the last row's among them, is where a tap finds it.
        for (int64_t row = 0; row < 12; ++row) {
            auto cell = std::dynamic_pointer_cast<ParticipantCell>(table.cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, 0)));
            ASSERT_TRUE(cell && cell->favoriteButton()) << row;
            const auto star = cell->favoriteButton()->convertRectToView(cell->favoriteButton()->bounds(), nullptr);
            const graphics::Point middle{star.midX(), star.midY()};
            if (row < 11 && !shown.contains(middle)) continue;
            auto hit = window->hitTest(middle);
            while (hit && hit != cell->favoriteButton()) hit = hit->superview();
            EXPECT_TRUE(hit) << "the star of row " << row << " is covered";
        }
        // The last row ends above the hint, whatever lies between the stars.
        const auto last = table.convertRectToView(table.rectForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(11, 0)), nullptr);
        const auto hint = details->swipeHintLabel()->convertRectToView(details->swipeHintLabel()->bounds(), nullptr);
        EXPECT_LE(last.maxY(), hint.minY());
    }
};

TEST_F(OrganizationFromTheTabTest, ScrolledToItsEndTheLastStarsComeOutFromUnderTheSwipeHints) {
    expectTheLastStarsClearOfTheSwipeHints();
}

class PadPortraitOrganizationFromTheTabTest : public OrganizationFromTheTabTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadPortraitOrganizationFromTheTabTest, ScrolledToItsEndTheLastStarsComeOutFromUnderTheSwipeHints) {
    expectTheLastStarsClearOfTheSwipeHints();
}

}  // namespace

// The home screen's drawing: the header's height and strip by idiom and
// content, the meeting period in the meeting zone, the section headers, the
// row heights and the session row's texts, icons, pin and live status.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/ShellTestSupport.h"
#include "foundation/Locale.h"
#include "foundation/Value.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "location/CLLocationManager.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAEvent.h"
#include "model/QVASessionOccupancy.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "programme/SpotlightTitleView.h"
#include "programme/SpotlightViewController.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIDevice.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"

namespace {

using foundation::Value;
using Home = SpotlightViewController;
using Row = meetingtest::Row;

constexpr const char* kRowsToken = "rows-token";

// The fixture's clock reads 09:30 on 10 March 2015 in the meeting's +01:00.
Row rowsSession(const std::string& id, const std::string& start, const std::string& end) {
    return {{"itemId", id},
            {"title", "Session " + id},
            {"startDatetime", "2015-03-10T" + start + ":00+01:00"},
            {"endDatetime", "2015-03-10T" + end + ":00+01:00"}};
}

std::shared_ptr<QVASessionOccupancy> occupancy(int percent) {
    return QVASessionOccupancy::initWithDictionary(
        Value::dictionary({{"occupancyPercent", percent}, {"remainingCapacity", 3}}));
}

bool struckWhole(const std::shared_ptr<uikit::UILabel>& label) {
    auto text = label ? label->attributedText() : nullptr;
    if (!text || text->length() == 0) return false;
    uikit::NSRange range{};
    const auto& attributes = text->attributesAtIndex(0, &range);
    return attributes.strikethroughStyle == uikit::NSUnderlineStyleSingle && range.length == text->length();
}

template <class Screen>
class HomeDrawingTestBase : public Screen {
protected:
    void SetUp() override {
        Screen::SetUp();
        this->openCurrent(kRowsToken);
        this->settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary(
            {{"id", "42"}, {"name", "Spring Meeting"}, {"city", "Lyon"}, {"startDate", "2015-03-09"}, {"endDate", "2015-03-11"}})));
    }
    void TearDown() override {
        location::CLLocationManager::resetClassSwitches();
        InteractiveMapsServices::instance().setCurrentBeaconIdentifierGlobal("");
        Screen::TearDown();
    }

    std::shared_ptr<Home> launchHome() {
        this->launch();
        // The pad shows the home screen in the split view's detail.
        auto detail = this->detail();
        auto home = detail && !detail->viewControllers().empty()
                        ? std::dynamic_pointer_cast<Home>(detail->viewControllers().front())
                        : this->template rootOfTab<Home>(0);
        EXPECT_TRUE(home && home->isViewLoaded());
        return home;
    }
    static std::shared_ptr<SpotlightSessionModel> sessionRow(Home& home, int64_t section, size_t row) {
        auto model = home.sectionModelForSection(section);
        return model && row < model->modelItems().size()
                   ? std::dynamic_pointer_cast<SpotlightSessionModel>(model->modelItems()[row])
                   : nullptr;
    }
    static double rowHeight(Home& home, int64_t section, int64_t row) {
        return home.tableViewHeightForRowAtIndexPath(*home.homeTableView(), uikit::NSIndexPath::indexPathForRow(row, section))
            .value_or(-1);
    }
    static std::shared_ptr<SpotlightSessionTableViewCell> sessionCell(Home& home, SpotlightSessionModel& model) {
        return std::dynamic_pointer_cast<SpotlightSessionTableViewCell>(home.getSpotlighSessionCellForSessionModel(model));
    }
};

using HomeDrawingTest = HomeDrawingTestBase<shelltest::ShellTest>;
using PadHomeDrawingTest = HomeDrawingTestBase<shelltest::PadShellTest>;

TEST_F(HomeDrawingTest, AnEmptyHomeGivesTheHeaderTheVisibleHeightAndNoStrip) {
    auto home = launchHome();
    ASSERT_TRUE(home);
    const int expected = static_cast<int>(home->view()->bounds().size.height - 54);
    auto header = home->spotlightTableViewHeaderView();
    ASSERT_TRUE(header);
    EXPECT_EQ(home->homeTableView()->tableHeaderView(), header);
    EXPECT_EQ(header->frame().size.height, expected);
    EXPECT_EQ(header->frame().size.width, home->homeTableView()->bounds().size.width);
    EXPECT_EQ(home->spotlightHeaderStripView(), nullptr);

    // Rows arriving while the screen shows leave the header as it is.
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    settle();
    ASSERT_TRUE(sessionRow(*home, Home::kWhatsOnNowSection, 0));
    EXPECT_EQ(home->spotlightTableViewHeaderView(), header);
    EXPECT_EQ(header->frame().size.height, expected);
    EXPECT_EQ(home->spotlightHeaderStripView(), nullptr);

    // The title view fills the header within its margins and names the meeting.
    auto title = home->spotlightTitleView();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->superview().get(), header.get());
    EXPECT_EQ(title->frame(), graphics::Rect(15, 15, header->frame().size.width - 30, expected - 30));
    EXPECT_EQ(title->meetingName(), std::string("Spring Meeting"));
    EXPECT_EQ(title->meetingLocation(), std::string("Lyon"));
    EXPECT_EQ(title->eventDate(), std::string("9-11 March 2015"));
}

TEST_F(HomeDrawingTest, RowsAtTheFirstAppearanceHalveTheHeaderOverAGreyStrip) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    const int expected = static_cast<int>(home->view()->bounds().size.height - 54) / 2;
    auto header = home->spotlightTableViewHeaderView();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame().size.height, expected);
    auto strip = home->spotlightHeaderStripView();
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->frame(), graphics::Rect(0, expected - 5, header->frame().size.width, 5));
    EXPECT_FALSE(strip->isHidden());
    EXPECT_EQ(strip->backgroundColor(), uikit::UIColor::colorWithRed(210 / 255.0, 210 / 255.0, 210 / 255.0, 1));
    auto logo = home->orvaneHeaderImageView();
    ASSERT_TRUE(logo && logo->image());
    EXPECT_EQ(logo->image()->name(), std::string("logo_orvane_spotlight.png"));

    // Section headers: the grey title over the section image, hints on 4 to 6.
    auto sectionHeader = std::dynamic_pointer_cast<CustomSectionHeaderTableView>(
        home->tableViewViewForHeaderInSection(*home->homeTableView(), Home::kWhatsOnNowSection));
    ASSERT_TRUE(sectionHeader);
    EXPECT_EQ(sectionHeader->frame(), graphics::Rect(0, 0, home->homeTableView()->bounds().size.width, 23));
}

TEST_F(PadHomeDrawingTest, ThePadHeaderLeavesRoomForTheLogoAndHasAWideStrip) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto logo = home->orvaneHeaderImageView();
    ASSERT_TRUE(logo && logo->image());
    EXPECT_EQ(logo->image()->name(), std::string("orvane_logo_ipad.png"));
    const double viewHeight = home->view()->bounds().size.height;
    const int expected = static_cast<int>(viewHeight - 44 - logo->frame().size.height - 20) / 2;
    auto header = home->spotlightTableViewHeaderView();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame().size.height, expected);
    auto strip = home->spotlightHeaderStripView();
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->frame().size.height, 15);
    // Every pad session row is 70 high, occupancy or not.
    auto row = sessionRow(*home, Home::kWhatsOnNowSection, 0);
    ASSERT_TRUE(row);
    row->setSessionOccupancy(occupancy(50));
    EXPECT_EQ(rowHeight(*home, Home::kWhatsOnNowSection, 0), 70);
    // The day alone on the pad.
    auto cell = sessionCell(*home, *row);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->dateLabel()->text(), std::string("Tuesday 10 March"));
    EXPECT_FALSE(cell->displayTimeLabel()->isHidden());
}

// Turned to landscape, the header takes the new height and the sections
// start right under it, with no gap left from the portrait height.
TEST_F(PadHomeDrawingTest, RotatingLaysTheHeaderOutForTheNewSize) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto header = home->spotlightTableViewHeaderView();
    ASSERT_TRUE(header);
    const double portrait = header->frame().size.height;
    uikit::UIDevice::currentDevice().rotateToOrientation(uikit::UIDeviceOrientation::LandscapeLeft);
    settle();
    EXPECT_LT(header->frame().size.height, portrait);
    EXPECT_EQ(header->frame().size.height, home->heightForSpotlightHeader());
    EXPECT_EQ(home->homeTableView()->rectForSection(0).origin.y, header->frame().size.height);
    uikit::UIDevice::currentDevice().rotateToOrientation(uikit::UIDeviceOrientation::Portrait);
    settle();
    EXPECT_EQ(header->frame().size.height, portrait);
    EXPECT_EQ(home->homeTableView()->rectForSection(0).origin.y, portrait);
}

// The period is read in the meeting's zone (+01:00 here) and written in
// English with the calendar year, whatever the device's zone and language.
TEST_F(HomeDrawingTest, TheMeetingPeriodIsWrittenInTheMeetingZoneInEnglish) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    const foundation::Locale saved = foundation::Locale::current();
    foundation::Locale::setCurrent(foundation::Locale("fr_FR"));
    auto period = [](const char* start, const char* end) {
        return Home::meetingDaysToDisplayInHeader(std::string(start), std::string(end));
    };
    EXPECT_EQ(period("2015-01-21", "2015-01-24"), std::string("21-24 January 2015"));
    EXPECT_EQ(period("2015-06-30", "2015-07-02"), std::string("30 June 2015 2 July 2015"));
    EXPECT_EQ(period("2025-12-28", "2025-12-31"), std::string("28-31 December 2025"));
    EXPECT_EQ(period("2015-03-01", "2015-03-03"), std::string("1-3 March 2015"));
    EXPECT_EQ(period("2015-12-30", "2016-01-02"), std::nullopt);
    EXPECT_EQ(Home::meetingDaysToDisplayInHeader(std::nullopt, std::string("2015-03-03")), std::string(""));
    EXPECT_EQ(Home::meetingDaysToDisplayInHeader(std::string("2015-03-01"), std::nullopt), std::string(""));
    foundation::Locale::setCurrent(saved);
}

TEST_F(HomeDrawingTest, PhoneRowHeightsFollowTheRowKindAndTheOccupancyNow) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00"), rowsSession("s2", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto first = sessionRow(*home, Home::kWhatsOnNowSection, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(rowHeight(*home, Home::kWhatsOnNowSection, 0), 70);
    first->setSessionOccupancy(occupancy(50));
    EXPECT_EQ(rowHeight(*home, Home::kWhatsOnNowSection, 0), 87);
    EXPECT_EQ(rowHeight(*home, Home::kWhatsOnNowSection, 1), 70);

    // A cached occupancy reaches a row when it is drawn, and then its height.
    auto second = sessionRow(*home, Home::kWhatsOnNowSection, 1);
    home->statusForSessionsDictionary()["s2"] = occupancy(79);
    auto cell = sessionCell(*home, *second);
    ASSERT_TRUE(cell);
    EXPECT_EQ(second->sessionOccupancy(), home->statusForSessionsDictionary()["s2"]);
    EXPECT_EQ(rowHeight(*home, Home::kWhatsOnNowSection, 1), 87);
    EXPECT_EQ(cell->liveStatusHintLabelHeightConstraint()->constant(), 16);
    EXPECT_FALSE(cell->liveStatusMessageLabel()->isHidden());
}

TEST_F(HomeDrawingTest, ACancelledPhoneRowIsStruckThroughAndItsDateLosesTheTime) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto row = sessionRow(*home, Home::kWhatsOnNowSection, 0);
    ASSERT_TRUE(row);
    row->setDisplayTime(std::string("09:00 - 10:00"));
    row->setLocationName(std::string("Room 1"));

    auto cell = sessionCell(*home, *row);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->dateLabel()->text(), std::string("Tuesday 10 March, 09:00 - 10:00"));
    EXPECT_FALSE(struckWhole(cell->titleLabel()));
    // The time shows once: in the day line, its own line hidden and closed up.
    EXPECT_TRUE(cell->displayTimeLabel()->isHidden());
    cell->layoutSubviews();
    EXPECT_EQ(cell->titleLabel()->frame().origin.y, cell->dateLabel()->frame().origin.y + cell->dateLabel()->frame().size.height);

    row->setIsCancelled(true);
    cell = sessionCell(*home, *row);
    for (const auto& label : {cell->titleLabel(), cell->displayTimeLabel(), cell->locationLabel(), cell->dateLabel()})
        EXPECT_TRUE(struckWhole(label)) << label->outletName().value_or("?");
    EXPECT_EQ(cell->dateLabel()->text(), std::string("Tuesday 10 March"));
    EXPECT_EQ(cell->titleLabel()->text(), std::string("Session s1"));
    EXPECT_FALSE(cell->displayTimeLabel()->isHidden());
}

TEST_F(HomeDrawingTest, TheTypeIconPrefersPersonalEntriesThenParallelSessions) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00"), rowsSession("s2", "09:00", "10:00")});
    auto inAgenda = rowsSession("s1", "09:00", "10:00");
    inAgenda["agendaItemId"] = "a1";
    auto parallel = rowsSession("x1", "09:00", "10:00");
    parallel["agendaItemId"] = "a2";
    insert(kRowsToken, "QVACoreDataAgendaSelection", {inAgenda, parallel});
    insert(kRowsToken, "QVACoreDataSessionNote", {{{"sessionId", "s1"}, {"note", "to read"}}});
    auto home = launchHome();
    ASSERT_TRUE(home);

    auto iconOf = [&](SpotlightSessionModel& model) -> std::optional<std::string> {
        auto cell = sessionCell(*home, model);
        if (!cell || cell->typeImageView()->isHidden()) return std::nullopt;
        return cell->typeImageView()->image()->name();
    };
    auto official = SpotlightSessionModel::initWithId(std::string("s1"));
    EXPECT_EQ(iconOf(*official), std::string("session_in_agenda.png"));
    auto cell = sessionCell(*home, *official);
    EXPECT_EQ(cell->typeImageViewWidthContraint()->constant(), 15);
    EXPECT_EQ(cell->typeImageToPinImageHSConstraint()->constant(), 5);
    EXPECT_FALSE(cell->noteImageView()->isHidden());
    EXPECT_EQ(cell->noteImageView()->image()->name(), std::string("note.png"));
    EXPECT_EQ(cell->noteImageViewWidthConstraint()->constant(), 15);
    EXPECT_EQ(cell->typeImageTonoteImageHSConstraint()->constant(), 5);

    auto outside = SpotlightSessionModel::initWithId(std::string("x1"));
    EXPECT_EQ(iconOf(*outside), std::string("parallel_session.png"));

    auto entry = SpotlightSessionModel::initWithId(std::string("s1"));
    entry->setSessionType(SpotlightSessionModel::kPersonalEntry);
    EXPECT_EQ(iconOf(*entry), std::string("personal_entry.png"));

    // A plain official session: no icon, no note, both collapsed.
    auto plain = SpotlightSessionModel::initWithId(std::string("s2"));
    EXPECT_EQ(iconOf(*plain), std::nullopt);
    cell = sessionCell(*home, *plain);
    EXPECT_EQ(cell->typeImageViewWidthContraint()->constant(), 0);
    EXPECT_EQ(cell->typeImageToPinImageHSConstraint()->constant(), 0);
    EXPECT_TRUE(cell->noteImageView()->isHidden());
    EXPECT_EQ(cell->noteImageViewWidthConstraint()->constant(), 0);
    EXPECT_EQ(cell->typeImageTonoteImageHSConstraint()->constant(), 0);
    // No occupancy anywhere: the live status collapses.
    EXPECT_EQ(cell->liveStatusHintLabelHeightConstraint()->constant(), 0);
    EXPECT_EQ(cell->liveStatusMessageLabelHeightConstraint()->constant(), 0);
    EXPECT_TRUE(cell->liveStatusHintLabel()->isHidden());
    EXPECT_TRUE(cell->liveStatusMessageLabel()->isHidden());
}

TEST_F(HomeDrawingTest, ThePinNeedsRangingLoadedMapsAndACurrentBeacon) {
    insert(kRowsToken, "QVACoreDataSession", {rowsSession("s1", "09:00", "10:00")});
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto row = sessionRow(*home, Home::kWhatsOnNowSection, 0);
    ASSERT_TRUE(row);
    row->setRoomId(std::string("7"));
    InteractiveMapsServices::instance().setCurrentBeaconIdentifierGlobal("B7");

    // Maps not in memory: no pin, both constants collapsed.
    auto cell = sessionCell(*home, *row);
    EXPECT_TRUE(cell->sessionNearMeImageView()->isHidden());
    EXPECT_EQ(cell->pinImageWidthConstraint()->constant(), 0);
    EXPECT_EQ(cell->pinImageToContentHSConstraint()->constant(), 0);
    EXPECT_FALSE(home->isSessionNearCurrentBeacon(*row));

    // Without ranging, not even with the maps' flag raised.
    settings.setCurrentEventHasIMapsLoadedInMemory(true);
    location::CLLocationManager::setRangingAvailable(false);
    EXPECT_FALSE(home->isSessionNearCurrentBeacon(*row));
    settings.setCurrentEventHasIMapsLoadedInMemory(false);
}

}  // namespace

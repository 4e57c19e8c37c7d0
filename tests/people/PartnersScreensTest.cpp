// The partners list as the More tab opens it, the partner details it opens,
// and the partner header: sections and their order, search, stepping from
// the details, swiping on or off, the rebuild after a save, the header's
// geometry and pictures, the profile row.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "app/EventsTabBarController.h"
#include "app/MoreViewController.h"
#include "app/ShellTestSupport.h"
#include "foundation/RunLoop.h"
#include "lists/IdIndexPair.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "lists/MultilineLabelCell.h"
#include "model/QVACoreDataPartner.h"
#include "people/DetailHeaderGeometry.h"
#include "people/PartnerDetailsViewController.h"
#include "people/PartnersListViewController.h"
#include "people/QVAPartnerHeaderView.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace {

using foundation::Value;
using Titles = std::vector<std::string>;

constexpr const char* kPartnersToken = "partners-token";
constexpr unsigned kNext = SwipeParentControllerProtocol::kNextRowDirection;
constexpr unsigned kPrevious = 1;

struct PartnerRow {
    const char* id;
    const char* name;
    const char* type;
};

class PartnersScreensTest : public shelltest::ShellTest {
protected:
    void addPartners(const std::vector<PartnerRow>& partners) {
        std::vector<meetingtest::Row> rows;
        for (const auto& partner : partners)
            rows.push_back({{"itemId", Value(partner.id)},
                            {"name", Value(partner.name)},
                            {"commonName", Value(partner.name)},
                            {"engagementType", Value(partner.type)},
                            {"profile", Value(std::string("Profile of ") + partner.name)}});
        insert(kPartnersToken, QVACoreDataPartner::kEntityName, rows);
    }

    // The list as a person reaches it: the More tab's "Partners" row.
    std::shared_ptr<PartnersListViewController> openList(const std::vector<PartnerRow>& partners) {
        openCurrent(kPartnersToken);
        addPartners(partners);
        launch();
        tabBar()->selectTabBarItem(EventsTabBarController::moreTabIndex());
        settle();
        auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
        if (!more) return nullptr;
        more->performSegueWithIdentifier(MoreViewController::kPartnersListSegue, more);
        settle();
        return std::dynamic_pointer_cast<PartnersListViewController>(driver().frontViewController());
    }

    static Titles rowNames(uikit::UITableView& table, int64_t section) {
        Titles names;
        for (int64_t row = 0; row < table.numberOfRowsInSection(section); ++row)
            names.push_back(table.cellForRowAtIndexPath({section, row})->textLabel()->text().value_or(""));
        return names;
    }

    std::shared_ptr<PartnerDetailsViewController> tapPartner(int64_t section, int64_t row) {
        if (!driver().tapRow(section, row)) return nullptr;
        settle();
        return std::dynamic_pointer_cast<PartnerDetailsViewController>(driver().frontViewController());
    }
};

TEST_F(PartnersScreensTest, StrategicKindsComeFirstInTheirOrderThenTheOthersByText) {
    auto list = openList({{"p1", "A", "Strategic Technology Partner"},
                          {"p2", "B", "Gold"},
                          {"p3", "C", "Strategic Partner"},
                          {"p4", "D", "Bronze"}});
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "Partners");
    EXPECT_EQ(list->sectionTitlesOrderedArray(),
              (Titles{"Strategic Partner", "Strategic Technology Partner", "Bronze", "Gold"}));
    auto table = list->tableView();
    ASSERT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(table->titleForHeaderInSection(1), "Strategic Technology Partner");
    EXPECT_EQ(table->heightForHeaderInSection(1), 23);
    EXPECT_EQ(rowNames(*table, 3), Titles{"B"});
}

TEST_F(PartnersScreensTest, PartnersOfAKindAreInNaturalOrderOfCommonName) {
    auto list = openList({{"p1", "Org 10", "Gold"}, {"p2", "Org 2", "Gold"}});
    ASSERT_TRUE(list);
    EXPECT_EQ(rowNames(*list->tableView(), 0), (Titles{"Org 2", "Org 10"}));
}

TEST_F(PartnersScreensTest, SteppingWrapsAcrossSectionsBothWays) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"g2", "Beta", "Gold"}, {"s1", "Gamma", "Strategic Partner"}});
    ASSERT_TRUE(list);
    auto next = list->getNextIdIndexPathPairAndMoveSelectionInDirection(kNext, "g2", {1, 1});
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), uikit::NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(next->objectId(), "s1");
    EXPECT_EQ(list->tableView()->indexPathForSelectedRow(), uikit::NSIndexPath::indexPathForRow(0, 0));
    auto back = list->getNextIdIndexPathPairAndMoveSelectionInDirection(kPrevious, "s1", {0, 0});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->indexPath(), uikit::NSIndexPath::indexPathForRow(1, 1));
    EXPECT_EQ(back->objectId(), "g2");
}

TEST_F(PartnersScreensTest, AnIndexPathNoLongerHoldingTheShownPartnerStepsNowhere) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"g2", "Beta", "Gold"}});
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->getNextIdIndexPathPairAndMoveSelectionInDirection(kNext, "g2", {0, 0}));
    EXPECT_FALSE(list->getNextIdIndexPathPairAndMoveSelectionInDirection(kNext, "g2", {0, 7}));
}

TEST_F(PartnersScreensTest, ASearchListsMatchesInOneUntitledSectionAndSteppingStaysInThem) {
    auto list = openList({{"o1", "Org 1", "Gold"}, {"o2", "Org 2", "Strategic Partner"}, {"a1", "Acme", "Gold"}});
    ASSERT_TRUE(list);
    ASSERT_TRUE(driver().search("org"));
    settle();
    auto results = list->searchDisplayController()->searchResultsTableView();
    ASSERT_EQ(results->numberOfSections(), 1);
    EXPECT_EQ(results->titleForHeaderInSection(0), std::nullopt);
    EXPECT_EQ(results->heightForHeaderInSection(0), 0);
    EXPECT_EQ(rowNames(*results, 0), (Titles{"Org 1", "Org 2"}));

    auto next = list->getNextIdIndexPathPairAndMoveSelectionInDirection(kNext, "o2", {0, 1});
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), uikit::NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(next->objectId(), "o1");
    auto back = list->getNextIdIndexPathPairAndMoveSelectionInDirection(kPrevious, "o1", {0, 0});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->objectId(), "o2");

    ASSERT_TRUE(driver().endSearch());
    settle();
    EXPECT_FALSE(list->searchDataSourceArray());
}

TEST_F(PartnersScreensTest, DetailsGetThePartnerTheListAndTheTappedRow) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"s1", "Gamma", "Strategic Partner"}});
    ASSERT_TRUE(list);
    auto details = tapPartner(1, 0);
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), "g1");
    EXPECT_EQ(details->entityName(), QVACoreDataPartner::kEntityName);
    EXPECT_EQ(std::dynamic_pointer_cast<PartnersListViewController>(details->parentController()), list);
    EXPECT_EQ(details->indexPathInParentController(), uikit::NSIndexPath::indexPathForRow(0, 1));
    // Two kinds of engagement: swiping is on.
    EXPECT_TRUE(details->isSwipeEnabled());
}

TEST_F(PartnersScreensTest, ALeftSwipeOnTheDetailsOpensTheNextPartnerOnTheSameScene) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"s1", "Gamma", "Strategic Partner"}});
    ASSERT_TRUE(list);
    auto first = tapPartner(0, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->selectionPropertyId(), "s1");
    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Left));
    settle();
    auto next = std::dynamic_pointer_cast<PartnerDetailsViewController>(driver().frontViewController());
    ASSERT_TRUE(next);
    EXPECT_NE(next, first);
    EXPECT_EQ(next->selectionPropertyId(), "g1");
    EXPECT_EQ(next->indexPathInParentController(), uikit::NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(next->storyboardSceneIdentifier(), PartnerDetailsViewController::kStoryboardIdentifier);
}

TEST_F(PartnersScreensTest, OnePartnerOpensWithSwipingOff) {
    auto list = openList({{"g1", "Alpha", "Gold"}});
    ASSERT_TRUE(list);
    auto details = tapPartner(0, 0);
    ASSERT_TRUE(details);
    EXPECT_FALSE(details->isSwipeEnabled());
}

TEST_F(PartnersScreensTest, PartnersAllOfOneKindOpenWithSwipingOff) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"g2", "Beta", "Gold"}, {"g3", "Delta", "Gold"}});
    ASSERT_TRUE(list);
    auto details = tapPartner(0, 1);
    ASSERT_TRUE(details);
    EXPECT_FALSE(details->isSwipeEnabled());
}

TEST_F(PartnersScreensTest, ASaveWithANewKindRebuildsTheSections) {
    auto list = openList({{"g1", "Alpha", "Gold"}, {"s1", "Gamma", "Strategic Partner"}});
    ASSERT_TRUE(list);
    addPartners({{"v1", "Vega", "Silver"}});
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return list->sectionTitlesOrderedArray().size() == 3; }, 10));
    EXPECT_EQ(list->sectionTitlesOrderedArray(), (Titles{"Strategic Partner", "Gold", "Silver"}));
    EXPECT_EQ(list->tableView()->numberOfSections(), 3);
}

TEST_F(PartnersScreensTest, TheDetailsShowTheProfileAtItsMeasuredHeightAndTrackTheView) {
    auto list = openList({{"g1", "Alpha", "Gold"}});
    ASSERT_TRUE(list);
    const size_t before = AnalyticsUtils::queuedEvents().size();
    auto details = tapPartner(0, 0);
    ASSERT_TRUE(details);
    ASSERT_TRUE(details->partnerHeaderView());
    EXPECT_EQ(details->partnerHeaderView()->headerTitle()->text(), "Alpha");
    EXPECT_EQ(details->partnerHeaderView()->headerSubtitle()->text(), "Gold");
    auto table = details->tableView();
    auto cell = std::dynamic_pointer_cast<MultilineLabelCell>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->multilineLabel()->text(), "Profile of Alpha");
    EXPECT_FALSE(cell->isUserInteractionEnabled());

    auto measured = std::dynamic_pointer_cast<MultilineLabelCell>(
        uikit::UINib::nibWithNibName(MultilineLabelCell::cellNibName())->instantiateWithOwner(nullptr).front());
    ASSERT_TRUE(measured);
    measured->multilineLabel()->setText(std::string("Profile of Alpha"));
    EXPECT_DOUBLE_EQ(table->heightForRowAtIndexPath({0, 0}),
                     Utils::calculateHeightForConfiguredSizingCell(*measured, *table));

    bool tracked = false;
    const auto events = AnalyticsUtils::queuedEvents();
    for (size_t i = before; i < events.size(); ++i)
        tracked |= events[i].name == "View partner" &&
                   events[i].properties == std::map<std::string, std::string>{{"Partner id", "g1"}, {"Partner name", "Alpha"}};
    EXPECT_TRUE(tracked);
}

// --- The header ---

class PartnerHeaderTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        table_ = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 320, 480));
        header_ = std::dynamic_pointer_cast<QVAPartnerHeaderView>(QVADetailHeaderView::addHeaderToTableView(
            table_, QVAPartnerHeaderView::getNibName(), QVAPartnerHeaderView::getHeaderHeight()));
    }
    std::shared_ptr<uikit::UITableView> table_;
    std::shared_ptr<QVAPartnerHeaderView> header_;
};

TEST_F(PartnerHeaderTest, TheThumbnailShrinksFromEightyToFortyAsTheTableScrolls) {
    ASSERT_TRUE(header_);
    header_->didScrollWithOffset(0);
    EXPECT_EQ(header_->headerThumbnailWidthConstraint()->constant(), 40);
    EXPECT_EQ(header_->headerThumbnailHeightConstraint()->constant(), 40);
    header_->didScrollWithOffset(-40);
    EXPECT_EQ(header_->headerThumbnailWidthConstraint()->constant(), 80);
    EXPECT_EQ(header_->headerThumbnail()->frame().size.width, 80);
    header_->didScrollWithOffset(-25);
    EXPECT_EQ(header_->headerThumbnailHeightConstraint()->constant(), 65);
    header_->didScrollWithOffset(-200);
    EXPECT_EQ(header_->headerThumbnailHeightConstraint()->constant(), 80);
}

TEST_F(PartnerHeaderTest, ATitleReachingUnderTheBarStretchesTheHeaderInTheTable) {
    ASSERT_TRUE(header_);
    EXPECT_FALSE(DetailHeaderGeometry::stretchBackgroundForTitleTop(*header_, 60, 180));
    EXPECT_EQ(header_->headerBackgroundImageHeightConstraint()->constant(), 180);
    EXPECT_TRUE(DetailHeaderGeometry::stretchBackgroundForTitleTop(*header_, 30, 180));
    EXPECT_EQ(header_->headerBackgroundImageHeightConstraint()->constant(), 194);
    EXPECT_EQ(table_->tableHeaderView(), header_);
    EXPECT_EQ(header_->frame().size.height, 194);
    EXPECT_EQ(table_->contentSize().height, 194);
    EXPECT_EQ(header_->getHeaderBackgroundImageHeight(), 154);
}

TEST_F(PartnerHeaderTest, ALongNameGrowsUpwardsAndStretchesTheHeader) {
    ASSERT_TRUE(header_);
    header_->configureWithBackgroundImageUrl(std::nullopt, std::nullopt, std::string("Short"), std::string("Gold"));
    EXPECT_EQ(header_->frame().size.height, 180);
    std::string longName;
    for (int i = 0; i < 12; ++i) longName += "Partner of the meeting ";
    header_->configureWithBackgroundImageUrl(std::nullopt, std::nullopt, longName, std::string("Gold"));
    EXPECT_GT(header_->frame().size.height, 180);
    EXPECT_GE(header_->headerTitle()->frame().origin.y, DetailHeaderGeometry::kNavigationBarBottom - 0.001);
    EXPECT_EQ(header_->getNavigationBarTitle(), longName);
}

TEST_F(PartnerHeaderTest, WithoutALogoTheBackgroundIsThePlaceholderBlurred) {
    ASSERT_TRUE(header_);
    header_->configureWithBackgroundImageUrl(std::string(""), std::string("https://example.org/t.png"),
                                             std::string("Acme"), std::string("Gold"));
    auto placeholder = uikit::UIImage::imageNamed(QVAPartnerHeaderView::kPlaceholderImageName);
    ASSERT_TRUE(placeholder);
    auto background = header_->headerBackgroundImage()->image();
    ASSERT_TRUE(background);
    // The blurred copy is a new picture of the placeholder's size.
    EXPECT_NE(background->name(), placeholder->name());
    EXPECT_EQ(background->size(), placeholder->size());
    ASSERT_TRUE(header_->headerThumbnail()->image());
    EXPECT_EQ(header_->headerThumbnail()->image()->name(), placeholder->name());
}

TEST_F(PartnerHeaderTest, DrawingTwiceLeavesOneOverlay) {
    ASSERT_TRUE(header_);
    const auto before = header_->headerBackgroundImage()->subviews().size();
    header_->drawRect(header_->bounds());
    header_->drawRect(header_->bounds());
    EXPECT_EQ(header_->headerBackgroundImage()->subviews().size(), before + 1);
    ASSERT_TRUE(header_->overlay());
    EXPECT_DOUBLE_EQ(header_->overlay()->alpha(), 0.75);
    EXPECT_EQ(header_->headerThumbnail()->layer()->cornerRadius(), 8);
    EXPECT_EQ(header_->headerThumbnail()->layer()->borderWidth(), 3);
}

}  // namespace

namespace {

class PadPartnersScreensTest : public PartnersScreensTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadPartnersScreensTest, DetailsTakeTheSplitViewsDetailInsideANavigationController) {
    openCurrent(kPartnersToken);
    addPartners({{"g1", "Alpha", "Gold"}, {"s1", "Gamma", "Strategic Partner"}});
    launch();
    auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    ASSERT_TRUE(more);
    more->loadViewIfNeeded();
    more->performSegueWithIdentifier(MoreViewController::kPartnersListSegue, more);
    settle();
    ASSERT_TRUE(detail());
    auto list = std::dynamic_pointer_cast<PartnersListViewController>(detail()->viewControllers().front());
    ASSERT_TRUE(list);
    list->tableViewDidSelectRowAtIndexPath(*list->tableView(), uikit::NSIndexPath::indexPathForRow(0, 0));
    settle();
    ASSERT_TRUE(detail());
    auto details = std::dynamic_pointer_cast<PartnerDetailsViewController>(detail()->viewControllers().front());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), "s1");
    EXPECT_EQ(std::dynamic_pointer_cast<PartnersListViewController>(details->parentController()), list);
    EXPECT_EQ(split()->viewControllers().front(), tabBar());
}

}  // namespace

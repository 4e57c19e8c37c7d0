// Tables: the viewport asks every height but builds cells only for the rows
// in view, reusing the cells of rows that left; reloads and batch updates
// check the data source's counts and rebuild only the rows they touch;
// dequeuing serves queued cells, then registrations (nib, class, the scene's
// prototype cells), else nil; a person's tap runs will-select, the cell's
// segue (should-perform first) and did-select.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "uikit/UIApplication.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITableViewController.h"
#include "uikit/UIWindow.h"

namespace {

using uikit::NSIndexPath;
using uikit::UITableView;
using uikit::UITableViewCell;
using uikit::UITableViewCellPtr;
using uikit::UITableViewRowAnimation;
using uikit::UITableViewScrollPosition;

struct CountingCell : UITableViewCell {
    using UITableViewCell::UITableViewCell;
    static inline int made = 0;
    static inline int prepared = 0;
    void prepareForReuse() override {
        UITableViewCell::prepareForReuse();
        ++prepared;
    }
};

// Rows per section, titles and optional heights; cells come from the "row"
// registration and show "S.R" as their text.
struct Source : uikit::UITableViewDataSource, uikit::UITableViewDelegate {
    std::vector<int64_t> rows;
    std::vector<std::optional<std::string>> titles;
    std::optional<double> rowHeight;
    std::optional<double> headerHeight;
    int heightAsks = 0;
    std::vector<std::string> events;
    std::optional<std::optional<NSIndexPath>> redirect;

    int64_t numberOfSectionsInTableView(UITableView&) override { return int64_t(rows.size()); }
    int64_t tableViewNumberOfRowsInSection(UITableView&, int64_t section) override { return rows[size_t(section)]; }
    UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        auto cell = table.dequeueReusableCellWithIdentifier("row", path);
        cell->textLabel()->setText(std::to_string(path.section) + "." + std::to_string(path.row));
        return cell;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int64_t section) override {
        return size_t(section) < titles.size() ? titles[size_t(section)] : std::nullopt;
    }
    std::optional<double> tableViewHeightForRowAtIndexPath(UITableView&, const NSIndexPath&) override {
        ++heightAsks;
        return rowHeight;
    }
    std::optional<double> tableViewHeightForHeaderInSection(UITableView&, int64_t section) override {
        return section == 1 ? headerHeight : std::nullopt;
    }
    std::optional<NSIndexPath> tableViewWillSelectRowAtIndexPath(UITableView&, const NSIndexPath& path) override {
        events.push_back("will " + std::to_string(path.row));
        return redirect ? *redirect : path;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView&, const NSIndexPath& path) override {
        events.push_back("did " + std::to_string(path.row));
    }
    void tableViewDidDeselectRowAtIndexPath(UITableView&, const NSIndexPath& path) override {
        events.push_back("deselect " + std::to_string(path.row));
    }
};

class UITableViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CountingCell::made = 0;
        CountingCell::prepared = 0;
        table_ = std::make_shared<UITableView>(graphics::Rect{{0, 0}, {375, 667}});
        source_ = std::make_shared<Source>();
        table_->registerClass([](const std::string& id) -> UITableViewCellPtr {
            ++CountingCell::made;
            return std::make_shared<CountingCell>(uikit::UITableViewCellStyle::Default, id);
        }, "row");
        table_->setDataSource(source_);
        table_->setDelegate(source_);
    }
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        uikit::UIApplication::sharedApplication().resetForTests();
        foundation::RunLoop::main().runDueTasks();
    }
    std::vector<NSIndexPath> visible() { return table_->indexPathsForVisibleRows(); }
    std::string text(const NSIndexPath& path) {
        auto cell = table_->cellForRowAtIndexPath(path);
        return cell ? cell->textLabel()->text().value_or("") : "<none>";
    }

    std::shared_ptr<UITableView> table_;
    std::shared_ptr<Source> source_;
};

TEST_F(UITableViewTest, TenThousandRowsAskEveryHeightButBuildAScreenfulOfCells) {
    source_->rows = {10000};
    table_->reloadData();

    EXPECT_EQ(source_->heightAsks, 10000);
    EXPECT_EQ(table_->contentSize().height, 440000);
    auto shown = visible();
    ASSERT_EQ(shown.size(), 16u);  // rows 0-15: row 15 is partly in view
    EXPECT_EQ(shown.front(), (NSIndexPath{0, 0}));
    EXPECT_EQ(shown.back(), (NSIndexPath{0, 15}));
    EXPECT_LE(CountingCell::made, 18);
    EXPECT_EQ(table_->cellForRowAtIndexPath({0, 5000}), nullptr);
    EXPECT_EQ(table_->rectForRowAtIndexPath({0, 5000}), (graphics::Rect{{0, 220000}, {375, 44}}));
    // The cells in view are subviews at their rows' rects.
    auto cell = table_->cellForRowAtIndexPath({0, 3});
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->superview(), table_);
    EXPECT_EQ(cell->frame(), table_->rectForRowAtIndexPath({0, 3}));
    EXPECT_EQ(table_->indexPathForCell(*cell), (NSIndexPath{0, 3}));

    // To the end and back: every new row is served from the reuse queue.
    table_->scrollToRowAtIndexPath({0, 9999}, UITableViewScrollPosition::Bottom, false);
    EXPECT_EQ(table_->contentOffset().y, 440000 - 667);
    EXPECT_EQ(visible().back(), (NSIndexPath{0, 9999}));
    EXPECT_EQ(text({0, 9999}), "0.9999");
    for (double y = 440000 - 667; y > 0; y -= 300) table_->setContentOffset({0, y});
    table_->setContentOffset({0, 0});
    EXPECT_EQ(text({0, 0}), "0.0");
    EXPECT_LE(CountingCell::made, 18);
    EXPECT_GT(CountingCell::prepared, 1000);
    EXPECT_EQ(table_->subviews().size(), visible().size());

    // Middle puts the row's centre at the view's centre.
    table_->scrollToRowAtIndexPath({0, 5000}, UITableViewScrollPosition::Middle, true);
    EXPECT_EQ(table_->contentOffset().y + 667 / 2.0, 220000 + 22);
    EXPECT_TRUE(table_->lastContentOffsetAnimated());
    ASSERT_NE(table_->cellForRowAtIndexPath({0, 5000}), nullptr);
    // Position none moves a row out of view just into view, and leaves one in view.
    table_->scrollToRowAtIndexPath({0, 5100}, UITableViewScrollPosition::None, false);
    EXPECT_EQ(table_->contentOffset().y, 5101 * 44 - 667);
    table_->scrollToRowAtIndexPath({0, 5095}, UITableViewScrollPosition::None, false);
    EXPECT_EQ(table_->contentOffset().y, 5101 * 44 - 667);
    // Clamped to the content at the top.
    table_->scrollToRowAtIndexPath({0, 1}, UITableViewScrollPosition::Bottom, false);
    EXPECT_EQ(table_->contentOffset().y, 0);
    EXPECT_THROW(table_->scrollToRowAtIndexPath({0, 10000}, UITableViewScrollPosition::Top, false), foundation::Exception);
}

TEST_F(UITableViewTest, TwoSectionsWithTitlesHeightsAndRects) {
    source_->rows = {2, 3};
    source_->titles = {std::string("Notifications"), std::nullopt};
    source_->rowHeight = 70;
    table_->reloadData();
    EXPECT_EQ(table_->numberOfSections(), 2);
    EXPECT_EQ(table_->titleForHeaderInSection(0), "Notifications");
    EXPECT_EQ(table_->heightForHeaderInSection(0), 22);  // titled
    EXPECT_EQ(table_->heightForHeaderInSection(1), 0);   // untitled
    EXPECT_EQ(table_->rectForHeaderInSection(1), (graphics::Rect{{0, 22 + 140}, {375, 0}}));
    EXPECT_EQ(table_->rectForRowAtIndexPath({1, 2}), (graphics::Rect{{0, 22 + 140 + 140}, {375, 70}}));
    EXPECT_EQ(visible().size(), 5u);
    EXPECT_EQ(text({0, 1}), "0.1");
    EXPECT_EQ(text({1, 2}), "1.2");
    EXPECT_EQ(table_->indexPathForRowAtPoint({10, 22 + 140 + 75}), (NSIndexPath{1, 1}));
    EXPECT_EQ(table_->indexPathForRowAtPoint({10, 5}), std::nullopt);

    // The delegate's header height wins; without a delegate the row height is the table's.
    source_->headerHeight = 40;
    table_->setDelegate(nullptr);
    table_->reloadData();
    EXPECT_EQ(table_->heightForRowAtIndexPath({0, 0}), 44);
    EXPECT_EQ(table_->heightForHeaderInSection(1), 0);
    table_->setDelegate(source_);
    table_->reloadData();
    EXPECT_EQ(table_->heightForHeaderInSection(1), 40);
}

// A screen that resizes its header assigns it again: the rows follow.
TEST_F(UITableViewTest, TheSameHeaderAssignedAgainMovesTheRowsToItsNewHeight) {
    source_->rows = {3};
    auto header = std::make_shared<uikit::UIView>(graphics::Rect{{0, 0}, {375, 300}});
    table_->setTableHeaderView(header);
    table_->reloadData();
    EXPECT_EQ(table_->rectForRowAtIndexPath({0, 0}).origin.y, 300);
    header->setFrame({{0, 0}, {375, 170}});
    table_->setTableHeaderView(header);
    EXPECT_EQ(table_->rectForRowAtIndexPath({0, 0}).origin.y, 170);
    EXPECT_EQ(table_->cellForRowAtIndexPath({0, 0})->frame().origin.y, 170);
    EXPECT_EQ(table_->contentSize().height, 170 + 3 * 44);
}

TEST_F(UITableViewTest, DequeuingServesQueueThenRegistrationElseNil) {
    EXPECT_EQ(table_->dequeueReusableCellWithIdentifier("sessionCell"), nullptr);
    EXPECT_THROW(table_->dequeueReusableCellWithIdentifier("sessionCell", {0, 0}), foundation::Exception);

    uikit::UINib::registerNib("SessionCell", [](const foundation::ObjectPtr&) {
        return std::vector<foundation::ObjectPtr>{std::make_shared<UITableViewCell>(uikit::UITableViewCellStyle::Subtitle)};
    });
    table_->registerNib(uikit::UINib::nibWithNibName("SessionCell"), "sessionCell");
    auto cell = table_->dequeueReusableCellWithIdentifier("sessionCell");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), "sessionCell");
    EXPECT_EQ(cell->style(), uikit::UITableViewCellStyle::Subtitle);
    uikit::UINib::unregisterNib("SessionCell");

    // A cell that left the view comes back after prepareForReuse, unselected.
    source_->rows = {40};
    table_->reloadData();
    table_->selectRowAtIndexPath(NSIndexPath{0, 0}, false, UITableViewScrollPosition::None);
    auto first = table_->cellForRowAtIndexPath({0, 0});
    EXPECT_TRUE(first->isSelected());
    table_->setContentOffset({0, 44 * 20});
    EXPECT_EQ(table_->cellForRowAtIndexPath({0, 0}), nullptr);
    // Its cell now serves a row that came into view.
    ASSERT_TRUE(table_->indexPathForCell(*first).has_value());
    EXPECT_GE(table_->indexPathForCell(*first)->row, 20);
    EXPECT_FALSE(first->isSelected());
    table_->setContentOffset({0, 0});
    EXPECT_TRUE(table_->cellForRowAtIndexPath({0, 0})->isSelected());
    EXPECT_GT(CountingCell::prepared, 0);
}

TEST_F(UITableViewTest, BatchUpdatesCheckCountsAndRebuildOnlyTheAffectedRows) {
    source_->rows = {3, 2};
    table_->reloadData();
    auto kept = table_->cellForRowAtIndexPath({0, 2});
    int made = CountingCell::made;

    // The data source still counts the old number.
    table_->beginUpdates();
    table_->insertRowsAtIndexPaths({{0, 1}}, UITableViewRowAnimation::Fade);
    try {
        table_->endUpdates();
        FAIL() << "no exception";
    } catch (const foundation::Exception& e) {
        EXPECT_NE(e.reason().find("section 0"), std::string::npos) << e.reason();
    }
    EXPECT_EQ(table_->numberOfRowsInSection(0), 3);

    source_->rows = {4, 2};
    table_->beginUpdates();
    table_->insertRowsAtIndexPaths({{0, 1}}, UITableViewRowAnimation::Fade);
    table_->endUpdates();
    EXPECT_EQ(table_->numberOfRowsInSection(0), 4);
    EXPECT_EQ(text({0, 1}), "0.1");
    EXPECT_EQ(table_->cellForRowAtIndexPath({0, 3}), kept);  // moved down, not rebuilt
    EXPECT_EQ(kept->frame(), table_->rectForRowAtIndexPath({0, 3}));
    EXPECT_EQ(CountingCell::made, made + 1);
    ASSERT_EQ(table_->lastUpdates().size(), 1u);
    EXPECT_EQ(table_->lastUpdates()[0].animation, UITableViewRowAnimation::Fade);

    // Sections: one deleted, one inserted before it; rows of a reloaded row are asked again.
    source_->rows = {1, 4};
    table_->beginUpdates();
    table_->deleteSections({1}, UITableViewRowAnimation::Automatic);
    table_->insertSections({0}, UITableViewRowAnimation::Automatic);
    table_->endUpdates();
    EXPECT_EQ(table_->cellForRowAtIndexPath({1, 3}), kept);
    EXPECT_EQ(text({0, 0}), "0.0");
    source_->rows = {1, 3};
    EXPECT_THROW(table_->reloadRowsAtIndexPaths({{1, 0}}, UITableViewRowAnimation::None), foundation::Exception);
    table_->deleteRowsAtIndexPaths({{1, 0}}, UITableViewRowAnimation::Left);
    EXPECT_EQ(table_->cellForRowAtIndexPath({1, 2}), kept);
    // A reloaded section may change its count.
    source_->rows = {1, 7};
    table_->reloadSections({1}, UITableViewRowAnimation::Fade);
    EXPECT_EQ(table_->numberOfRowsInSection(1), 7);
    EXPECT_EQ(text({1, 6}), "1.6");
    EXPECT_EQ(text({1, 2}), "1.2");  // asked again, though its cell was "0.2" once
}

TEST_F(UITableViewTest, APulledTableIsObservedWhileDraggingAndRestsUnderItsInset) {
    source_->rows = {30};
    table_->setContentInset({64, 0, 0, 0});
    table_->reloadData();
    table_->setContentOffset({0, -64});
    std::vector<std::pair<double, bool>> seen;
    table_->addObserverForKeyPath("contentOffset", [&](uikit::UIScrollView& v, const std::string&,
                                                      const uikit::UIScrollView::ObservedValue& value) {
        seen.emplace_back(std::get<graphics::Point>(value).y, v.isDragging());
    });
    table_->dragThroughContentOffsets({{0, -90}, {0, -120}});
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(-90.0, true));
    EXPECT_EQ(seen[1], std::make_pair(-120.0, true));
    EXPECT_EQ(seen.back(), std::make_pair(-64.0, false));
    EXPECT_EQ(table_->contentOffset().y, -64);
    EXPECT_EQ(visible().front(), (NSIndexPath{0, 0}));

    // Hit-testing finds the cells where their rows stand.
    table_->setContentOffset({0, 440});
    auto hit = table_->hitTest({20, 440 + 44 * 2 + 10});
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit->isDescendantOfView(table_->cellForRowAtIndexPath({0, 12}).get()));
    // A new frame brings more rows into view.
    table_->setFrame({{0, 0}, {375, 300}});
    EXPECT_EQ(visible().back(), (NSIndexPath{0, 16}));
}

TEST_F(UITableViewTest, TappingARowRunsWillSelectDeselectAndDidSelect) {
    source_->rows = {10000};
    table_->reloadData();
    EXPECT_FALSE(table_->tapRowAtIndexPath({0, 9000}));  // not in view
    table_->scrollToRowAtIndexPath({0, 9000}, UITableViewScrollPosition::None, false);
    ASSERT_TRUE(table_->tapRowAtIndexPath({0, 9000}));
    EXPECT_EQ(table_->indexPathForSelectedRow(), (NSIndexPath{0, 9000}));
    EXPECT_TRUE(table_->cellForRowAtIndexPath({0, 9000})->isSelected());
    EXPECT_TRUE(table_->cellForRowAtIndexPath({0, 9000})->textLabel()->isHighlighted());
    ASSERT_TRUE(table_->tapRowAtIndexPath({0, 8999}));
    EXPECT_EQ(source_->events, (std::vector<std::string>{"will 9000", "did 9000", "will 8999", "deselect 9000", "did 8999"}));
    EXPECT_FALSE(table_->cellForRowAtIndexPath({0, 9000})->isSelected());

    // Will-select may refuse.
    source_->events.clear();
    source_->redirect = std::optional<NSIndexPath>{};
    ASSERT_TRUE(table_->tapRowAtIndexPath({0, 9000}));
    EXPECT_EQ(source_->events, (std::vector<std::string>{"will 9000"}));
    EXPECT_EQ(table_->indexPathForSelectedRow(), (NSIndexPath{0, 8999}));
    table_->setAllowsSelection(false);
    EXPECT_FALSE(table_->tapRowAtIndexPath({0, 9000}));
}

// Editing: a swipe commits the delete of a row in view only when the data
// source commits edits, lets the row be edited and the delegate offers delete.
struct EditableSource : Source {
    bool commits = true;
    int64_t lockedRow = -1;
    uikit::UITableViewCellEditingStyle style = uikit::UITableViewCellEditingStyle::Delete;
    bool implementsCommitEditingStyle() const override { return commits; }
    bool tableViewCanEditRowAtIndexPath(UITableView&, const NSIndexPath& path) override { return path.row != lockedRow; }
    uikit::UITableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(UITableView&, const NSIndexPath&) override {
        return style;
    }
    void tableViewCommitEditingStyle(UITableView& table, uikit::UITableViewCellEditingStyle editingStyle,
                                     const NSIndexPath& path) override {
        events.push_back("commit " + std::to_string(int(editingStyle)) + " " + std::to_string(path.row));
        rows[0] -= 1;
        table.deleteRowsAtIndexPaths({path}, UITableViewRowAnimation::Fade);
    }
};

TEST_F(UITableViewTest, ASwipeCommitsTheDeleteOfAnEditableRowInView) {
    auto source = std::make_shared<EditableSource>();
    source->rows = {100};
    source->lockedRow = 2;
    table_->setDataSource(source);
    table_->setDelegate(source);
    table_->reloadData();
    EXPECT_FALSE(table_->isEditing());
    table_->setEditing(true, true);
    EXPECT_TRUE(table_->isEditing());

    EXPECT_FALSE(table_->swipeToDeleteRowAtIndexPath({0, 90}));  // not in view
    EXPECT_FALSE(table_->swipeToDeleteRowAtIndexPath({0, 2}));   // cannot be edited
    EXPECT_EQ(table_->editingStyleForRowAtIndexPath({0, 2}), uikit::UITableViewCellEditingStyle::None);
    ASSERT_TRUE(table_->swipeToDeleteRowAtIndexPath({0, 1}));
    EXPECT_EQ(source->events, (std::vector<std::string>{"commit 1 1"}));
    EXPECT_EQ(table_->numberOfRowsInSection(0), 99);

    // An insert style, or a data source that commits nothing, offers no delete.
    source->style = uikit::UITableViewCellEditingStyle::Insert;
    EXPECT_FALSE(table_->swipeToDeleteRowAtIndexPath({0, 1}));
    source->style = uikit::UITableViewCellEditingStyle::Delete;
    source->commits = false;
    EXPECT_FALSE(table_->swipeToDeleteRowAtIndexPath({0, 1}));
    EXPECT_EQ(source->events.size(), 1u);
}

// A storyboard table controller: its scene's prototype cells dequeue from
// its table, and a cell's segue asks should-perform before did-select.
struct SessionList : uikit::UITableViewController {
    std::vector<std::string>* events = nullptr;
    int64_t tableViewNumberOfRowsInSection(UITableView&, int64_t) override { return 3; }
    UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView& table, const NSIndexPath&) override {
        return table.dequeueReusableCellWithIdentifier("sessionCell");
    }
    void tableViewDidSelectRowAtIndexPath(UITableView&, const NSIndexPath&) override { events->push_back("did select"); }
    bool shouldPerformSegueWithIdentifier(const std::string& id, const foundation::ObjectPtr& sender) override {
        events->push_back("should " + id + (std::dynamic_pointer_cast<UITableViewCell>(sender) ? " cell" : ""));
        return true;
    }
    void prepareForSegue(uikit::UIStoryboardSegue&, const foundation::ObjectPtr&) override { events->push_back("prepare"); }
};

TEST_F(UITableViewTest, AStoryboardTableControllerServesPrototypeCellsAndTheirSegue) {
    std::vector<std::string> events;
    auto board = uikit::UIStoryboard::registerStoryboard("Storyboard_TableTest");
    board->addScene("list", [&](uikit::UIStoryboard&) {
        auto list = std::make_shared<SessionList>();
        list->events = &events;
        return list;
    });
    board->addScene("detail", [](uikit::UIStoryboard&) { return std::make_shared<uikit::UIViewController>(); });
    board->addPrototypeCell("list", "sessionCell", [] {
        return std::make_shared<UITableViewCell>(uikit::UITableViewCellStyle::Value1, "sessionCell");
    });
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = "showSession";
    segue.destination = "detail";
    segue.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, "sessionCell"};
    board->addSegue("list", segue);

    auto list = std::static_pointer_cast<SessionList>(board->instantiateViewControllerWithIdentifier("list"));
    auto navigation = uikit::UINavigationController::withRootViewController(list);
    uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(navigation);
    foundation::RunLoop::main().runDueTasks();

    auto table = list->tableView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(list->view(), table);
    EXPECT_EQ(table->dataSource().get(), static_cast<uikit::UITableViewDataSource*>(list.get()));
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    auto cell = table->cellForRowAtIndexPath({0, 2});
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->style(), uikit::UITableViewCellStyle::Value1);
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("otherCell"), nullptr);

    ASSERT_TRUE(table->tapRowAtIndexPath({0, 2}));
    EXPECT_EQ(events, (std::vector<std::string>{"should showSession cell", "prepare", "did select"}));
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(navigation->viewControllers().size(), 2u);

    // Back on screen, the controller clears the selection.
    navigation->popViewControllerAnimated(false);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    uikit::UIStoryboard::unregisterStoryboard("Storyboard_TableTest");
}

// Tables in a scene's views get its prototype cells as the view loads; a
// table added afterwards (a search's results) dequeues nil, so a list can
// fall back on its own table.
TEST_F(UITableViewTest, OnlyTablesOfTheLoadedSceneGetItsPrototypeCells) {
    auto board = uikit::UIStoryboard::registerStoryboard("Storyboard_TableTest");
    std::shared_ptr<UITableView> sceneTable;
    board->addScene("list", [](uikit::UIStoryboard&) { return std::make_shared<uikit::UIViewController>(); },
                    [&](uikit::UIViewController&, uikit::SceneOutlets& outlets) {
                        auto root = std::make_shared<uikit::UIView>(graphics::Rect{{0, 0}, {375, 667}});
                        sceneTable = outlets.connect("tableView", std::make_shared<UITableView>(root->bounds()));
                        root->addSubview(sceneTable);
                        return root;
                    });
    board->addPrototypeCell("list", "sessionCell", [] {
        return std::make_shared<UITableViewCell>(uikit::UITableViewCellStyle::Subtitle, "sessionCell");
    });
    auto controller = board->instantiateViewControllerWithIdentifier("list");
    auto root = controller->view();
    ASSERT_NE(sceneTable, nullptr);
    auto cell = sceneTable->dequeueReusableCellWithIdentifier("sessionCell");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->style(), uikit::UITableViewCellStyle::Subtitle);

    auto results = std::make_shared<UITableView>(root->bounds());
    root->addSubview(results);
    EXPECT_EQ(results->dequeueReusableCellWithIdentifier("sessionCell"), nullptr);
    uikit::UIStoryboard::unregisterStoryboard("Storyboard_TableTest");
}

TEST(UITableViewCellTest, StylesLabelsSelectionAndFittingHeight) {
    auto plain = std::make_shared<UITableViewCell>();
    EXPECT_EQ(plain->detailTextLabel(), nullptr);
    EXPECT_EQ(plain->contentView()->superview(), plain);
    EXPECT_EQ(plain->textLabel()->superview(), plain->contentView());
    EXPECT_EQ(plain->fittingHeightForWidth(320), 44);

    auto value1 = std::make_shared<UITableViewCell>(uikit::UITableViewCellStyle::Value1, "v");
    value1->setFrame({{0, 0}, {320, 44}});
    value1->textLabel()->setText("Room");
    value1->detailTextLabel()->setText("A1");
    value1->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    value1->layoutIfNeeded();
    EXPECT_LT(value1->contentView()->frame().size.width, 320);
    EXPECT_GT(value1->detailTextLabel()->frame().origin.x, value1->textLabel()->frame().origin.x);

    value1->setSelected(true);
    EXPECT_TRUE(value1->textLabel()->isHighlighted());
    EXPECT_TRUE(value1->detailTextLabel()->isHighlighted());
    value1->prepareForReuse();
    EXPECT_FALSE(value1->isSelected());
    EXPECT_FALSE(value1->textLabel()->isHighlighted());
    value1->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    value1->setHighlighted(true);
    EXPECT_FALSE(value1->textLabel()->isHighlighted());
}

}  // namespace

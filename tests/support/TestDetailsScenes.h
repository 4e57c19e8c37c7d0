// A list scene and a details scene of the tests' own, on the plain details
// container: the list ("testDetailsList") holds a few rows with ids "1",
// "2", ... and opens the details scene for a tapped row with swiping on; the
// details scene shows the id it was given and wires the swipe segue to both of
// its recognisers, so swipes step through the list's rows as the real
// details screens do. The details screen records every object it was asked
// to show and observes the entities tests give it.
// Header-only: the support library links no app code, the binaries that
// include it do.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "coredata/ManagedObject.h"
#include "lists/DetailsBaseViewController.h"
#include "lists/LiteListBaseViewController.h"
#include "model/IEntityModel.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIScreen.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace TestDetailsScenes {

inline constexpr const char* kListScene = "testDetailsList";
inline constexpr const char* kDetailsScene = "testDetailsScreen";
inline constexpr const char* kSwipeSegue = "testDetailsSwipeSegue";
inline constexpr const char* kRowCell = "testDetailsRow";
inline constexpr const char* kEntityName = "QVACoreDataParticipant";
inline constexpr const char* kSwipeLeftOutlet = "swipeLeftRecognizer";
inline constexpr const char* kSwipeRightOutlet = "swipeRightRecognizer";
inline constexpr const char* kIdLabelOutlet = "detailsIdLabel";

}  // namespace TestDetailsScenes

class TestDetailsRow : public IEntityModel {
public:
    TestDetailsRow(std::string id, std::optional<std::string> entity) : id_(std::move(id)), entity_(std::move(entity)) {}
    std::optional<std::string> coreDataClass() const override { return entity_; }
    std::optional<std::string> selectionPropertyId() const override { return id_; }

private:
    std::string id_;
    std::optional<std::string> entity_;
};

class TestDetailsViewController : public DetailsBaseViewController {
public:
    // The entities whose saves reload the screen.
    std::vector<std::string> observed;
    // Every updateUIContentForObject: the id shown and the object (null when none was found).
    std::vector<std::pair<std::optional<std::string>, std::shared_ptr<coredata::ManagedObject>>> shown;

    static Text storyboardIdentifier() { return std::string(TestDetailsScenes::kDetailsScene); }

    std::shared_ptr<uikit::UILabel> idLabel() const { return idLabel_.lock(); }
    void setIdLabel(const std::shared_ptr<uikit::UILabel>& label) { idLabel_ = label; }

    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override { return observed; }
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override {
        shown.emplace_back(selectionPropertyId(), object);
        if (auto label = idLabel()) label->setText("Details " + selectionPropertyId().value_or("-"));
    }
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return {{"selectionPropertyId", selectionPropertyId().value_or("")},
                {"isSwipeEnabled", isSwipeEnabled() ? "YES" : "NO"}};
    }
    std::string className() const override { return "TestDetailsViewController"; }

private:
    std::weak_ptr<uikit::UILabel> idLabel_;
};

class TestDetailsListViewController : public LiteListBaseViewController {
public:
    // The rows' ids; rows answer `rowEntity` as their entity (none: the
    // details keep their own).
    std::vector<std::string> ids = {"1", "2", "3"};
    std::optional<std::string> rowEntity = std::string(TestDetailsScenes::kEntityName);
    // The details screen a tapped row opened last (weak: it holds the list).
    std::weak_ptr<TestDetailsViewController> lastOpened;

    static Text storyboardIdentifier() { return std::string(TestDetailsScenes::kListScene); }

    void loadView() override {
        auto table = std::make_shared<uikit::UITableView>(uikit::UIScreen::mainScreen().bounds());
        table->setOutletName("tableView");
        table->registerClass<uikit::UITableViewCell>(TestDetailsScenes::kRowCell);
        setView(table);
        setTableView(table);
    }
    void viewDidLoad() override {
        LiteListBaseViewController::viewDidLoad();
        auto me = std::dynamic_pointer_cast<TestDetailsListViewController>(shared_from_this());
        tableView()->setDataSource(me);
        tableView()->setDelegate(me);
        reloadDataSourceAndTable();
    }
    void reloadDataSourceAndTable() override {
        RowObjects rows;
        for (const auto& id : ids) rows.push_back(std::make_shared<TestDetailsRow>(id, rowEntity));
        setDataSourceArray(std::move(rows));
        if (auto table = tableView()) table->reloadData();
    }
    std::string cellIdentifier() override { return TestDetailsScenes::kRowCell; }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        auto cell = LiteListBaseViewController::tableViewCellForRowAtIndexPath(table, indexPath);
        if (cell) cell->textLabel()->setText("Row " + ids.at(static_cast<size_t>(indexPath.row)));
        return cell;
    }
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, const uikit::NSIndexPath& indexPath) override {
        auto details = std::dynamic_pointer_cast<TestDetailsViewController>(
            storyboard()->instantiateViewControllerWithIdentifier(TestDetailsScenes::kDetailsScene));
        details->setEntityName(rowEntity.value_or(TestDetailsScenes::kEntityName));
        details->setSelectionPropertyId(ids.at(static_cast<size_t>(indexPath.row)));
        details->setParentController(std::dynamic_pointer_cast<TestDetailsListViewController>(shared_from_this()));
        details->setIndexPathInParentController(indexPath);
        details->setIsSwipeEnabled(true);
        lastOpened = details;
        // The list keeps its selection: swipes move it.
        (void)table;
        navigationController()->pushViewController(details, true);
    }

    std::string className() const override { return "TestDetailsListViewController"; }
};

namespace TestDetailsScenes {

// The details scene's view: the id label and the two recognisers, both
// triggering the swipe segue.
inline std::shared_ptr<uikit::UIView> buildDetailsView(uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
    auto& details = static_cast<TestDetailsViewController&>(owner);
    auto root = std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds());
    root->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->setBackgroundColor(uikit::UIColor::whiteColor());
    auto label = outlets.connect(kIdLabelOutlet, std::make_shared<uikit::UILabel>(graphics::Rect(20, 100, 300, 30)));
    root->addSubview(label);
    details.setIdLabel(label);
    auto left = std::make_shared<uikit::UISwipeGestureRecognizer>();
    left->setDirection(uikit::UISwipeGestureRecognizerDirectionLeft);
    auto right = std::make_shared<uikit::UISwipeGestureRecognizer>();
    right->setDirection(uikit::UISwipeGestureRecognizerDirectionRight);
    root->addGestureRecognizer(left);
    root->addGestureRecognizer(right);
    details.setSwipeLeftRecognizer(outlets.connect(kSwipeLeftOutlet, left));
    details.setSwipeRightRecognizer(outlets.connect(kSwipeRightOutlet, right));
    return root;
}

// Both scenes, and the swipe segue from the details scene to a new one of
// its kind, wired to each recogniser.
inline void addScenes(uikit::UIStoryboard& storyboard) {
    if (storyboard.hasScene(kListScene)) return;
    storyboard.addScene(kListScene, [](uikit::UIStoryboard&) { return std::make_shared<TestDetailsListViewController>(); });
    storyboard.addScene(
        kDetailsScene, [](uikit::UIStoryboard&) { return std::make_shared<TestDetailsViewController>(); },
        buildDetailsView);
    for (const char* outlet : {kSwipeLeftOutlet, kSwipeRightOutlet}) {
        uikit::UIStoryboardSegueDefinition segue;
        segue.identifier = kSwipeSegue;
        segue.kind = uikit::UIStoryboardSegueKind::Push;
        segue.destination = kDetailsScene;
        segue.trigger = {uikit::UIStoryboardSegueTrigger::Kind::GestureRecognizer, outlet};
        storyboard.addSegue(kDetailsScene, segue);
    }
}

}  // namespace TestDetailsScenes

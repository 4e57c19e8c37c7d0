// The tests' list-shaped details scene: a details screen on
// DetailsWithListBaseViewController over one stored object (participants by
// default), showing its id in one row under a picture header of the tests'
// own nib (a 200-point picture whose bottom 64-point band is red, the rest
// blue), with the two swipe recognisers wired to a swipe segue back to the
// same scene. It records what it is asked to show, and its header records
// the offsets it hears. Header-only, for binaries that link the app.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomReplaceCurlSegue.h"
#include "coredata/ManagedObject.h"
#include "graphics/Bitmap.h"
#include "lists/DetailsWithListBaseViewController.h"
#include "lists/QVADetailHeaderView.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace TestDetailsWithList {

inline constexpr const char* kSceneIdentifier = "testDetailsWithList";
inline constexpr const char* kSwipeSegue = "testDetailsWithListSwipeSegID";
inline constexpr const char* kCellIdentifier = "testDetailsWithListCell";
inline constexpr const char* kHeaderNibName = "TestDetailHeaderView";
inline constexpr const char* kHeaderTitle = "Header title";
inline constexpr int kHeaderHeight = 200;
inline constexpr double kWidth = 375;
inline constexpr double kRedBandHeight = 64;

}  // namespace TestDetailsWithList

class TestDetailHeaderView : public QVADetailHeaderView {
public:
    int titleRequests = 0;
    std::vector<double> offsets;

    static int getHeaderHeight() { return TestDetailsWithList::kHeaderHeight; }
    static std::string getNibName() { return TestDetailsWithList::kHeaderNibName; }
    int getHeaderBackgroundImageHeight() override { return TestDetailsWithList::kHeaderHeight; }
    std::string getNavigationBarTitle() override {
        ++titleRequests;
        return TestDetailsWithList::kHeaderTitle;
    }
    void didScrollWithOffset(double offset) override { offsets.push_back(offset); }

    // Blue above a red bottom band, one pixel a point.
    static uikit::UIImagePtr picture() {
        using namespace TestDetailsWithList;
        auto bitmap = std::make_shared<graphics::Bitmap>(static_cast<int>(kWidth), kHeaderHeight);
        for (int y = 0; y < kHeaderHeight; ++y)
            for (int x = 0; x < static_cast<int>(kWidth); ++x)
                bitmap->setPixel(x, y, y >= kHeaderHeight - kRedBandHeight ? graphics::Pixel{255, 0, 0, 255}
                                                                            : graphics::Pixel{0, 0, 255, 255});
        return uikit::UIImage::imageWithBitmap(bitmap, 1);
    }

    // The nib: the header holding its background picture.
    static void registerNib() {
        uikit::UINib::registerNib(TestDetailsWithList::kHeaderNibName, [](const foundation::ObjectPtr&) {
            using namespace TestDetailsWithList;
            auto header = std::make_shared<TestDetailHeaderView>();
            header->setFrame(graphics::Rect(0, 0, kWidth, kHeaderHeight));
            auto background = std::make_shared<uikit::UIImageView>(picture());
            background->setFrame(graphics::Rect(0, 0, kWidth, kHeaderHeight));
            header->addSubview(background);
            header->setHeaderBackgroundImage(background);
            return std::vector<foundation::ObjectPtr>{header};
        });
    }

    std::string className() const override { return "TestDetailHeaderView"; }
};

class TestDetailsWithListViewController : public DetailsWithListBaseViewController {
public:
    std::vector<std::string> observed = {"QVACoreDataParticipant", "QVACoreDataParticipantNote"};
    // One entry per updateUIContentForObject: the object's itemId, none for nil.
    std::vector<std::optional<std::string>> shownIds;
    // When set, updateUIContentForObject is the base's.
    bool useBaseUpdate = false;

    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override { return observed; }

    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override {
        if (useBaseUpdate) return DetailsWithListBaseViewController::updateUIContentForObject(object);
        std::optional<std::string> id;
        if (object) {
            const auto value = object->valueForKey("itemId");
            if (const auto* text = value.string()) id = *text;
        }
        shownIds.push_back(id);
        if (auto table = tableView()) table->reloadData();
    }

    void viewDidLoad() override {
        DetailsWithListBaseViewController::viewDidLoad();
        if (auto table = tableView()) {
            setDetailHeaderView(TestDetailHeaderView::addHeaderToTableView(table, TestDetailHeaderView::getNibName(),
                                                                           TestDetailHeaderView::getHeaderHeight()));
        }
    }

    std::shared_ptr<TestDetailHeaderView> header() const {
        return std::dynamic_pointer_cast<TestDetailHeaderView>(detailHeaderView());
    }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) override { return 1; }
    std::string cellIdentifier() override { return TestDetailsWithList::kCellIdentifier; }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath&) override {
        auto cell = table.dequeueReusableCellWithIdentifier(TestDetailsWithList::kCellIdentifier);
        const auto shown = shownIds.empty() ? std::nullopt : shownIds.back();
        cell->textLabel()->setText(shown.value_or("none"));
        return cell;
    }

    std::string className() const override { return "TestDetailsWithListViewController"; }
};

namespace TestDetailsWithList {

// The scene (its table, header nib and recognisers) and its swipe segue.
inline void registerScene(uikit::UIStoryboard& storyboard) {
    TestDetailHeaderView::registerNib();
    storyboard.addScene(
        kSceneIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<TestDetailsWithListViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
            auto& details = static_cast<TestDetailsWithListViewController&>(owner);
            auto self = std::static_pointer_cast<TestDetailsWithListViewController>(details.shared_from_this());
            auto view = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, kWidth, 667));
            auto table = outlets.connect("tableView", std::make_shared<uikit::UITableView>(view->bounds()));
            table->registerClass<uikit::UITableViewCell>(kCellIdentifier);
            table->setDataSource(self);
            table->setDelegate(self);
            view->addSubview(table);
            details.setTableView(table);
            for (auto direction : {uikit::UISwipeGestureRecognizerDirectionLeft, uikit::UISwipeGestureRecognizerDirectionRight}) {
                const bool left = direction == uikit::UISwipeGestureRecognizerDirectionLeft;
                auto recognizer = outlets.connect(left ? "swipeLeftRecognizer" : "swipeRightRecognizer",
                                                  std::make_shared<uikit::UISwipeGestureRecognizer>());
                recognizer->setDirection(direction);
                view->addGestureRecognizer(recognizer);
                if (left) details.setSwipeLeftRecognizer(recognizer);
                else details.setSwipeRightRecognizer(recognizer);
            }
            return view;
        });
    for (const char* trigger : {"swipeLeftRecognizer", "swipeRightRecognizer"}) {
        uikit::UIStoryboardSegueDefinition segue;
        segue.identifier = kSwipeSegue;
        segue.kind = uikit::UIStoryboardSegueKind::Custom;
        segue.destination = kSceneIdentifier;
        segue.segueClass = [](const std::string& identifier, const uikit::UIViewControllerPtr& source,
                              const uikit::UIViewControllerPtr& destination) {
            return std::make_shared<CustomReplaceCurlSegue>(identifier, source, destination);
        };
        segue.trigger = {uikit::UIStoryboardSegueTrigger::Kind::GestureRecognizer, trigger};
        storyboard.addSegue(kSceneIdentifier, segue);
    }
}

}  // namespace TestDetailsWithList

// The segmented navigation of the tabs and the bar button that names a
// segue: the control's frame follows the number of segment images, only the
// chosen sub-list is on the stack while the others keep their state, and
// indexes that cannot be shown are ignored.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ScreenTest.h"
#include "app/BaseViewController.h"
#include "app/CustomSegmentedNavigationController.h"
#include "app/SegBarButtonItem.h"
#include "app/SegBarButtonItemProtocol.h"
#include "graphics/Bitmap.h"
#include "uikit/UIImage.h"
#include "uikit/UISegmentedControl.h"

namespace {

uikit::UIImagePtr segmentImage() { return uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(8, 8)); }

class SubList : public BaseViewController {
public:
    explicit SubList(bool hasImage) : image_(hasImage ? segmentImage() : nullptr) {}
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override { return image_; }
    void trackAnalyticsEvent() override { ++tracked; }
    std::string className() const override { return "SubList"; }

    int tracked = 0;
    int scrolledToRow = 0;

private:
    uikit::UIImagePtr image_;
};

class SampleSegmentedNavigation : public CustomSegmentedNavigationController {
public:
    explicit SampleSegmentedNavigation(std::vector<bool> images) : images_(std::move(images)) {}
    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override {
        std::vector<uikit::UIViewControllerPtr> lists;
        for (bool hasImage : images_) lists.push_back(std::make_shared<SubList>(hasImage));
        return lists;
    }

private:
    std::vector<bool> images_;
};

std::shared_ptr<SampleSegmentedNavigation> loaded(std::vector<bool> images) {
    auto navigation = std::make_shared<SampleSegmentedNavigation>(std::move(images));
    navigation->loadViewIfNeeded();
    return navigation;
}

class SegmentedNavigationTest : public ScreenTest {};

}  // namespace

TEST_F(SegmentedNavigationTest, TheControlFollowsTheNumberOfSegmentImages) {
    auto two = loaded({true, true});
    ASSERT_TRUE(two->sc());
    EXPECT_EQ(two->sc()->frame(), (graphics::Rect{125, 7, 100, 30}));
    EXPECT_EQ(two->sc()->numberOfSegments(), 2u);
    EXPECT_EQ(two->sc()->selectedSegmentIndex(), 0);

    auto three = loaded({true, true, true});
    ASSERT_TRUE(three->sc());
    EXPECT_EQ(three->sc()->frame(), (graphics::Rect{102, 7, 150, 30}));

    // A sub-list without an image has no segment.
    auto skipped = loaded({true, false, true});
    EXPECT_EQ(skipped->imagesArray().size(), 2u);
    ASSERT_TRUE(skipped->sc());
    EXPECT_EQ(skipped->sc()->frame(), (graphics::Rect{125, 7, 100, 30}));

    // One image: no control, the first sub-list alone, and nothing past index 0.
    auto one = loaded({true, true});
    one->setTheControllers({std::make_shared<SubList>(true), std::make_shared<SubList>(false)});
    EXPECT_FALSE(one->sc());
    ASSERT_EQ(one->viewControllers().size(), 1u);
    EXPECT_EQ(one->topViewController(), one->retainedControllers()[0]);
    one->showControllerAtIndex(1);
    EXPECT_EQ(one->topViewController(), one->retainedControllers()[0]);

    auto none = loaded({});
    EXPECT_FALSE(none->sc());
    EXPECT_TRUE(none->viewControllers().empty());
    none->showControllerAtIndex(0);
    EXPECT_TRUE(none->viewControllers().empty());
}

TEST_F(SegmentedNavigationTest, SwitchingSegmentsKeepsTheOtherSubListsAliveWithTheirState) {
    auto navigation = std::make_shared<SampleSegmentedNavigation>(std::vector<bool>{true, true, true});
    showRoot(navigation);
    auto first = std::dynamic_pointer_cast<SubList>(navigation->retainedControllers()[0]);
    std::weak_ptr<SubList> second = std::dynamic_pointer_cast<SubList>(navigation->retainedControllers()[1]);
    first->scrolledToRow = 12;
    EXPECT_EQ(navigation->topViewController(), first);
    EXPECT_EQ(first->tracked, 0);

    // A person's tap on segment 1.
    ASSERT_TRUE(navigation->sc()->tapSegmentAtIndex(1));
    settle();
    ASSERT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(navigation->topViewController(), second.lock());
    EXPECT_EQ(second.lock()->tracked, 1);
    EXPECT_EQ(first->parentViewController(), nullptr);

    // Back to the first in code: the same controller, its state kept, the segment selected.
    navigation->showControllerAtIndex(0);
    settle();
    EXPECT_EQ(navigation->topViewController(), first);
    EXPECT_EQ(first->scrolledToRow, 12);
    EXPECT_EQ(first->tracked, 1);
    EXPECT_EQ(navigation->sc()->selectedSegmentIndex(), 0);
    EXPECT_FALSE(second.expired());

    // Indexes it cannot show change nothing.
    for (int64_t index : {-1, 4, 9}) navigation->showControllerAtIndex(index);
    EXPECT_EQ(navigation->topViewController(), first);
    EXPECT_EQ(navigation->sc()->selectedSegmentIndex(), 0);
}

namespace {

class PressRecorder : public SegBarButtonItemProtocol {
public:
    void onBarButtonItemPressed(SegBarButtonItem& item) override { pressed.push_back(item.segueIdentifier()); }
    std::vector<std::string> pressed;
};

}  // namespace

TEST(SegBarButtonItem, OnlyTheDelegateFormActsAndItTellsTheDelegateWhichSegue) {
    auto recorder = std::make_shared<PressRecorder>();
    auto withDelegate = SegBarButtonItem::initWithImage(segmentImage(), recorder, "showFilter");
    EXPECT_TRUE(withDelegate->tap());
    EXPECT_EQ(recorder->pressed, std::vector<std::string>{"showFilter"});

    auto image = SegBarButtonItem::initWithImage(segmentImage(), "showMap");
    EXPECT_EQ(image->segueIdentifier(), "showMap");
    EXPECT_FALSE(image->action());
    auto system = SegBarButtonItem::initWithBarButtonSystemItem(uikit::UIBarButtonSystemItem::Add, "addNote");
    EXPECT_EQ(system->systemItem(), std::optional(uikit::UIBarButtonSystemItem::Add));
    EXPECT_FALSE(system->action());

    // The screen that shows the item owns it; the item does not keep the screen alive.
    std::weak_ptr<PressRecorder> gone = recorder;
    recorder.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_TRUE(withDelegate->tap());
}

// The base of the details screens that are not one table: one stored object
// (DetailsScreenSupport finds it, reloads it after saves and swipes to its
// neighbours) shown by the subclass in updateUIContentForObject, optionally
// with several pages switched by a segmented control in the navigation bar.
//
// Loading runs: the object fetched, the pages asked for it
// (createSegmentedControllersForObject), no extended layout edges, the save
// observer, updateUIContentForObject when selectionPropertyId is set (with
// nil when the object is gone), the swipe hints. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "lists/DetailsScreenSupport.h"

class DetailsNavigationDataModel;
class DetailsNavigationView;

namespace uikit {
class UIImage;
class UIScrollView;
class UISegmentedControl;
class UIView;
}  // namespace uikit

class DetailsBaseViewController : public BaseViewController, public DetailsScreenSupport {
public:
    using Pages = std::vector<uikit::UIViewControllerPtr>;
    // Whether a held page is of the class of the one being inserted (or of
    // a subclass of it).
    using PageKindTest = std::function<bool(const uikit::UIViewController& page)>;

    // An insertion index past every page count: the end.
    static constexpr size_t kInsertAtEnd = 999;

    explicit DetailsBaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~DetailsBaseViewController() override;

    // --- Properties ---
    bool isNotDetailsRootController() const { return isNotDetailsRootController_; }
    void setIsNotDetailsRootController(bool value) { isNotDetailsRootController_ = value; }
    std::vector<std::shared_ptr<DetailsNavigationDataModel>>& navigationDataSourceArray() {
        return navigationDataSourceArray_;
    }
    void setNavigationDataSourceArray(std::vector<std::shared_ptr<DetailsNavigationDataModel>> rows) {
        navigationDataSourceArray_ = std::move(rows);
    }
    const std::shared_ptr<DetailsNavigationDataModel>& navigationDataModelObject() const { return navigationDataModelObject_; }
    void setNavigationDataModelObject(std::shared_ptr<DetailsNavigationDataModel> row) {
        navigationDataModelObject_ = std::move(row);
    }
    // Outlets (weak).
    std::shared_ptr<uikit::UIScrollView> scrollView() const { return scrollView_.lock(); }
    void setScrollView(const std::shared_ptr<uikit::UIScrollView>& view) { scrollView_ = view; }
    std::shared_ptr<DetailsNavigationView> detailsNavigationView() const { return detailsNavigationView_.lock(); }
    void setDetailsNavigationView(const std::shared_ptr<DetailsNavigationView>& view) { detailsNavigationView_ = view; }
    // Hosts the view of the page shown; the screen's view when unset.
    std::shared_ptr<uikit::UIView> containerView() const { return containerView_.lock(); }
    void setContainerView(const std::shared_ptr<uikit::UIView>& view) { containerView_ = view; }
    // Only with two or more page images.
    const std::shared_ptr<uikit::UISegmentedControl>& segmentedControl() const { return segmentedControl_; }
    int displayedControllerIndex() const { return displayedControllerIndex_; }
    void setDisplayedControllerIndex(int index) { displayedControllerIndex_ = index; }
    // The pages, in segment order.
    const Pages& retainedControllers() const { return retainedControllers_; }

    // --- Loading ---
    void awakeFromNib() override;
    void viewDidLoad() override;
    // The swipe hints follow the view's size.
    void viewDidLayoutSubviews() override;
    // The pages for the shown object; none here.
    virtual std::optional<Pages> createSegmentedControllersForObject(const std::shared_ptr<coredata::ManagedObject>& object);

    // --- Pages ---
    // Adds a page of class T unless a page of class T (or a subclass) is held.
    template <class T>
    void insertController(const std::shared_ptr<T>& controller, const std::shared_ptr<uikit::UIImage>& image,
                          size_t index = kInsertAtEnd) {
        insertControllerOfKind(controller, image, index,
                               [](const uikit::UIViewController& page) { return dynamic_cast<const T*>(&page) != nullptr; });
    }
    void insertControllerOfKind(const uikit::UIViewControllerPtr& controller, const std::shared_ptr<uikit::UIImage>& image,
                                size_t index, const PageKindTest& sameKind);
    // Removes the first page of class T (or a subclass), with its segment.
    template <class T>
    void removeControllerOfType() {
        removeControllerOfKind([](const uikit::UIViewController& page) { return dynamic_cast<const T*>(&page) != nullptr; });
    }
    void removeControllerOfKind(const PageKindTest& kind);
    // Stores the pages, builds the control, attaches page 0. Nothing for none.
    void setTheControllers(const std::optional<Pages>& controllers);
    void setInitialSegmentedControl();
    // The pages' segment images, skipping pages without one.
    std::vector<std::shared_ptr<uikit::UIImage>> imagesArray();
    // The control's action.
    void changeSegment(uikit::UISegmentedControl& sender);
    void showControllerAtIndex(int64_t index);
    void swapFromViewController(const uikit::UIViewControllerPtr& from, const uikit::UIViewControllerPtr& to);
    void refreshDisplayedControllerIndex();
    // Null when the index is outside the pages.
    uikit::UIViewControllerPtr getDisplayedController();
    // The named action on the page at the index, when that page answers it
    // (DetailsPageProtocol); run now when waiting, else on a later turn.
    void performSelectorOnMainThread(const std::string& selector, const foundation::ObjectPtr& object, int64_t index,
                                     bool waitUntilDone);
    // Every page that is not a details screen and fills itself from the
    // object gets it, on a later turn of the main run loop.
    void updateChildControllersUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object);

    // --- Swiping (DetailsScreenSupport's) ---
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    std::string className() const override { return "DetailsBaseViewController"; }

protected:
    BaseViewController& detailsViewController() override { return *this; }

private:
    // The view hosting pages: the container outlet, else the screen's view.
    std::shared_ptr<uikit::UIView> pageHost();
    void attachPage(const uikit::UIViewControllerPtr& page);

    bool isNotDetailsRootController_ = false;
    std::vector<std::shared_ptr<DetailsNavigationDataModel>> navigationDataSourceArray_;
    std::shared_ptr<DetailsNavigationDataModel> navigationDataModelObject_;
    std::weak_ptr<uikit::UIScrollView> scrollView_;
    std::weak_ptr<DetailsNavigationView> detailsNavigationView_;
    std::weak_ptr<uikit::UIView> containerView_;
    std::shared_ptr<uikit::UISegmentedControl> segmentedControl_;
    int displayedControllerIndex_ = 0;
    Pages retainedControllers_;
};

using DetailsBaseViewControllerPtr = std::shared_ptr<DetailsBaseViewController>;

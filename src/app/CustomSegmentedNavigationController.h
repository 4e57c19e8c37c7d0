// A tab's navigation controller that switches between sub-lists with a
// segmented control: subclasses answer createSegmentedControllers, place `sc`
// in their navigation bars, and may call setInitialSegmentedControl again
// from their own overrides. Only the chosen sub-list is on the navigation
// stack; the others stay alive in retainedControllers with their state.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CustomNavigationController.h"

namespace uikit {
class UIImage;
class UISegmentedControl;
}  // namespace uikit

class CustomSegmentedNavigationController : public CustomNavigationController {
public:
    CustomSegmentedNavigationController();
    // What an interface file's initialiser passes (see CustomNavigationController).
    explicit CustomSegmentedNavigationController(FromInterfaceFile);
    ~CustomSegmentedNavigationController() override;

    // The segment switch; null with fewer than two segment images.
    const std::shared_ptr<uikit::UISegmentedControl>& sc() const { return sc_; }
    void setSc(std::shared_ptr<uikit::UISegmentedControl> control) { sc_ = std::move(control); }
    const std::vector<uikit::UIViewControllerPtr>& retainedControllers() const { return retainedControllers_; }
    void setRetainedControllers(std::vector<uikit::UIViewControllerPtr> controllers) {
        retainedControllers_ = std::move(controllers);
    }

    // The sub-lists; none here.
    virtual std::vector<uikit::UIViewControllerPtr> createSegmentedControllers();
    // The segment image of each retained base screen, in order, skipping
    // controllers without one.
    std::vector<std::shared_ptr<uikit::UIImage>> imagesArray() const;
    // Keeps the controllers, builds the control and shows the first alone.
    virtual void setTheControllers(std::vector<uikit::UIViewControllerPtr> controllers);
    // Two images: a control at (125, 7, 100, 30), three or more at
    // (102, 7, 150, 30), then fitted to its content, segment 0 selected;
    // fewer: no control.
    virtual void setInitialSegmentedControl();
    // The control's action: shows its selected segment.
    void changeSegment(uikit::UISegmentedControl& sender);
    // Ignores an index it cannot show (without a control only 0 counts).
    virtual void showControllerAtIndex(int64_t index);

    void viewDidLoad() override;
    std::string className() const override { return "CustomSegmentedNavigationController"; }

private:
    std::shared_ptr<uikit::UISegmentedControl> sc_;
    std::vector<uikit::UIViewControllerPtr> retainedControllers_;
};

using CustomSegmentedNavigationControllerPtr = std::shared_ptr<CustomSegmentedNavigationController>;

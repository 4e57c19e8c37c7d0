// What the two map screens share while they stand in for the maps to come:
// a plain white screen under a title that shows, in a label and in the
// screen dump, the navigation that opened it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"

namespace uikit {
class UILabel;
}

class MapStubScreen : public BaseViewController, public StubScreen {
public:
    void viewDidLoad() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "MapStubScreen"; }

protected:
    // Made from the device's storyboard; the navigation is recorded on the
    // screen, which type 0 pushes, animated, on the source's navigation
    // controller.
    template <typename Screen>
    static void open(const std::shared_ptr<uikit::UIViewController>& source, int navType, std::string call);

    // The label showing the recorded calls.
    std::shared_ptr<uikit::UILabel> callsLabel_;

private:
    static void show(const std::shared_ptr<uikit::UIViewController>& source, int navType,
                     const std::shared_ptr<MapStubScreen>& screen, std::string call);
};

template <typename Screen>
void MapStubScreen::open(const std::shared_ptr<uikit::UIViewController>& source, int navType, std::string call) {
    show(source, navType, instantiateViewController<Screen>(), std::move(call));
}

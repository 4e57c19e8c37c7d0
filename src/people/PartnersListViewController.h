// The partners list, standing in until it exists: a plain screen titled
// "Partners" that the More tab opens. Its scene is registered under the
// class's name (addScene). Main thread only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"

namespace uikit {
class UIStoryboard;
}

class PartnersListViewController : public BaseViewController, public StubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "PartnersListViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    Text vcTitle() const override { return std::string("Partners"); }
    void viewDidLoad() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    std::string className() const override { return "PartnersListViewController"; }
};

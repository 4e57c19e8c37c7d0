// The home screen, standing in until the home screen exists: a titled screen
// that records the calls it receives.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubPlaceholder.h"
#include "app/StubScreen.h"

class SpotlightViewController : public BaseViewController, public StubScreen {
public:
    Text vcTitle() const override { return std::string("Home"); }
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    void viewDidLoad() override {
        BaseViewController::viewDidLoad();
        StubPlaceholder::paintWhite(*this);
    }
    std::string className() const override { return "SpotlightViewController"; }
};

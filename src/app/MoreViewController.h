// The More tab's screen, standing in until it exists: records the calls it
// receives (the tab bar's displaySettings among them).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubPlaceholder.h"
#include "app/StubScreen.h"

class MoreViewController : public BaseViewController, public StubScreen {
public:
    Text vcTitle() const override { return std::string("More"); }
    void displaySettings() { recordCall("displaySettings"); }
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    void viewDidLoad() override {
        BaseViewController::viewDidLoad();
        StubPlaceholder::paintWhite(*this);
    }
    std::string className() const override { return "MoreViewController"; }
};

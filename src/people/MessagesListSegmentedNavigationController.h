// The messages tab's container, standing in until the message lists exist:
// it shows one placeholder screen. Its tab bar item carries the unread-threads
// badge that the main tab bar sets.
#pragma once

#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"
#include "app/StubScreen.h"

class MessagesListSegmentedNavigationController : public CustomSegmentedNavigationController, public StubScreen {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        return stubDescriptionItems(className());
    }
    std::string className() const override { return "MessagesListSegmentedNavigationController"; }
};

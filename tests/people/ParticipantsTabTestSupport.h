// The participants tab as a person reaches it: the application launched
// with its own delegate over a store the test fills first, then the tab
// chosen from the tab bar (on the pad, from the "Menu" popover of the
// portrait layout).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ShellTestSupport.h"
#include "model/QVACoreDataPermission.h"
#include "people/ParticipantsListSegmentedNavigationController.h"

namespace peopletest {

class ParticipantsTabTest : public shelltest::ShellTest {
protected:
    static constexpr const char* kTabToken = "shell-token";

    void SetUp() override {
        ShellTest::SetUp();
        openCurrent(kTabToken);
    }
    void grant(const std::vector<std::string>& codes) {
        std::vector<meetingtest::Row> rows;
        for (const auto& code : codes) rows.push_back({{"code", foundation::Value(code)}, {"granted", foundation::Value(true)}});
        insert(kTabToken, QVACoreDataPermission::kEntityName, rows);
    }
    std::shared_ptr<ParticipantsListSegmentedNavigationController> openParticipantsTab() {
        launch();
        if (split()) {
            tabBar()->displayLeftPopoverMenu();
            tabBar()->selectTabBarItem(EventsTabBarController::participantsTabIndex());
        } else {
            EXPECT_TRUE(driver().tapTab(EventsTabBarController::participantsTabIndex()));
        }
        settle();
        return tabBar()->participantsSegmentedNavController();
    }
    template <class Screen>
    std::shared_ptr<Screen> front() {
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
};

}  // namespace peopletest

// Block alerts: the tapped button's block, the dismissal block for buttons
// without one, replaced and removed blocks, and blocks running only after the
// alert has left the screen.
#include <gtest/gtest.h>

#include "Utils/UIBlockAlertView.h"
#include "uikit/UIApplication.h"

namespace {

TEST(UIBlockAlertView, TheTappedButtonsBlockElseTheDismissalBlockRunsAfterRemoval) {
    std::vector<std::string> ran;
    auto record = [&](const char* what) {
        return [&ran, what](uikit::UIAlertView& shown) {
            EXPECT_TRUE(!shown.isVisible() && uikit::UIApplication::sharedApplication().visibleAlerts().empty());
            ran.push_back(what);
        };
    };
    auto alert = UIBlockAlertView::initWithTitle(std::string("New meeting"), std::nullopt);
    EXPECT_EQ(alert->addButtonWithTitle("Cancel", nullptr), 0);
    EXPECT_EQ(alert->addButtonWithTitle("Load", record("load")), 1);
    alert->setCompletionBlockOnDismiss(record("dismissed"));
    EXPECT_EQ(alert->delegate(), alert->customDelegate());

    auto tap = [&](int64_t index) {
        alert->show();
        EXPECT_EQ(uikit::UIApplication::sharedApplication().visibleAlerts().back(), alert);
        alert->dismissWithClickedButtonIndex(index, true);
    };
    tap(1);
    tap(0);
    EXPECT_EQ(ran, (std::vector<std::string>{"load", "dismissed"}));

    // A removed block leaves its button to the dismissal block; a set one runs instead of it.
    alert->setButtonActionBlock(nullptr, 1);
    alert->setButtonActionBlock(record("cancel"), 0);
    tap(1);
    tap(0);
    EXPECT_EQ(ran, (std::vector<std::string>{"load", "dismissed", "dismissed", "cancel"}));
}

}  // namespace

// Alerts and action sheets on the application's stack: a person's tap runs
// clicked, will-dismiss, removal and did-dismiss in that order; a dismissal
// in code skips clicked; sheets shown over alerts lie on top of them; the
// front entry is answered by title or index.
#include <gtest/gtest.h>

#include "uikit/AlertStack.h"
#include "uikit/UIActionSheet.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIView.h"

namespace {

using uikit::AlertStack;
using uikit::AlertStackEntry;
using uikit::UIActionSheet;
using uikit::UIAlertView;

// Each callback with the number of entries on screen when it ran.
struct AlertAndSheetRecorder : uikit::UIAlertViewDelegate, uikit::UIActionSheetDelegate {
    std::vector<std::string> calls;
    void note(const std::string& what, int64_t index) {
        calls.push_back(what + " " + std::to_string(index) + " on screen " +
                        std::to_string(AlertStack::shared().entries().size()));
    }
    void alertViewClickedButtonAtIndex(UIAlertView&, int64_t i) override { note("clicked", i); }
    void alertViewWillDismissWithButtonIndex(UIAlertView&, int64_t i) override { note("will", i); }
    void alertViewDidDismissWithButtonIndex(UIAlertView&, int64_t i) override { note("did", i); }
    void actionSheetClickedButtonAtIndex(UIActionSheet&, int64_t i) override { note("sheet clicked", i); }
    void actionSheetWillDismissWithButtonIndex(UIActionSheet&, int64_t i) override { note("sheet will", i); }
    void actionSheetDidDismissWithButtonIndex(UIActionSheet&, int64_t i) override { note("sheet did", i); }
};

class AlertStackTest : public ::testing::Test {
protected:
    void SetUp() override { AlertStack::shared().reset(); }
    void TearDown() override { AlertStack::shared().reset(); }
};

TEST_F(AlertStackTest, TappingAButtonClicksThenLeavesThenTellsDidDismiss) {
    auto recorder = std::make_shared<AlertAndSheetRecorder>();
    auto alert = std::make_shared<UIAlertView>(std::string("Log out"), std::string("Are you sure?"), recorder);
    alert->addButtonWithTitle("OK");
    alert->addButtonWithTitle("Cancel");
    alert->show();

    auto front = AlertStack::shared().front();
    ASSERT_EQ(front, alert);
    EXPECT_EQ(front->kind(), AlertStackEntry::Kind::Alert);
    EXPECT_EQ(front->title(), "Log out");
    EXPECT_EQ(front->message(), "Are you sure?");
    EXPECT_EQ(front->numberOfButtons(), 2);
    EXPECT_EQ(front->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(front->buttonTitleAtIndex(1), "Cancel");
    EXPECT_EQ(uikit::UIApplication::sharedApplication().visibleAlerts(), std::vector<uikit::UIAlertViewPtr>{alert});

    EXPECT_FALSE(AlertStack::shared().tapButtonWithTitle("Maybe"));
    EXPECT_TRUE(AlertStack::shared().tapButtonWithTitle("OK"));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"clicked 0 on screen 1", "will 0 on screen 1", "did 0 on screen 0"}));
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(uikit::UIApplication::sharedApplication().visibleAlerts().empty());

    // A dismissal in code tells no click; a button-less progress alert closes with index 0.
    recorder->calls.clear();
    auto progress = std::make_shared<UIAlertView>(std::string("Logging in..."), std::nullopt, recorder);
    auto spinner = std::make_shared<uikit::UIView>(graphics::Rect{{122, 53.5}, {35, 34}});
    progress->addAccessoryView(spinner);
    progress->show();
    EXPECT_EQ(AlertStack::shared().front()->accessoryViews(), std::vector<uikit::UIViewPtr>{spinner});
    EXPECT_FALSE(AlertStack::shared().tapButtonAtIndex(0));  // nothing to tap
    progress->dismissWithClickedButtonIndex(0, true);
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"will 0 on screen 1", "did 0 on screen 0"}));
}

TEST_F(AlertStackTest, ActionSheetsOrderTheirButtonsAndLieOverAlerts) {
    auto recorder = std::make_shared<AlertAndSheetRecorder>();
    auto alert = std::make_shared<UIAlertView>(std::string("Error"), std::string("Try again"), recorder, "OK",
                                               std::vector<std::string>{});
    alert->show();
    auto sheet = std::make_shared<UIActionSheet>(std::string("Add"), recorder, std::string("Cancel"),
                                                 std::string("Delete"),
                                                 std::vector<std::string>{"Personal entry", "Note"});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Note");
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_FALSE(sheet->message());

    auto anchorView = std::make_shared<uikit::UIView>();
    sheet->showFromRect({{10, 20}, {30, 40}}, anchorView, false);
    sheet->showInView(anchorView);  // already shown: nothing changes
    EXPECT_EQ(sheet->anchor().kind, UIActionSheet::Anchor::Kind::Rect);
    EXPECT_EQ(sheet->anchor().view.lock(), anchorView);

    const auto entries = AlertStack::shared().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], alert);
    EXPECT_EQ(entries[1], sheet);
    EXPECT_EQ(entries[1]->kind(), AlertStackEntry::Kind::ActionSheet);
    // The application's alert list holds alerts only.
    EXPECT_EQ(uikit::UIApplication::sharedApplication().visibleAlerts(), std::vector<uikit::UIAlertViewPtr>{alert});

    EXPECT_TRUE(AlertStack::shared().tapButtonWithTitle("Personal entry"));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"sheet clicked 1 on screen 2", "sheet will 1 on screen 2",
                                                         "sheet did 1 on screen 1"}));
    EXPECT_EQ(AlertStack::shared().front(), alert);
    EXPECT_TRUE(AlertStack::shared().tapButtonAtIndex(0));
    EXPECT_TRUE(AlertStack::shared().empty());
}

TEST_F(AlertStackTest, ResetForgetsWhatWasShownWithoutCallbacks) {
    auto recorder = std::make_shared<AlertAndSheetRecorder>();
    auto alert = std::make_shared<UIAlertView>(std::string("A"), std::nullopt, recorder);
    alert->show();
    AlertStack::shared().reset();
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(recorder->calls.empty());
    alert->show();  // can be shown again
    EXPECT_EQ(AlertStack::shared().front(), alert);
}

}  // namespace

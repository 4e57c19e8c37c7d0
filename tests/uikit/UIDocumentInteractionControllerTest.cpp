// The open-in menu: which files find an application by default, the
// device setting over it, the record of menus shown, and the screen dump's
// line for the menu on screen.
#include <gtest/gtest.h>

#include "support/ScreenTest.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UIViewController.h"

namespace {

using uikit::UIDocumentInteractionController;

class UIDocumentInteractionControllerTest : public ScreenTest {
protected:
    void TearDown() override {
        UIDocumentInteractionController::resetForTests();
        ScreenTest::TearDown();
    }
};

TEST_F(UIDocumentInteractionControllerTest, DocumentsAndPicturesFindAnApplicationByDefault) {
    EXPECT_TRUE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/a.pdf")));
    EXPECT_TRUE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/b.DOCX")));
    EXPECT_FALSE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/c.txt")));
    EXPECT_FALSE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/plain")));
    UIDocumentInteractionController::setApplicationsOpenFiles(true);
    EXPECT_TRUE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/c.txt")));
    UIDocumentInteractionController::setApplicationsOpenFiles(false);
    EXPECT_FALSE(UIDocumentInteractionController::applicationCanOpenFile(foundation::URL::fileURLWithPath("/d/a.pdf")));
}

TEST_F(UIDocumentInteractionControllerTest, AShownMenuIsRecordedAndDumpedUntilDismissed) {
    showRoot(std::make_shared<uikit::UIViewController>());
    auto item = uikit::UIBarButtonItem::withTitle(std::string("Open in..."), uikit::UIBarButtonItemStyle::Plain);
    auto refused = UIDocumentInteractionController::interactionControllerWithURL(
        foundation::URL::fileURLWithPath("/d/notes.txt"));
    EXPECT_FALSE(refused->presentOpenInMenuFromBarButtonItem(item, true));
    EXPECT_FALSE(UIDocumentInteractionController::shownMenu());

    auto menu = UIDocumentInteractionController::interactionControllerWithURL(
        foundation::URL::fileURLWithPath("/d/guide.pdf"));
    ASSERT_TRUE(menu->presentOpenInMenuFromBarButtonItem(item, true));
    EXPECT_EQ(UIDocumentInteractionController::shownMenu(), menu);
    EXPECT_EQ(UIDocumentInteractionController::recordedMenus(), std::vector<std::string>{"/d/guide.pdf"});
    EXPECT_NE(uikit::describe(*window()).find("  open-in-menu \"guide.pdf\"\n"), std::string::npos);

    menu->dismissMenuAnimated(true);
    EXPECT_FALSE(menu->isMenuShown());
    EXPECT_FALSE(UIDocumentInteractionController::shownMenu());
    EXPECT_EQ(uikit::describe(*window()).find("open-in-menu"), std::string::npos);
}

}  // namespace

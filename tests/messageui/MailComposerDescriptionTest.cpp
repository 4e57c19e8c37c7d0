// An open mail composer shows in the screen dump with what the person reads
// on it: the recipients, the subject and the body.
#include <gtest/gtest.h>

#include "messageui/MFMailComposeViewController.h"
#include "support/ScreenTest.h"

namespace {

class MailComposerDescriptionTest : public ScreenTest {};

TEST_F(MailComposerDescriptionTest, ThePresentedComposerListsRecipientsSubjectAndBody) {
    auto root = std::make_shared<uikit::UIViewController>();
    showRoot(root);
    auto composer = std::make_shared<messageui::MFMailComposeViewController>();
    composer->setToRecipients({"support@example.org", "second@example.org"});
    composer->setSubject("Feedback");
    composer->setMessageBody("Line one\nLine two", false);
    root->presentViewController(composer, true);
    settle();

    EXPECT_EQ(dump(),
              "window root=UIViewController\n"
              "  screen UIViewController -\n"
              "  presented MFMailComposeViewController style=full-screen\n"
              "    screen MFMailComposeViewController -\n"
              "      to=\"support@example.org, second@example.org\"\n"
              "      subject=\"Feedback\"\n"
              "      body=\"Line one\\nLine two\"\n");
}

}  // namespace

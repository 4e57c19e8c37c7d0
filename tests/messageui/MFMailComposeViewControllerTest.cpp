// The mail composer: a sent mail becomes one RFC 5322 file that reads back as
// the composer's recipients, subject and body; cancelling writes nothing; the
// delegate hears once, with the error only for a failure; presented, the
// composer leaves the screen when its delegate dismisses it.
#include <gtest/gtest.h>

#include <map>

#include "../dispatch/VirtualTime.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Crypto.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "messageui/MFMailComposeViewController.h"
#include "support/TemporaryDirectory.h"
#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

namespace {

using messageui::MFMailComposeResult;
using messageui::MFMailComposeViewController;

struct RecordingDelegate : messageui::MFMailComposeViewControllerDelegate {
    std::vector<std::pair<MFMailComposeResult, foundation::ErrorPtr>> finished;
    void mailComposeController(MFMailComposeViewController&, MFMailComposeResult result,
                               const foundation::ErrorPtr& error) override {
        finished.emplace_back(result, error);
    }
};

// What a mail reader does with the file: CRLF lines, headers (unfolded) up to
// the first empty line, then the body in its transfer encoding.
struct ReadMail {
    std::map<std::string, std::string> headers;
    std::string body;
    bool wellFormed = true;
};

std::string decodeQuotedPrintable(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.compare(i + 1, 2, "\r\n") == 0) {
            i += 2;
        } else {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
    }
    return out;
}

std::string decodeEncodedWords(const std::string& value) {
    if (value.rfind("=?UTF-8?B?", 0) != 0) return value;
    std::string out;
    size_t at = 0;
    while ((at = value.find("=?UTF-8?B?", at)) != std::string::npos) {
        const size_t end = value.find("?=", at + 10);
        out += foundation::Crypto::base64Decode(value.substr(at + 10, end - at - 10))->toString();
        at = end + 2;
    }
    return out;
}

ReadMail readMail(const std::string& text) {
    ReadMail mail;
    const size_t split = text.find("\r\n\r\n");
    if (split == std::string::npos) return {{}, {}, false};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) mail.wellFormed = false;
    std::string name;
    size_t start = 0;
    const std::string head = text.substr(0, split + 2);
    while (start < head.size()) {
        const size_t end = head.find("\r\n", start);
        const std::string line = head.substr(start, end - start);
        start = end + 2;
        if (line.size() > 998) mail.wellFormed = false;
        if (line[0] == ' ' || line[0] == '\t') {
            mail.headers[name] += line;
            continue;
        }
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) return {{}, {}, false};
        name = line.substr(0, colon);
        mail.headers[name] = line.substr(colon + 2);
    }
    mail.body = text.substr(split + 4);
    if (mail.headers["Content-Transfer-Encoding"] == "quoted-printable") mail.body = decodeQuotedPrintable(mail.body);
    mail.headers["Subject"] = decodeEncodedWords(mail.headers["Subject"]);
    return mail;
}

class MailComposer : public VirtualTime {
protected:
    void SetUp() override {
        VirtualTime::SetUp();
        previousHome_ = foundation::ApplicationHome::root();
        foundation::ApplicationHome::setRoot(home_.path());
    }
    void TearDown() override {
        foundation::ApplicationHome::setRoot(previousHome_);
        MFMailComposeViewController::setCanSendMail(true);
        VirtualTime::TearDown();
    }
    std::vector<std::string> sentFiles() const {
        return foundation::FileManager::defaultManager()
            .contentsOfDirectoryAtPath(MFMailComposeViewController::sentMailDirectory())
            .value_or(std::vector<std::string>{});
    }

    TemporaryDirectory home_;
    std::string previousHome_;
};

TEST_F(MailComposer, SentMailIsOneFileThatReadsBackAsTheComposersMail) {
    auto delegate = std::make_shared<RecordingDelegate>();
    auto composer = std::make_shared<MFMailComposeViewController>();
    composer->setMailComposeDelegate(delegate);
    composer->setToRecipients({"support@example.org", "second@example.org"});
    composer->setSubject("iOS Quovana Events app feedback — été");
    const std::string body = "\n\n--\nEvent: Annual Meeting\nOS version: 9.3\nDevice model: iPhone " +
                             std::string(1200, 'x') + " = end ";
    composer->setMessageBody(body, false);

    composer->finishWithResult(MFMailComposeResult::Sent);
    composer->finishWithResult(MFMailComposeResult::Cancelled);  // already finished
    ASSERT_EQ(delegate->finished.size(), 1u);
    EXPECT_EQ(delegate->finished[0].first, MFMailComposeResult::Sent);
    EXPECT_EQ(delegate->finished[0].second, nullptr);

    ASSERT_EQ(sentFiles().size(), 1u);
    ASSERT_TRUE(composer->sentMessagePath());
    const auto text = foundation::FileManager::defaultManager().contentsAtPath(*composer->sentMessagePath())->toString();
    const auto mail = readMail(text);
    EXPECT_TRUE(mail.wellFormed) << text;
    EXPECT_EQ(mail.headers.at("To"), "support@example.org, second@example.org");
    EXPECT_EQ(mail.headers.at("Subject"), "iOS Quovana Events app feedback — été");
    EXPECT_EQ(mail.headers.at("From"), MFMailComposeViewController::kSenderAddress);
    EXPECT_EQ(mail.headers.at("MIME-Version"), "1.0");
    EXPECT_EQ(mail.headers.at("Content-Type"), "text/plain; charset=UTF-8");
    // The virtual clock stands at 10000 s after 2001-01-01.
    EXPECT_EQ(mail.headers.at("Date"), "Mon, 01 Jan 2001 02:46:40 +0000");
    EXPECT_FALSE(mail.headers.at("Message-ID").empty());
    std::string expected = body;
    for (size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2) expected.replace(at, 1, "\r\n");
    EXPECT_EQ(mail.body, expected + "\r\n");
}

TEST_F(MailComposer, HtmlBodiesAndHeaderTextsStayInTheirPlace) {
    auto composer = std::make_shared<MFMailComposeViewController>();
    composer->setToRecipients({"a@example.org"});
    composer->setSubject("Two\r\nBcc: intruder@example.org");
    composer->setMessageBody("<p>Hello</p>", true);
    composer->finishWithResult(MFMailComposeResult::Sent);
    const auto mail =
        readMail(foundation::FileManager::defaultManager().contentsAtPath(*composer->sentMessagePath())->toString());
    EXPECT_EQ(mail.headers.at("Content-Type"), "text/html; charset=UTF-8");
    EXPECT_EQ(mail.headers.at("Content-Transfer-Encoding"), "7bit");
    EXPECT_EQ(mail.body, "<p>Hello</p>\r\n");
    EXPECT_EQ(mail.headers.count("Bcc"), 0u);
    EXPECT_EQ(mail.headers.at("Subject"), "Two  Bcc: intruder@example.org");
}

TEST_F(MailComposer, CancelledSavedAndFailedWriteNothingAndFailureCarriesAnError) {
    EXPECT_TRUE(MFMailComposeViewController::canSendMail());
    MFMailComposeViewController::setCanSendMail(false);
    EXPECT_FALSE(MFMailComposeViewController::canSendMail());

    auto delegate = std::make_shared<RecordingDelegate>();
    for (auto result : {MFMailComposeResult::Cancelled, MFMailComposeResult::Saved, MFMailComposeResult::Failed}) {
        auto composer = std::make_shared<MFMailComposeViewController>();
        composer->setMailComposeDelegate(delegate);
        composer->setToRecipients({"a@example.org"});
        composer->finishWithResult(result);
        EXPECT_FALSE(composer->sentMessagePath());
    }
    EXPECT_TRUE(sentFiles().empty());
    ASSERT_EQ(delegate->finished.size(), 3u);
    EXPECT_EQ(delegate->finished[0].second, nullptr);
    EXPECT_EQ(delegate->finished[1].second, nullptr);
    ASSERT_NE(delegate->finished[2].second, nullptr);
    EXPECT_EQ(delegate->finished[2].second->domain(), messageui::kMFMailComposeErrorDomain);
    EXPECT_EQ(delegate->finished[2].second->code(), messageui::MFMailComposeErrorCode::SendFailed);
}

// The settings screen's feedback: the screen presents the composer and, as the
// composer's mail delegate, dismisses it whatever the result.
struct FeedbackScreen : uikit::UIViewController, messageui::MFMailComposeViewControllerDelegate {
    int finished = 0;
    void mailComposeController(MFMailComposeViewController&, MFMailComposeResult, const foundation::ErrorPtr&) override {
        ++finished;
        dismissViewControllerAnimated(true);
    }
};

TEST_F(MailComposer, IsPresentedModallyAndLeavesTheScreenWhenItsDelegateDismissesIt) {
    auto& application = uikit::UIApplication::sharedApplication();
    application.resetForTests();
    auto screen = std::make_shared<FeedbackScreen>();
    application.keyWindow()->setRootViewController(screen);
    foundation::RunLoop::main().runDueTasks();

    std::weak_ptr<MFMailComposeViewController> gone;
    {
        auto composer = std::make_shared<MFMailComposeViewController>();
        gone = composer;
        composer->setMailComposeDelegate(screen);
        composer->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
        composer->setToRecipients({"support@example.org"});
        screen->presentViewController(composer, true);
    }
    foundation::RunLoop::main().runDueTasks();
    ASSERT_EQ(screen->presentedViewController(), gone.lock());
    EXPECT_EQ(gone.lock()->presentingViewController(), screen);

    gone.lock()->finishWithResult(MFMailComposeResult::Cancelled);
    EXPECT_EQ(screen->finished, 1);
    for (int turn = 0; turn < 3; ++turn) foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(screen->presentedViewController(), nullptr);
    EXPECT_TRUE(gone.expired());
    EXPECT_TRUE(sentFiles().empty());
    application.resetForTests();
}

}  // namespace

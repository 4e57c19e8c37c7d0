// The mail composer: a screen, presented modally, on which a person writes
// and sends a mail prepared by the application. With no mail account here,
// "sending" writes the mail as an RFC 5322 file into the sent-mail folder
// under the application's Library, where a mail program opens it. The person's
// choice (cancel, save a draft, send) is made through finishWithResult, which
// tells the mail delegate once; as on the platform, the delegate dismisses the
// composer. Whether the device can send mail is a setting (YES unless set).
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Error.h"
#include "uikit/UIViewController.h"

namespace messageui {

enum class MFMailComposeResult { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };

inline constexpr const char* kMFMailComposeErrorDomain = "MFMailComposeErrorDomain";
namespace MFMailComposeErrorCode {
inline constexpr int64_t SaveFailed = 0;
inline constexpr int64_t SendFailed = 1;
}  // namespace MFMailComposeErrorCode

class MFMailComposeViewController;

class MFMailComposeViewControllerDelegate {
public:
    virtual ~MFMailComposeViewControllerDelegate() = default;
    // The person is done with the composer; the error is set only for Failed.
    virtual void mailComposeController(MFMailComposeViewController& controller, MFMailComposeResult didFinishWithResult,
                                       const foundation::ErrorPtr& error) = 0;
};

class MFMailComposeViewController : public uikit::UIViewController {
public:
    // The sender written into sent mails: the device has no account of its own.
    static constexpr const char* kSenderAddress = "Quovana user <user@localhost>";

    static bool canSendMail();
    static void setCanSendMail(bool canSend);
    // Library/Mail/Sent under the application's home, created on first use.
    static std::string sentMailDirectory();

    const std::vector<std::string>& toRecipients() const { return toRecipients_; }
    void setToRecipients(std::vector<std::string> recipients) { toRecipients_ = std::move(recipients); }
    const std::string& subject() const { return subject_; }
    void setSubject(std::string subject) { subject_ = std::move(subject); }
    const std::string& messageBody() const { return messageBody_; }
    bool isHTML() const { return isHTML_; }
    void setMessageBody(std::string body, bool isHTML);

    std::shared_ptr<MFMailComposeViewControllerDelegate> mailComposeDelegate() const { return delegate_.lock(); }
    void setMailComposeDelegate(std::weak_ptr<MFMailComposeViewControllerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // What the person does: Sent writes the mail file (a write that fails
    // becomes Failed with the file error); Failed reports a send failure;
    // Cancelled and Saved write nothing. The delegate is told once; later
    // calls do nothing.
    void finishWithResult(MFMailComposeResult result);
    bool isFinished() const { return finished_; }
    // The file of the sent mail, once sent.
    const std::optional<std::string>& sentMessagePath() const { return sentMessagePath_; }

    // A sheet that draws the bar, the To and Subject lines and the body.
    void loadView() override;
    // The composer's fields as the person sees them.
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "MFMailComposeViewController"; }

private:
    foundation::ErrorPtr writeSentMessage();

    std::vector<std::string> toRecipients_;
    std::string subject_;
    std::string messageBody_;
    bool isHTML_ = false;
    std::weak_ptr<MFMailComposeViewControllerDelegate> delegate_;
    bool finished_ = false;
    std::optional<std::string> sentMessagePath_;
};

using MFMailComposeViewControllerPtr = std::shared_ptr<MFMailComposeViewController>;

}  // namespace messageui

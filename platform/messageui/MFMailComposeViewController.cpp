// The composer's finishing: the sent-mail file and the delegate's call.
#include "messageui/MFMailComposeViewController.h"

#include <atomic>
#include <cmath>

#include "foundation/ApplicationHome.h"
#include "foundation/Clock.h"
#include "foundation/Data.h"
#include "foundation/FileManager.h"
#include "foundation/MainThreadChecker.h"
#include "messageui/MailComposeSheetView.h"
#include "messageui/MailMessage.h"
#include "uikit/UIScreen.h"

namespace messageui {
namespace {

std::atomic<bool> deviceCanSendMail{true};

void requireMain() { foundation::requireMainThread("MFMailComposeViewController is used from the main thread only"); }

}  // namespace

bool MFMailComposeViewController::canSendMail() { return deviceCanSendMail.load(); }

void MFMailComposeViewController::setCanSendMail(bool canSend) { deviceCanSendMail.store(canSend); }

std::string MFMailComposeViewController::sentMailDirectory() {
    const std::string directory = foundation::ApplicationHome::libraryDirectory() + "/Mail/Sent";
    foundation::FileManager::defaultManager().createDirectoryAtPath(directory, true);
    return directory;
}

void MFMailComposeViewController::loadView() {
    setView(std::make_shared<MailComposeSheetView>(
        uikit::UIScreen::mainScreen().bounds(),
        std::static_pointer_cast<const MFMailComposeViewController>(shared_from_this())));
}

std::vector<std::pair<std::string, std::string>> MFMailComposeViewController::screenDescriptionItems() const {
    std::string to;
    for (const auto& recipient : toRecipients_) to += (to.empty() ? "" : ", ") + recipient;
    return {{"to", to}, {"subject", subject_}, {"body", messageBody_}};
}

void MFMailComposeViewController::setMessageBody(std::string body, bool isHTML) {
    messageBody_ = std::move(body);
    isHTML_ = isHTML;
}

void MFMailComposeViewController::finishWithResult(MFMailComposeResult result) {
    requireMain();
    if (finished_) return;
    finished_ = true;
    foundation::ErrorPtr error;
    if (result == MFMailComposeResult::Sent) {
        if (auto writeError = writeSentMessage()) {
            result = MFMailComposeResult::Failed;
            error = foundation::Error::make(kMFMailComposeErrorDomain, MFMailComposeErrorCode::SendFailed, {},
                                            writeError);
        }
    } else if (result == MFMailComposeResult::Failed) {
        error = foundation::Error::make(kMFMailComposeErrorDomain, MFMailComposeErrorCode::SendFailed);
    }
    // The delegate usually dismisses the composer, which may release it.
    auto self = std::static_pointer_cast<MFMailComposeViewController>(shared_from_this());
    if (auto delegate = delegate_.lock()) delegate->mailComposeController(*this, result, error);
}

foundation::ErrorPtr MFMailComposeViewController::writeSentMessage() {
    MailMessage message;
    message.from = kSenderAddress;
    message.to = toRecipients_;
    message.subject = subject_;
    message.body = messageBody_;
    message.isHTML = isHTML_;
    message.date = foundation::Date(std::floor(foundation::Clock::now()));

    // Named by the sending time, so the folder lists mails in the order sent.
    const auto& files = foundation::FileManager::defaultManager();
    const std::string directory = sentMailDirectory();
    const auto stamp = static_cast<int64_t>(std::floor(foundation::Clock::now() + foundation::kTimeIntervalSince1970));
    std::string path;
    for (int n = 0; path.empty() || files.fileExistsAtPath(path); ++n)
        path = directory + "/" + std::to_string(stamp) + (n ? "-" + std::to_string(n) : "") + ".eml";

    foundation::ErrorPtr error;
    if (!files.writeData(foundation::Data::fromString(message.rfc5322Text()), path, true, &error)) return error;
    sentMessagePath_ = path;
    return nullptr;
}

}  // namespace messageui

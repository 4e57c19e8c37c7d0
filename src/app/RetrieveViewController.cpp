#include "app/RetrieveViewController.h"

#include "Utils/CustomTextField.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/LoginScreenSupport.h"
#include "foundation/StringUtils.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace {

constexpr double kBarHeight = 64;
constexpr double kFieldHeight = 44;
constexpr double kMargin = 20;

}  // namespace

RetrieveViewController::RetrieveViewController() = default;

// The base screen writes the "Called dealloc" line with the class name.
RetrieveViewController::~RetrieveViewController() {
    if (mfmcvc_) mfmcvc_->setMailComposeDelegate({});
}

std::shared_ptr<RetrieveViewController> RetrieveViewController::self() {
    return std::dynamic_pointer_cast<RetrieveViewController>(shared_from_this());
}

void RetrieveViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    auto& root = *view();
    root.setBackgroundColor(uikit::UIColor::whiteColor());
    const double width = root.bounds().size.width;
    std::weak_ptr<RetrieveViewController> weak = std::dynamic_pointer_cast<RetrieveViewController>(shared_from_this());

    navBar_ = std::make_shared<uikit::UINavigationBar>(graphics::Rect{0, 0, width, kBarHeight});
    navBar_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    auto item = std::make_shared<uikit::UINavigationItem>(std::string("Forgot password"));
    item->setLeftBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string("Cancel"), uikit::UIBarButtonItemStyle::Plain, [weak](uikit::UIBarButtonItem&) {
            if (auto screen = weak.lock()) screen->cancelRetrieving(nullptr);
        }));
    item->setRightBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string("Send"), uikit::UIBarButtonItemStyle::Done, [weak](uikit::UIBarButtonItem&) {
            if (auto screen = weak.lock()) screen->retrievePassword(nullptr);
        }));
    navBar_->pushNavigationItem(item, false);
    root.addSubview(navBar_);

    emailTF_ = std::make_shared<CustomTextField>(
        graphics::Rect{kMargin, kBarHeight + kMargin, width - 2 * kMargin, kFieldHeight});
    emailTF_->setPlaceholder(std::string("Email address"));
    emailTF_->setKeyboardType(uikit::UIKeyboardType::EmailAddress);
    emailTF_->setAutocapitalizationType(uikit::UITextAutocapitalizationType::None);
    emailTF_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    emailTF_->setDelegate(std::dynamic_pointer_cast<RetrieveViewController>(shared_from_this()));
    root.addSubview(emailTF_);

    contactButton_ = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
    contactButton_->setFrame({kMargin, kBarHeight + 2 * kMargin + kFieldHeight, width - 2 * kMargin, kFieldHeight});
    contactButton_->setTitle(std::string("Contact Quovana support"), uikit::UIControlStateNormal);
    contactButton_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    contactButton_->addTarget(
        [weak](uikit::UIControl&) {
            if (auto screen = weak.lock()) screen->emailQuovana(nullptr);
        },
        uikit::UIControlEventTouchUpInside);
    root.addSubview(contactButton_);
}

std::string RetrieveViewController::trimmedAddress() const {
    return foundation::StringUtils::trimWhitespace(emailTF_ ? emailTF_->text().value_or("") : "");
}

void RetrieveViewController::retrievePassword(const foundation::ObjectPtr&) {
    if (trimmedAddress().empty()) {
        Utils::displayAlertViewWithMessage(std::string("You must enter a valid email address"), std::nullopt);
    } else if (!Utils::isInternetReachable()) {
        Utils::displayAlertViewWithMessage(std::string("No internet connection!"),
                                           std::string("Unable to complete request!"));
    } else {
        sendRetrieveRequest();
    }
}

void RetrieveViewController::sendRetrieveRequest() {
    const std::string address = trimmedAddress();
    if (!Utils::isEmailAddressValid(address)) {
        // The screen stays open for a corrected address.
        Utils::displayAlertViewWithMessage(std::string("This is not a valid email address."), std::string("Error"));
        return;
    }
    auto progress = LoginScreenSupport::showProgressAlert("Sending email...");
    AnalyticsUtils::trackEventWithName("Reset password");
    std::weak_ptr<RetrieveViewController> weak = self();
    QVAApiManager::sharedApiManager().sendNewActivationCodeFor(
        address, [weak, progress](const foundation::ErrorPtr& error, const foundation::Value&) {
            progress->dismissWithClickedButtonIndex(0, true);
            auto screen = weak.lock();
            if (!screen) return;
            if (error) {
                screen->handleError(error, "There was an error processing the request.",
                                    std::string("Make sure you provide the email address used for registration, "
                                                "and try again later"));
                return;
            }
            auto alert = std::make_shared<uikit::UIAlertView>(
                std::string("Email successfully sent."),
                std::string("Instructions on how to set a new password have been mailed to the email address "
                            "provided. Please allow up to 5 minutes for the email to arrive."),
                screen, "OK", std::vector<std::string>{});
            alert->show();
        });
}

void RetrieveViewController::cancelRetrieving(const foundation::ObjectPtr&) { dismissViewControllerAnimated(true); }

void RetrieveViewController::emailQuovana(const foundation::ObjectPtr&) {
    if (!messageui::MFMailComposeViewController::canSendMail()) return;
    if (mfmcvc_) mfmcvc_->setMailComposeDelegate({});
    mfmcvc_ = std::make_shared<messageui::MFMailComposeViewController>();
    mfmcvc_->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    mfmcvc_->setMailComposeDelegate(self());
    mfmcvc_->setToRecipients({kSupportMailAddress});
    presentViewController(mfmcvc_, true);
}

bool RetrieveViewController::textFieldShouldReturn(uikit::UITextField& field) {
    field.resignFirstResponder();
    return true;
}

void RetrieveViewController::alertViewDidDismissWithButtonIndex(uikit::UIAlertView&, int64_t) {
    cancelRetrieving(nullptr);
}

void RetrieveViewController::mailComposeController(messageui::MFMailComposeViewController& controller,
                                                   messageui::MFMailComposeResult,
                                                   const foundation::ErrorPtr&) {
    controller.dismissViewControllerAnimated(true);
}

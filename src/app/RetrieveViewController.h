// The forgotten-password screen ("RetrieveViewController"), presented from
// the user-name login: an e-mail field, a send button that asks the service
// to mail reset instructions, a cancel button and a contact button that opens
// a mail to the mobile support. An ill-formed address is refused with the
// screen left open, so the person can correct what was typed. Main thread
// only.
#pragma once

#include <memory>
#include <string>

#include "app/BaseViewController.h"
#include "messageui/MFMailComposeViewController.h"
#include "uikit/UIAlertView.h"
#include "uikit/UITextField.h"

namespace uikit {
class UINavigationBar;
class UIButton;
}  // namespace uikit
class UIBlockAlertView;

class RetrieveViewController : public BaseViewController,
                               public uikit::UITextFieldDelegate,
                               public uikit::UIAlertViewDelegate,
                               public messageui::MFMailComposeViewControllerDelegate {
public:
    static constexpr const char* kSupportMailAddress = "mobile-apps-support@quovana.org";

    static Text storyboardIdentifier() { return std::string("RetrieveViewController"); }

    RetrieveViewController();
    ~RetrieveViewController() override;

    // The send button.
    void retrievePassword(const foundation::ObjectPtr& sender);
    // The cancel button: dismisses the screen, animated.
    void cancelRetrieving(const foundation::ObjectPtr& sender);
    // The contact button.
    void emailQuovana(const foundation::ObjectPtr& sender);
    void sendRetrieveRequest();

    const std::shared_ptr<messageui::MFMailComposeViewController>& mfmcvc() const { return mfmcvc_; }
    const std::shared_ptr<uikit::UINavigationBar>& navBar() const { return navBar_; }
    const std::shared_ptr<uikit::UITextField>& emailTF() const { return emailTF_; }

    void loadView() override;

    bool textFieldShouldReturn(uikit::UITextField& field) override;
    // Only the success alert has the screen as delegate: its dismissal closes the screen.
    void alertViewDidDismissWithButtonIndex(uikit::UIAlertView& alertView, int64_t buttonIndex) override;
    void mailComposeController(messageui::MFMailComposeViewController& controller,
                               messageui::MFMailComposeResult result,
                               const foundation::ErrorPtr& error) override;

    std::string className() const override { return "RetrieveViewController"; }

private:
    std::shared_ptr<RetrieveViewController> self();
    std::string trimmedAddress() const;

    std::shared_ptr<messageui::MFMailComposeViewController> mfmcvc_;
    std::shared_ptr<uikit::UINavigationBar> navBar_;
    std::shared_ptr<uikit::UITextField> emailTF_;
    std::shared_ptr<uikit::UIButton> contactButton_;
};

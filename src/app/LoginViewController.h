// The user-name login screen ("loginViewController"): a form of user name
// and password over the launch picture, a note whose link leads to the
// passcode login, and the login itself, which ends in the loading screen for
// the account the service returns. `navigate` makes a new one the window's
// root whenever the application has no account (start-up, logout, a failed
// loading). Main thread only.
#pragma once

#include <memory>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"
#include "uikit/UITextField.h"
#include "uikit/UIWebView.h"

class CustomTextField;
class LoginUsersPicker;
class QVAUserAccount;
class UIBlockAlertView;

namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit

class LoginViewController : public BaseViewController,
                            public uikit::UITableViewDataSource,
                            public uikit::UITableViewDelegate,
                            public uikit::UITextFieldDelegate,
                            public uikit::UIWebViewDelegate {
public:
    static constexpr const char* kUsernameToPasscodeLoginSegue = "usernameToPasscodeLoginSegue";
    static constexpr const char* kForgotPasswordSegue = "forgotPasswordSegue";
    static constexpr const char* kLabelText = "Please enter your\nQuovana Orvane username (email address) and password.";

    static Text storyboardIdentifier() { return std::string("loginViewController"); }

    // A new user-name screen from the device's storyboard as the window's
    // root; the delegate's split view (its popover menu and delegate cleared)
    // is let go.
    static void navigate();

    LoginViewController();
    ~LoginViewController() override;

    void login();
    std::shared_ptr<UIBlockAlertView> showLoggingInAlertView();
    void forTestingSetTheUsername(const std::string& username, const std::string& password);
    void configureUserInterface();

    const std::shared_ptr<CustomTextField>& userTF() const { return userTF_; }
    const std::shared_ptr<CustomTextField>& passTF() const { return passTF_; }
    const std::shared_ptr<uikit::UITableView>& loginTableView() const { return loginTableView_; }
    const std::shared_ptr<uikit::UIImageView>& backgroundView() const { return backgroundView_; }
    const std::shared_ptr<uikit::UILabel>& enterUsernameLabel() const { return enterUsernameLabel_; }
    const std::shared_ptr<uikit::UIWebView>& passcodeLoginWebView() const { return passcodeLoginWebView_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation, double duration) override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    bool textFieldShouldReturn(uikit::UITextField& field) override;
    bool webViewShouldStartLoadWithRequest(uikit::UIWebView& webView, const foundation::URLRequest& request,
                                           uikit::UIWebViewNavigationType navigationType) override;

    std::string className() const override { return "LoginViewController"; }

private:
    std::shared_ptr<LoginViewController> self();
    void handleLoginResult(const foundation::ErrorPtr& error, const std::shared_ptr<QVAUserAccount>& account);

    std::shared_ptr<CustomTextField> userTF_;
    std::shared_ptr<CustomTextField> passTF_;
    std::shared_ptr<uikit::UITableView> loginTableView_;
    std::shared_ptr<uikit::UIImageView> backgroundView_;
    std::shared_ptr<uikit::UILabel> enterUsernameLabel_;
    std::shared_ptr<uikit::UIWebView> passcodeLoginWebView_;
    std::shared_ptr<uikit::UIView> usersPicker_;
};

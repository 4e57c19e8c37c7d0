// The passcode login screen ("LoginByPasscodeViewController"), for people at
// a meeting without a member account: one passcode field over its own launch
// picture, a note whose link leads back to the user-name login, and the same
// ending as the user-name login: the loading screen for the account the
// service returns. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"
#include "uikit/UITextField.h"
#include "uikit/UIWebView.h"

class CustomTextField;
class QVAUserAccount;
class UIBlockAlertView;

namespace uikit {
class UIImageView;
}

class LoginByPasscodeViewController : public BaseViewController,
                                      public uikit::UITableViewDataSource,
                                      public uikit::UITableViewDelegate,
                                      public uikit::UITextFieldDelegate,
                                      public uikit::UIWebViewDelegate {
public:
    static constexpr const char* kPasscodeToUsernameLoginSegue = "passcodeToUsernameLoginSegue";

    static Text storyboardIdentifier() { return std::string("LoginByPasscodeViewController"); }

    LoginByPasscodeViewController();
    ~LoginByPasscodeViewController() override;

    void loginWithPasscode();
    std::shared_ptr<UIBlockAlertView> showLoggingInAlertView();
    void forTestingSetThePasscode(const std::string& passcode);
    void configureUserInterface();

    const std::shared_ptr<CustomTextField>& passTF() const { return passTF_; }
    const std::shared_ptr<uikit::UITableView>& loginTableView() const { return loginTableView_; }
    const std::shared_ptr<uikit::UIImageView>& backgroundView() const { return backgroundView_; }
    const std::shared_ptr<uikit::UIWebView>& usernameLoginWebView() const { return usernameLoginWebView_; }

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

    std::string className() const override { return "LoginByPasscodeViewController"; }

private:
    std::shared_ptr<LoginByPasscodeViewController> self();
    void handleLoginResult(const foundation::ErrorPtr& error, const std::shared_ptr<QVAUserAccount>& account);

    std::shared_ptr<CustomTextField> passTF_;
    std::shared_ptr<uikit::UITableView> loginTableView_;
    std::shared_ptr<uikit::UIImageView> backgroundView_;
    std::shared_ptr<uikit::UIWebView> usernameLoginWebView_;
    std::shared_ptr<uikit::UIView> usersPicker_;
};

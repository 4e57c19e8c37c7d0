#include "app/LoginViewController.h"

#include "Utils/CustomTextField.h"
#include "Utils/ErrorUtility.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/LoadingViewController.h"
#include "app/LoginScreenSupport.h"
#include "app/LoginUsersPicker.h"
#include "app/LoginViewLayout.h"
#include "foundation/StringUtils.h"
#include "model/QVAUserAccount.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace {

constexpr const char* kPasscodeNoteFormat =
    "<div style='text-align:center; font-size:%dpx;font-family:HelveticaNeue-Light;color:#FFFFFF;'>Not a registered "
    "Orvane user but at a Quovana Event (support staff or reporting press)? <br/>If you have been provided with a "
    "passcode please use our <a style='color:#409ED2;text-decoration:none' href=\"login:goToPasscodeLogin\">passcode "
    "login</a></div>";
constexpr const char* kPasscodeLink = "goToPasscodeLogin";

}  // namespace

void LoginViewController::navigate() {
    auto controller = instantiateViewControllerWithStoryboardIdentifier(storyboardIdentifier());
    auto delegate = AppDelegate::sharedAppDelegate();
    auto window = delegate ? delegate->window() : uikit::UIApplication::sharedApplication().keyWindow();
    if (window) window->setRootViewController(controller);
    if (!delegate) return;
    if (const auto& split = delegate->eventsSplitVC()) {
        split->setLeftPopoverMenuController(nullptr);
        split->setDelegate(nullptr);
    }
    delegate->setEventsSplitVC(nullptr);
}

LoginViewController::LoginViewController() = default;

LoginViewController::~LoginViewController() {
    if (passcodeLoginWebView_) {
        passcodeLoginWebView_->setDelegate(nullptr);
        passcodeLoginWebView_->stopLoading();
    }
}

std::shared_ptr<LoginViewController> LoginViewController::self() {
    return std::dynamic_pointer_cast<LoginViewController>(shared_from_this());
}

void LoginViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    LoginViewLayout layout(*view());
    backgroundView_ = layout.addBackground("loading_portrait_iphone.png");
    enterUsernameLabel_ = layout.addLabel();
    loginTableView_ = layout.addTable(2 * LoginScreenSupport::kRowHeight + LoginScreenSupport::kRowHeight);
    passcodeLoginWebView_ = layout.addNote();
}

void LoginViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    loginTableView_->setDataSource(self());
    loginTableView_->setDelegate(self());
    loginTableView_->setBackgroundColor(uikit::UIColor::clearColor());
    loginTableView_->setBackgroundView(nullptr);
    passcodeLoginWebView_->setDelegate(self());
    configureUserInterface();
}

void LoginViewController::configureUserInterface() {
    LoginScreenSupport::applyBackgroundImage(*backgroundView_, LoginScreenSupport::kUsernameImagePrefix);
    enterUsernameLabel_->setText(std::string(kLabelText));
    LoginScreenSupport::loadNote(*passcodeLoginWebView_, kPasscodeNoteFormat);
}

void LoginViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    loginTableView_->reloadData();
}

void LoginViewController::viewDidAppear(bool animated) {
    BaseViewController::viewDidAppear(animated);
#if QVA_DEMO_ACCOUNTS
    // Once per screen: a further picker would only pile up over the first.
    if (!usersPicker_) {
        auto picker = LoginUsersPicker::initWithUsersAndDelegateStuff(
            {0, 0, view()->bounds().size.width, LoginUsersPicker::kHeight});
        picker->setTheDelegate(self());
        usersPicker_ = picker;
        view()->addSubview(picker);
    }
#endif
}

void LoginViewController::willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation,
                                                                    double duration) {
    BaseViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (Utils::isIPad()) LoginScreenSupport::applyBackgroundImage(*backgroundView_, LoginScreenSupport::kUsernameImagePrefix);
}

void LoginViewController::forTestingSetTheUsername(const std::string& username, const std::string& password) {
    if (userTF_) userTF_->setText(username);
    if (passTF_) passTF_->setText(password);
}

int64_t LoginViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 2; }

int64_t LoginViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    return section == 0 ? 2 : 1;
}

std::optional<double> LoginViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                           const uikit::NSIndexPath&) {
    return LoginScreenSupport::kRowHeight;
}

uikit::UITableViewCellPtr LoginViewController::tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                              const uikit::NSIndexPath& indexPath) {
    auto cell = LoginScreenSupport::makeCell();
    if (indexPath.section == 0 && indexPath.row == 0) {
        userTF_ = LoginScreenSupport::addField(*cell, "Username", false, self());
        userTF_->setAutocapitalizationType(uikit::UITextAutocapitalizationType::None);
        userTF_->setKeyboardType(uikit::UIKeyboardType::EmailAddress);
    } else if (indexPath.section == 0) {
        passTF_ = LoginScreenSupport::addField(*cell, "Password", true, self());
    } else {
        LoginScreenSupport::configureButtonCell(*cell);
    }
    return cell;
}

void LoginViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.section != 1) return;
    const std::string username = foundation::StringUtils::trimWhitespace(userTF_ ? userTF_->text().value_or("") : "");
    const std::string password = foundation::StringUtils::trimWhitespace(passTF_ ? passTF_->text().value_or("") : "");
    if (username.empty() || password.empty()) {
        Utils::displayAlertViewWithMessage(std::string("You must enter your credentials in order to be able to login"),
                                           std::nullopt);
    } else if (!Utils::isInternetReachable()) {
        Utils::displayAlertViewWithMessage(std::string("No internet connection!"),
                                           std::string("Unable to complete request!"));
    } else {
        login();
    }
}

bool LoginViewController::textFieldShouldReturn(uikit::UITextField& field) {
    field.resignFirstResponder();
    return true;
}

bool LoginViewController::webViewShouldStartLoadWithRequest(uikit::UIWebView&, const foundation::URLRequest& request,
                                                            uikit::UIWebViewNavigationType navigationType) {
    if (navigationType != uikit::UIWebViewNavigationType::LinkClicked) return true;
    if (LoginScreenSupport::loginLinkTarget(request) == std::optional<std::string>(kPasscodeLink))
        performSegueWithIdentifier(kUsernameToPasscodeLoginSegue, shared_from_this());
    return false;
}

std::shared_ptr<UIBlockAlertView> LoginViewController::showLoggingInAlertView() {
    return LoginScreenSupport::showProgressAlert("Logging in...");
}

void LoginViewController::login() {
    if (userTF_) userTF_->resignFirstResponder();
    if (passTF_) passTF_->resignFirstResponder();
    auto progress = showLoggingInAlertView();
    std::weak_ptr<LoginViewController> weak = self();
    QVAApiManager::sharedApiManager().authenticateWithUsername(
        userTF_ ? userTF_->text() : std::nullopt, passTF_ ? passTF_->text() : std::nullopt,
        [weak, progress](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto account = result.objectAs<QVAUserAccount>();
            progress->setCompletionBlockOnDismiss([weak, error, account](uikit::UIAlertView&) {
                if (auto screen = weak.lock()) screen->handleLoginResult(error, account);
            });
            progress->dismissWithClickedButtonIndex(0, true);
        });
}

void LoginViewController::handleLoginResult(const foundation::ErrorPtr& error,
                                            const std::shared_ptr<QVAUserAccount>& account) {
    if (!error && account) {
        auto loading = LoadingViewController::instantiateViewControllerWithAccount(account, std::nullopt);
        AnalyticsUtils::trackEventWithName("Log in");
        if (loading) presentViewController(loading, true);
        return;
    }
    if (error && ErrorUtility::HTTPErrorCode(error) == 400) {
        auto alert = UIBlockAlertView::initWithTitle(std::string("Authentication failed!"),
                                                     std::string("Invalid username or wrong password"));
        alert->addButtonWithTitle("Retry", UIBlockAlertView::ActionBlock());
        std::weak_ptr<LoginViewController> weak = self();
        alert->addButtonWithTitle("Forgot password", [weak](uikit::UIAlertView&) {
            if (auto screen = weak.lock()) screen->performSegueWithIdentifier(kForgotPasswordSegue, screen);
        });
        alert->show();
        return;
    }
    handleError(error, "An error occurred while logging in. Please try again.", std::nullopt);
}

#include "app/LoginByPasscodeViewController.h"

#include "Utils/CustomTextField.h"
#include "Utils/ErrorUtility.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/LoadingViewController.h"
#include "app/LoginScreenSupport.h"
#include "app/LoginUsersPicker.h"
#include "app/LoginViewLayout.h"
#include "foundation/StringUtils.h"
#include "model/QVAUserAccount.h"
#include "uikit/UIColor.h"
#include "uikit/UIImageView.h"
#include "uikit/UIScreen.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIView.h"

namespace {

constexpr const char* kNoteFormat =
    "<div style='text-align:center; font-size:%dpx;font-family:HelveticaNeue-Light;color:#FFFFFF;'>Passcodes will be "
    "provided to certain users at Quovana events - e.g. support staff or reporting press. If you believe you are "
    "entitled to one please contact your Quovana representative. <br/><br/> Please note - If you are a registered "
    "participant you do not need a passcode and should login with your <a style='color:#409ED2;text-decoration:none' "
    "href=\"login:goToUsernameLogin\">Orvane username and password</a></div>";
constexpr const char* kUsernameLink = "goToUsernameLogin";

}  // namespace

LoginByPasscodeViewController::LoginByPasscodeViewController() = default;

LoginByPasscodeViewController::~LoginByPasscodeViewController() {
    if (usernameLoginWebView_) {
        usernameLoginWebView_->setDelegate(nullptr);
        usernameLoginWebView_->stopLoading();
    }
}

std::shared_ptr<LoginByPasscodeViewController> LoginByPasscodeViewController::self() {
    return std::dynamic_pointer_cast<LoginByPasscodeViewController>(shared_from_this());
}

void LoginByPasscodeViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    LoginViewLayout layout(*view());
    backgroundView_ = layout.addBackground("non_orvane_loading_portrait_iphone-568h@2x.png");
    loginTableView_ = layout.addTable(2 * LoginScreenSupport::kRowHeight);
    usernameLoginWebView_ = layout.addNote();
}

void LoginByPasscodeViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    loginTableView_->setDataSource(self());
    loginTableView_->setDelegate(self());
    loginTableView_->setBackgroundColor(uikit::UIColor::clearColor());
    loginTableView_->setBackgroundView(nullptr);
    usernameLoginWebView_->setDelegate(self());
    configureUserInterface();
}

void LoginByPasscodeViewController::configureUserInterface() {
    LoginScreenSupport::applyBackgroundImage(*backgroundView_, LoginScreenSupport::kPasscodeImagePrefix);
    LoginScreenSupport::loadNote(*usernameLoginWebView_, kNoteFormat);
}

void LoginByPasscodeViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    loginTableView_->reloadData();
}

void LoginByPasscodeViewController::viewDidAppear(bool animated) {
    BaseViewController::viewDidAppear(animated);
#if QVA_DEMO_ACCOUNTS
    // Once per screen: a further picker would only pile up over the first.
    if (!usersPicker_) {
        auto picker = LoginUsersPicker::initWithPasscodeAndDelegateStuff(
            {0, 0, view()->bounds().size.width, LoginUsersPicker::kHeight});
        picker->setTheDelegate(self());
        usersPicker_ = picker;
        view()->addSubview(picker);
    }
#endif
}

void LoginByPasscodeViewController::willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation,
                                                                              double duration) {
    BaseViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (Utils::isIPad()) LoginScreenSupport::applyBackgroundImage(*backgroundView_, LoginScreenSupport::kPasscodeImagePrefix);
}

void LoginByPasscodeViewController::forTestingSetThePasscode(const std::string& passcode) {
    if (passTF_) passTF_->setText(passcode);
}

int64_t LoginByPasscodeViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 2; }

int64_t LoginByPasscodeViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) { return 1; }

std::optional<double> LoginByPasscodeViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                     const uikit::NSIndexPath&) {
    return LoginScreenSupport::kRowHeight;
}

uikit::UITableViewCellPtr LoginByPasscodeViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView&, const uikit::NSIndexPath& indexPath) {
    auto cell = LoginScreenSupport::makeCell();
    if (indexPath.section == 0)
        passTF_ = LoginScreenSupport::addField(*cell, "Passcode", true, self());
    else
        LoginScreenSupport::configureButtonCell(*cell);
    return cell;
}

void LoginByPasscodeViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                     const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.section != 1) return;
    if (foundation::StringUtils::trimWhitespace(passTF_ ? passTF_->text().value_or("") : "").empty()) {
        Utils::displayAlertViewWithMessage(std::string("You must enter your passcode in order to be able to login"),
                                           std::nullopt);
    } else if (!Utils::isInternetReachable()) {
        Utils::displayAlertViewWithMessage(std::string("No internet connection!"),
                                           std::string("Unable to complete request!"));
    } else {
        loginWithPasscode();
    }
}

bool LoginByPasscodeViewController::textFieldShouldReturn(uikit::UITextField& field) {
    field.resignFirstResponder();
    return true;
}

bool LoginByPasscodeViewController::webViewShouldStartLoadWithRequest(uikit::UIWebView&,
                                                                      const foundation::URLRequest& request,
                                                                      uikit::UIWebViewNavigationType navigationType) {
    if (navigationType != uikit::UIWebViewNavigationType::LinkClicked) return true;
    if (LoginScreenSupport::loginLinkTarget(request) == std::optional<std::string>(kUsernameLink))
        performSegueWithIdentifier(kPasscodeToUsernameLoginSegue, shared_from_this());
    return false;
}

std::shared_ptr<UIBlockAlertView> LoginByPasscodeViewController::showLoggingInAlertView() {
    return LoginScreenSupport::showProgressAlert("Logging in...");
}

void LoginByPasscodeViewController::loginWithPasscode() {
    if (passTF_) passTF_->resignFirstResponder();
    auto progress = showLoggingInAlertView();
    std::weak_ptr<LoginByPasscodeViewController> weak = self();
    QVAApiManager::sharedApiManager().authenticateByPasscode(
        passTF_ ? passTF_->text() : std::nullopt,
        [weak, progress](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto account = result.objectAs<QVAUserAccount>();
            progress->setCompletionBlockOnDismiss([weak, error, account](uikit::UIAlertView&) {
                if (auto screen = weak.lock()) screen->handleLoginResult(error, account);
            });
            progress->dismissWithClickedButtonIndex(0, true);
        });
}

void LoginByPasscodeViewController::handleLoginResult(const foundation::ErrorPtr& error,
                                                      const std::shared_ptr<QVAUserAccount>& account) {
    if (!error && account) {
        auto loading = LoadingViewController::instantiateViewControllerWithAccount(account, std::nullopt);
        AnalyticsUtils::trackEventWithName("Log in with passcode");
        if (loading) presentViewController(loading, true);
        return;
    }
    if (error && ErrorUtility::HTTPErrorCode(error) == 400) {
        auto alert = UIBlockAlertView::initWithTitle(std::string("Authentication failed!"), std::string("Invalid passcode"));
        alert->addButtonWithTitle("Retry", UIBlockAlertView::ActionBlock());
        alert->show();
        return;
    }
    handleError(error, "An error occurred while logging in. Please try again.", std::nullopt);
}

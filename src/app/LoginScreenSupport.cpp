#include "app/LoginScreenSupport.h"

#include <cfloat>
#include <cmath>

#include "Utils/CustomTextField.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "foundation/Bundle.h"
#include "foundation/Format.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWebView.h"

namespace LoginScreenSupport {

namespace {

constexpr double kFieldY = 11;
constexpr double kFieldHeight = 22;

graphics::Rect fieldFrame(const uikit::UITableViewCell& cell) {
    const bool pad = Utils::isIPad();
    const double width = cell.contentView()->bounds().size.width;
    return {pad ? 20.0 : 10.0, kFieldY, width - (pad ? 40.0 : 20.0), kFieldHeight};
}

}  // namespace

std::optional<std::string> backgroundImageName(const std::string& prefix) {
    if (Utils::isIPad()) {
        const auto orientation = uikit::UIApplication::sharedApplication().statusBarOrientation();
        const bool landscape = orientation == uikit::UIInterfaceOrientation::LandscapeLeft ||
                               orientation == uikit::UIInterfaceOrientation::LandscapeRight;
        return prefix + (landscape ? "loading_landscape_ipad.png" : "loading_portrait_ipad.png");
    }
    const double height = uikit::UIScreen::mainScreen().bounds().size.height;
    if (std::fabs(height - 568) < DBL_EPSILON) return prefix + "loading_portrait_iphone-568h@2x.png";
    if (height == 667) return prefix + "loading_portrait_iphone-667h@2x.png";
    if (height == 736) return prefix + "loading_portrait_iphone-736h@3x.png";
    return std::nullopt;
}

void applyBackgroundImage(uikit::UIImageView& backgroundView, const std::string& prefix) {
    if (auto name = backgroundImageName(prefix)) backgroundView.setImage(uikit::UIImage::imageNamed(*name));
}

void loadNote(uikit::UIWebView& webView, const char* htmlFormat) {
    const int fontSize = Utils::isIPad() ? 16 : 13;
    const auto base = foundation::URL::fileURLWithPath(foundation::Bundle::mainBundle().resourcePath(), true);
    webView.loadHTMLString(foundation::Format(htmlFormat, fontSize), base);
    webView.scrollView().setScrollEnabled(false);
    webView.scrollView().setBounces(false);
}

std::optional<std::string> loginLinkTarget(const foundation::URLRequest& request) {
    if (!request.url()) return std::nullopt;
    const std::string& text = request.url()->absoluteString();
    const auto colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return text.substr(colon + 1);
}

std::shared_ptr<uikit::UITableViewCell> makeCell() {
    return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::string(kCellIdentifier));
}

std::shared_ptr<CustomTextField> addField(uikit::UITableViewCell& cell, const std::string& placeholder, bool secure,
                                          const std::shared_ptr<uikit::UITextFieldDelegate>& delegate) {
    cell.setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    auto field = std::make_shared<CustomTextField>(fieldFrame(cell));
    field->setBackgroundColor(uikit::UIColor::clearColor());
    field->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    field->setDelegate(delegate);
    field->setPlaceholder(placeholder);
    field->setSecureTextEntry(secure);
    field->setText(std::string());
    cell.contentView()->addSubview(field);
    return field;
}

void configureButtonCell(uikit::UITableViewCell& cell) {
    cell.setBackgroundColor(uikit::UIColor::colorWithRed(64 / 255.0, 158 / 255.0, 210 / 255.0, 1));
    auto label = std::make_shared<uikit::UILabel>(fieldFrame(cell));
    label->setText(std::string("Login"));
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setTextColor(uikit::UIColor::whiteColor());
    label->setBackgroundColor(uikit::UIColor::clearColor());
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    cell.contentView()->addSubview(label);
}

std::shared_ptr<UIBlockAlertView> showProgressAlert(const std::string& title) {
    auto alert = UIBlockAlertView::initWithTitle(title, std::nullopt);
    auto spinner = Utils::createActivityIndicator();
    spinner->setCenter({139.5, 70.5});
    spinner->startAnimating();
    alert->addAccessoryView(spinner);
    alert->show();
    return alert;
}

}  // namespace LoginScreenSupport

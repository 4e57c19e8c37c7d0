#include "programme/QVASessionHeaderView.h"

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "model/QVACoreDataBaseSession.h"

#include "graphics/GradientLayer.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "api/QVAApiManager.h"
#include "http/UIImageViewQNNetworking.h"
#include "uikit/UINib.h"

namespace {

// The nib's layout for a 320-point width: the three labels stacked at the
// bottom of the picture, above the strip the navigation bar takes.
constexpr double kNibWidth = 320;
constexpr double kLabelLeft = 15;
constexpr double kNameTop = 84;
constexpr double kNameHeight = 44;
constexpr double kLineHeight = 20;

std::shared_ptr<uikit::UILabel> makeLabel(double y, double height, uikit::UIFontPtr font, const char* outlet) {
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{kLabelLeft, y, kNibWidth - 2 * kLabelLeft, height});
    label->setFont(std::move(font));
    label->setTextColor(graphics::Color::white());
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    label->setOutletName(std::string(outlet));
    return label;
}

}  // namespace

std::vector<foundation::ObjectPtr> QVASessionHeaderView::loadNib(const foundation::ObjectPtr&) {
    auto header = std::make_shared<QVASessionHeaderView>(graphics::Rect{0, 0, kNibWidth, double(kHeaderHeight)});
    header->setBackgroundColor(graphics::Color::rgb(0.2, 0.31, 0.52));
    auto background = std::make_shared<uikit::UIImageView>(graphics::Rect{0, 0, kNibWidth, double(kHeaderHeight)});
    background->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    // The placeholder fills the picture by aspect: wider than the nib, it
    // grows taller than the header and would cover the rows beneath.
    background->setClipsToBounds(true);
    background->setOutletName(std::string("headerBackgroundImage"));
    header->addSubview(background);
    header->setHeaderBackgroundImage(background);
    header->sessionNameLabel_ = makeLabel(kNameTop, kNameHeight, uikit::UIFont::boldSystemFontOfSize(17), "sessionName");
    header->sessionNameLabel_->setNumberOfLines(2);
    header->sessionDateLabel_ =
        makeLabel(kNameTop + kNameHeight, kLineHeight, uikit::UIFont::systemFontOfSize(13), "sessionDate");
    header->sessionLocationLabel_ = makeLabel(kNameTop + kNameHeight + kLineHeight, kLineHeight,
                                              uikit::UIFont::systemFontOfSize(13), "sessionLocation");
    header->addSubview(header->sessionNameLabel_);
    header->addSubview(header->sessionDateLabel_);
    header->addSubview(header->sessionLocationLabel_);
    header->locationButton_ = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
    header->locationButton_->setFrame(header->sessionLocationLabel_->frame());
    header->locationButton_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    header->locationButton_->setOutletName(std::string("locationButton"));
    header->addSubview(header->locationButton_);
    return {header};
}

std::string QVASessionHeaderView::getNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, loadNib);
    return kNibName;
}

void QVASessionHeaderView::configureWithSessionImageUrl(const Text& imageUrl, const Text& sessionName,
                                                        const Text& sessionDate, const Text& sessionLocation) {
    if (auto background = headerBackgroundImage()) {
        if (auto request = QVAApiManager::sharedApiManager().imageRequestForAddress(imageUrl)) {
            UIImageViewQNNetworking::setImageWithURLRequest(background, *request, nullptr, nullptr, nullptr);
        } else {
            background->setImage(uikit::UIImage::imageNamed(kPlaceholderImageName));
            background->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
        }
    }
    sessionNameLabel_->setText(sessionName);
    sessionDateLabel_->setText(sessionDate);
    sessionLocationLabel_->setText(sessionLocation);
}

int QVASessionHeaderView::getHeaderBackgroundImageHeight() { return static_cast<int>(frame().size.height); }

std::string QVASessionHeaderView::getNavigationBarTitle() {
    const auto& text = sessionNameLabel_->text();
    return text ? *text : std::string();
}

void QVASessionHeaderView::configureWithSession(const std::shared_ptr<QVACoreDataBaseSession>& session,
                                                const std::shared_ptr<coredata::ManagedObjectContext>& context) {
    Text title, dayAndTime, location;
    if (session) {
        title = session->title();
        if (auto start = session->startDatetime())
            dayAndTime = DateHelper::programmeDayAndTimeForTimeInterval(*start, session->displayTime().value_or(""));
        location = Utils::currentLocationForObject(foundation::Value(session), context);
    }
    configureWithSessionImageUrl(std::nullopt, title, dayAndTime, location);
}

void QVASessionHeaderView::drawRect(const graphics::Rect& rect) {
    QVADetailHeaderView::drawRect(rect);
    auto background = headerBackgroundImage();
    if (!background) return;
    const graphics::Rect bounds = background->bounds();
    if (!overlayView_) {
        overlayView_ = std::make_shared<uikit::UIView>(bounds);
        overlayView_->setBackgroundColor(graphics::Color::black());
        overlayView_->setAlpha(kOverlayAlpha);
        overlayView_->setUserInteractionEnabled(false);
        background->addSubview(overlayView_);
        gradientLayer_ = graphics::GradientLayer::layer();
        gradientLayer_->setColors({graphics::Color::black(), graphics::Color::clear()});
        gradientLayer_->setStartPoint({0.5, 1.0});
        gradientLayer_->setEndPoint({0.5, 0.35});
        background->layer()->addSublayer(gradientLayer_);
    }
    overlayView_->setFrame(bounds);
    gradientLayer_->setFrame(bounds);
}

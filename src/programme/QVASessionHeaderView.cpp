#include "programme/QVASessionHeaderView.h"

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "model/QVACoreDataBaseSession.h"

#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
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

std::string describeText(const std::optional<std::string>& text) { return text ? *text : std::string("nil"); }

}  // namespace

std::vector<foundation::ObjectPtr> QVASessionHeaderView::loadNib(const foundation::ObjectPtr&) {
    auto header = std::make_shared<QVASessionHeaderView>(graphics::Rect{0, 0, kNibWidth, double(kHeaderHeight)});
    header->setBackgroundColor(graphics::Color::rgb(0.2, 0.31, 0.52));
    auto background = std::make_shared<uikit::UIImageView>(graphics::Rect{0, 0, kNibWidth, double(kHeaderHeight)});
    background->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
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
    return {header};
}

std::string QVASessionHeaderView::getNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, loadNib);
    return kNibName;
}

void QVASessionHeaderView::configureWithSessionImageUrl(const Text& imageUrl, const Text& sessionName,
                                                        const Text& sessionDate, const Text& sessionLocation) {
    recordCall("configureWithSessionImageUrl:withSessionName:withSessionDate:withSessionLocation: " +
               describeText(imageUrl) + " | " + describeText(sessionName) + " | " + describeText(sessionDate) + " | " +
               describeText(sessionLocation));
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

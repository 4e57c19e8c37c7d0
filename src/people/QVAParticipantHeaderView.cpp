#include "people/QVAParticipantHeaderView.h"

#include <algorithm>

#include "api/QVAApiManager.h"
#include "coredata/Predicate.h"
#include "foundation/URLRequest.h"
#include "http/UIImageViewQNNetworking.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "people/DetailHeaderGeometry.h"
#include "people/QVAParticipantHeaderDelegate.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITapGestureRecognizer.h"

namespace {

// The nib's layout for a 320-point width.
constexpr double kParticipantNibWidth = 320;
constexpr double kParticipantHeaderSideMargin = 15;
constexpr double kParticipantHeaderBottomMargin = 20;
constexpr double kParticipantPhotoGap = 10;
constexpr double kParticipantLineHeight = 18;
constexpr double kParticipantFollowWidth = 80;
constexpr double kParticipantFollowHeight = 26;
constexpr double kParticipantFollowTop = 54;

std::shared_ptr<uikit::UILabel> participantHeaderLabel(const char* outlet, uikit::UIFontPtr font) {
    auto label = std::make_shared<uikit::UILabel>();
    label->setFont(std::move(font));
    label->setTextColor(graphics::Color::white());
    label->setOutletName(std::string(outlet));
    return label;
}

}  // namespace

std::vector<foundation::ObjectPtr> QVAParticipantHeaderView::loadNib(const foundation::ObjectPtr&) {
    const graphics::Rect bounds(0, 0, kParticipantNibWidth, double(kHeaderHeight));
    auto header = std::make_shared<QVAParticipantHeaderView>(bounds);
    DetailHeaderGeometry::installBackgroundImageView(*header);

    header->participantPhoto_ = std::make_shared<uikit::UIImageView>();
    header->participantPhoto_->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    header->participantPhoto_->setOutletName(std::string("participantPhoto"));
    header->photoWidth_ = DetailHeaderGeometry::addPhotoSideConstraint(
        header->participantPhoto_, uikit::NSLayoutAttribute::Width, "participantPhotoWidth");
    header->photoHeight_ = DetailHeaderGeometry::addPhotoSideConstraint(
        header->participantPhoto_, uikit::NSLayoutAttribute::Height, "participantPhotoHeight");
    header->addSubview(header->participantPhoto_);

    header->participantName_ = participantHeaderLabel("participantName", uikit::UIFont::boldSystemFontOfSize(17));
    header->participantName_->setNumberOfLines(0);
    header->addSubview(header->participantName_);
    header->participantPosition_ = participantHeaderLabel("participantPosition", uikit::UIFont::systemFontOfSize(13));
    header->addSubview(header->participantPosition_);
    header->participantOrganization_ =
        participantHeaderLabel("participantOrganization", uikit::UIFont::systemFontOfSize(13));
    header->addSubview(header->participantOrganization_);

    header->followButton_ = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
    header->followButton_->setTitle(std::string(kFollowTitle), uikit::UIControlStateNormal);
    header->followButton_->setTitleColor(graphics::Color::white(), uikit::UIControlStateNormal);
    header->followButton_->setBackgroundColor(uikit::UIColor::blackColor());
    header->followButton_->setOutletName(std::string("followButton"));
    std::weak_ptr<QVAParticipantHeaderView> weakHeader = header;
    header->followButton_->addTarget(
        [weakHeader](uikit::UIControl&) {
            if (auto self = weakHeader.lock()) self->changeFollowedStatus();
        },
        uikit::UIControlEventTouchUpInside);
    header->addSubview(header->followButton_);

    header->organizationTap_ = std::make_shared<uikit::UITapGestureRecognizer>([weakHeader](uikit::UIGestureRecognizer&) {
        if (auto self = weakHeader.lock()) self->showOrganizationDetail();
    });
    header->participantOrganization_->addGestureRecognizer(header->organizationTap_);
    header->participantOrganization_->setUserInteractionEnabled(false);
    header->layoutSubviews();
    return {header};
}

std::string QVAParticipantHeaderView::getNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, loadNib);
    return kNibName;
}

// The texts sit at the bottom beside the photo; the name grows upwards.
void QVAParticipantHeaderView::layoutSubviews() {
    const graphics::Size size = bounds().size;
    if (auto background = headerBackgroundImage()) background->setFrame(graphics::Rect(0, 0, size.width, size.height));
    const double side = photoWidth_ ? photoWidth_->constant() : DetailHeaderGeometry::kLargestPhotoSide;
    const double sideHigh = photoHeight_ ? photoHeight_->constant() : side;
    const double bottom = size.height - kParticipantHeaderBottomMargin;
    if (participantPhoto_)
        participantPhoto_->setFrame(graphics::Rect(kParticipantHeaderSideMargin, bottom - sideHigh, side, sideHigh));
    const double textLeft =
        kParticipantHeaderSideMargin + DetailHeaderGeometry::kLargestPhotoSide + kParticipantPhotoGap;
    const double textWidth = std::max(0.0, size.width - textLeft - kParticipantHeaderSideMargin);
    const double organizationTop = bottom - kParticipantLineHeight;
    const double positionTop = organizationTop - kParticipantLineHeight;
    if (participantOrganization_)
        participantOrganization_->setFrame(graphics::Rect(textLeft, organizationTop, textWidth, kParticipantLineHeight));
    if (participantPosition_)
        participantPosition_->setFrame(graphics::Rect(textLeft, positionTop, textWidth, kParticipantLineHeight));
    if (participantName_) {
        const double nameHeight = participantName_->sizeThatFits(graphics::Size(textWidth, 10000)).height;
        participantName_->setFrame(graphics::Rect(textLeft, positionTop - nameHeight, textWidth, nameHeight));
    }
    if (followButton_)
        followButton_->setFrame(graphics::Rect(size.width - kParticipantHeaderSideMargin - kParticipantFollowWidth,
                                               kParticipantFollowTop, kParticipantFollowWidth,
                                               kParticipantFollowHeight));
}

std::shared_ptr<QVACoreDataParticipant> QVAParticipantHeaderView::currentParticipant() const {
    if (!participantId_) return nullptr;
    const auto rows = FilterFetching::fetchObjects(
        FilterFetching::currentStack(), QVACoreDataParticipant::kEntityName,
        coredata::Predicate::withFormat("%K = %@", std::string("itemId"), *participantId_));
    if (rows.empty()) return nullptr;
    return std::dynamic_pointer_cast<QVACoreDataParticipant>(rows.front().objectAs<foundation::Object>());
}

void QVAParticipantHeaderView::configureWithParticipantId(const Text& participantId, const Text& imageUrl,
                                                          const Text& name, const Text& position,
                                                          const Text& organization) {
    participantId_ = participantId;
    participantName_->setText(name);
    participantPosition_->setText(position);

    participantOrganization_->setText(organization);
    auto participant = currentParticipant();
    const auto organizationId = participant ? participant->organizationId() : std::nullopt;
    auto stack = FilterFetching::currentStack();
    const bool organizationStored = organizationId && stack &&
                                    FetchRequestUtils::existsOrganizationWithId(*organizationId,
                                                                                stack->managedObjectContextMainQueue());
    participantOrganization_->setUserInteractionEnabled(organizationStored);

    setNeedsLayout();
    layoutIfNeeded();
    DetailHeaderGeometry::stretchBackgroundForTitleTop(*this, participantName_->frame().origin.y, kHeaderHeight);

    loadPictures(imageUrl);

    const bool mayReadRelationships =
        stack && FetchRequestUtils::hasRelantionshipsReadPermissionGrantedInContext(stack->managedObjectContextMainQueue());
    followButton_->setHidden(!mayReadRelationships);
    if (mayReadRelationships) updateFollowButton();
}

void QVAParticipantHeaderView::loadPictures(const Text& imageUrl) {
    auto placeholder = uikit::UIImage::imageNamed(kPlaceholderImageName);
    auto background = headerBackgroundImage();
    const auto request = QVAApiManager::sharedApiManager().imageRequestForAddress(imageUrl);
    if (!request) {
        if (background) background->setImage(DetailHeaderGeometry::blurredBackground(placeholder));
        participantPhoto_->setImage(placeholder);
        return;
    }
    UIImageViewQNNetworking::setImageWithURLRequest(participantPhoto_, *request, placeholder, nullptr, nullptr);
    if (!background) return;
    std::weak_ptr<uikit::UIImageView> weakBackground = background;
    UIImageViewQNNetworking::setImageWithURLRequest(
        background, *request, placeholder,
        [weakBackground](const std::optional<foundation::URLRequest>&, const std::shared_ptr<foundation::HTTPURLResponse>&,
                         const uikit::UIImagePtr& image) {
            if (auto view = weakBackground.lock()) view->setImage(DetailHeaderGeometry::blurredBackground(image));
        },
        [weakBackground](const foundation::URLRequest&, const std::shared_ptr<foundation::HTTPURLResponse>&,
                         const foundation::ErrorPtr&) {
            if (auto view = weakBackground.lock()) view->setImage(DetailHeaderGeometry::blurredBackground(view->image()));
        });
}

void QVAParticipantHeaderView::updateFollowButton() {
    participantIsFollowed_ = participantId_ && FetchRequestUtils::isFollowedParticipant(*participantId_);
    followButton_->setTitle(std::string(participantIsFollowed_ ? kUnfollowTitle : kFollowTitle),
                            uikit::UIControlStateNormal);
}

void QVAParticipantHeaderView::changeFollowedStatus() {
    if (auto delegate = delegate_.lock()) delegate->changeFollowedStatusTo(!participantIsFollowed_);
}

void QVAParticipantHeaderView::showOrganizationDetail() {
    if (auto delegate = delegate_.lock()) delegate->showOrganizationDetail();
}

int QVAParticipantHeaderView::getHeaderBackgroundImageHeight() {
    return DetailHeaderGeometry::backgroundImageHeight(frame().size.height);
}

std::string QVAParticipantHeaderView::getNavigationBarTitle() { return participantName_->text().value_or(""); }

void QVAParticipantHeaderView::didScrollWithOffset(double offset) {
    const double side = DetailHeaderGeometry::photoSideForOffset(offset);
    photoWidth_->setConstant(side);
    photoHeight_->setConstant(side);
    setNeedsLayout();
    layoutIfNeeded();
}

void QVAParticipantHeaderView::drawRect(const graphics::Rect& rect) {
    QVADetailHeaderView::drawRect(rect);
    if (auto background = headerBackgroundImage()) DetailHeaderGeometry::coverWithOverlay(*background, overlay_, rect);
    DetailHeaderGeometry::framePhoto(*participantPhoto_);
    followButton_->layer()->setCornerRadius(kFollowButtonCornerRadius);
}

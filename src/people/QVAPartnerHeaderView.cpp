#include "people/QVAPartnerHeaderView.h"

#include "Utils/StringUtility.h"
#include "api/QVAApiManager.h"
#include "foundation/URLRequest.h"
#include "http/UIImageViewQNNetworking.h"
#include "people/DetailHeaderGeometry.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

// The nib's layout for a 320-point width.
constexpr double kPartnerNibWidth = 320;
constexpr double kPartnerHeaderSideMargin = 15;
constexpr double kPartnerHeaderBottomMargin = 20;
constexpr double kPartnerThumbnailGap = 10;
constexpr double kPartnerSubtitleHeight = 18;

std::optional<foundation::URLRequest> partnerImageRequest(const std::optional<std::string>& address) {
    return QVAApiManager::sharedApiManager().imageRequestForAddress(address);
}

}  // namespace

std::vector<foundation::ObjectPtr> QVAPartnerHeaderView::loadNib(const foundation::ObjectPtr&) {
    const graphics::Rect bounds(0, 0, kPartnerNibWidth, double(kHeaderHeight));
    auto header = std::make_shared<QVAPartnerHeaderView>(bounds);
    DetailHeaderGeometry::installBackgroundImageView(*header);

    header->headerThumbnail_ = std::make_shared<uikit::UIImageView>();
    header->headerThumbnail_->setOutletName(std::string("headerThumbnail"));
    header->thumbnailWidth_ = DetailHeaderGeometry::addPhotoSideConstraint(
        header->headerThumbnail_, uikit::NSLayoutAttribute::Width, "headerThumbnailWidth");
    header->thumbnailHeight_ = DetailHeaderGeometry::addPhotoSideConstraint(
        header->headerThumbnail_, uikit::NSLayoutAttribute::Height, "headerThumbnailHeight");
    header->addSubview(header->headerThumbnail_);

    header->headerTitle_ = std::make_shared<uikit::UILabel>();
    header->headerTitle_->setFont(uikit::UIFont::boldSystemFontOfSize(17));
    header->headerTitle_->setTextColor(graphics::Color::white());
    header->headerTitle_->setNumberOfLines(0);
    header->headerTitle_->setOutletName(std::string("headerTitle"));
    header->addSubview(header->headerTitle_);

    header->headerSubtitle_ = std::make_shared<uikit::UILabel>();
    header->headerSubtitle_->setFont(uikit::UIFont::systemFontOfSize(13));
    header->headerSubtitle_->setTextColor(graphics::Color::white());
    header->headerSubtitle_->setOutletName(std::string("headerSubtitle"));
    header->addSubview(header->headerSubtitle_);
    header->layoutSubviews();
    return {header};
}

std::string QVAPartnerHeaderView::getNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, loadNib);
    return kNibName;
}

// The texts sit at the bottom beside the thumbnail; the title grows upwards.
void QVAPartnerHeaderView::layoutSubviews() {
    const graphics::Size size = bounds().size;
    if (auto background = headerBackgroundImage()) background->setFrame(graphics::Rect(0, 0, size.width, size.height));
    const double side = thumbnailWidth_ ? thumbnailWidth_->constant() : DetailHeaderGeometry::kLargestPhotoSide;
    const double sideHigh = thumbnailHeight_ ? thumbnailHeight_->constant() : side;
    const double bottom = size.height - kPartnerHeaderBottomMargin;
    if (headerThumbnail_)
        headerThumbnail_->setFrame(graphics::Rect(kPartnerHeaderSideMargin, bottom - sideHigh, side, sideHigh));
    const double textLeft = kPartnerHeaderSideMargin + DetailHeaderGeometry::kLargestPhotoSide + kPartnerThumbnailGap;
    const double textWidth = std::max(0.0, size.width - textLeft - kPartnerHeaderSideMargin);
    const double subtitleTop = bottom - kPartnerSubtitleHeight;
    if (headerSubtitle_) headerSubtitle_->setFrame(graphics::Rect(textLeft, subtitleTop, textWidth, kPartnerSubtitleHeight));
    if (headerTitle_) {
        const double titleHeight = headerTitle_->sizeThatFits(graphics::Size(textWidth, 10000)).height;
        headerTitle_->setFrame(graphics::Rect(textLeft, subtitleTop - titleHeight, textWidth, titleHeight));
    }
}

void QVAPartnerHeaderView::configureWithBackgroundImageUrl(const Text& backgroundUrl, const Text& thumbnailUrl,
                                                           const Text& title, const Text& subtitle) {
    headerTitle_->setText(title);
    headerSubtitle_->setText(subtitle);
    setNeedsLayout();
    layoutIfNeeded();
    DetailHeaderGeometry::stretchBackgroundForTitleTop(*this, headerTitle_->frame().origin.y, kHeaderHeight);

    if (!StringUtility::isNilOrEmpty(backgroundUrl)) {
        loadPictures(*backgroundUrl, thumbnailUrl);
        return;
    }
    auto placeholder = uikit::UIImage::imageNamed(kPlaceholderImageName);
    if (auto background = headerBackgroundImage()) background->setImage(DetailHeaderGeometry::blurredBackground(placeholder));
    headerThumbnail_->setImage(placeholder);
}

void QVAPartnerHeaderView::loadPictures(const std::string& backgroundUrl, const Text& thumbnailUrl) {
    auto placeholder = uikit::UIImage::imageNamed(kPlaceholderImageName);
    if (auto request = partnerImageRequest(thumbnailUrl))
        UIImageViewQNNetworking::setImageWithURLRequest(headerThumbnail_, *request, placeholder, nullptr, nullptr);
    else
        headerThumbnail_->setImage(placeholder);

    auto background = headerBackgroundImage();
    if (!background) return;
    std::weak_ptr<uikit::UIImageView> weakBackground = background;
    auto blurShown = [weakBackground] {
        if (auto view = weakBackground.lock()) view->setImage(DetailHeaderGeometry::blurredBackground(view->image()));
    };
    auto request = partnerImageRequest(backgroundUrl);
    if (!request) {
        background->setImage(placeholder);
        blurShown();
        return;
    }
    UIImageViewQNNetworking::setImageWithURLRequest(
        background, *request, placeholder,
        [weakBackground](const std::optional<foundation::URLRequest>&, const std::shared_ptr<foundation::HTTPURLResponse>&,
                         const uikit::UIImagePtr& image) {
            if (auto view = weakBackground.lock()) view->setImage(DetailHeaderGeometry::blurredBackground(image));
        },
        [blurShown](const foundation::URLRequest&, const std::shared_ptr<foundation::HTTPURLResponse>&,
                    const foundation::ErrorPtr&) { blurShown(); });
}

int QVAPartnerHeaderView::getHeaderBackgroundImageHeight() {
    return DetailHeaderGeometry::backgroundImageHeight(frame().size.height);
}

std::string QVAPartnerHeaderView::getNavigationBarTitle() { return headerTitle_->text().value_or(""); }

void QVAPartnerHeaderView::didScrollWithOffset(double offset) {
    const double side = DetailHeaderGeometry::photoSideForOffset(offset);
    thumbnailWidth_->setConstant(side);
    thumbnailHeight_->setConstant(side);
    setNeedsLayout();
    layoutIfNeeded();
}

void QVAPartnerHeaderView::drawRect(const graphics::Rect& rect) {
    QVADetailHeaderView::drawRect(rect);
    if (auto background = headerBackgroundImage()) DetailHeaderGeometry::coverWithOverlay(*background, overlay_, rect);
    DetailHeaderGeometry::framePhoto(*headerThumbnail_);
}

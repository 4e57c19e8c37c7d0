// The layout rules the people headers (partner and participant) share: a
// picture header 180 high whose title may grow upwards under the navigation
// bar, a framed photo that shrinks from 80 to 40 points as the table scrolls,
// and a dark veil over the blurred background so white text stays readable.
// Their nibs build the same dark, clipped header around the background
// picture and the same photo constraints. Main thread only.
#pragma once

#include <memory>
#include <optional>

#include "graphics/Geometry.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIImage.h"

namespace uikit {
class UIImageView;
class UIView;
}  // namespace uikit

class QVADetailHeaderView;

namespace DetailHeaderGeometry {

// Where the navigation bar ends: a title above it would be hidden.
inline constexpr double kNavigationBarBottom = 44;
inline constexpr double kLargestPhotoSide = 80;
inline constexpr double kSmallestPhotoSide = 40;
// The strip under the background picture the header keeps for its texts.
inline constexpr int kBackgroundBottomStrip = 40;
inline constexpr double kOverlayAlpha = 0.75;
inline constexpr double kPhotoCornerRadius = 8;
inline constexpr double kPhotoBorderWidth = 3;

// The background height that brings a title whose top lies at `titleTop`
// below the bar, or none when it is below already.
std::optional<double> stretchedBackgroundHeight(double titleTop, double headerHeight);
// Applies stretchedBackgroundHeight to the header's background height
// constraint and its frame, lays it out again and, inside a table,
// installs it again as the table's header so the rows move down. Answers
// whether the header grew.
bool stretchBackgroundForTitleTop(QVADetailHeaderView& header, double titleTop, double headerHeight);
// The photo's side for the table's vertical offset: 80 − (offset + 40),
// within 40 and 80.
double photoSideForOffset(double offset);
// The background picture's height: the header's whole points less the strip.
int backgroundImageHeight(double headerHeight);
// The veil over the background picture, covering `rect`: made on the first
// call and only resized on later ones (each draw would otherwise add one
// more, darkening the picture to black). `kept` remembers it.
std::shared_ptr<uikit::UIView> coverWithOverlay(uikit::UIView& background, std::weak_ptr<uikit::UIView>& kept,
                                                const graphics::Rect& rect);
// The photo's white frame with rounded corners, fully opaque.
void framePhoto(uikit::UIImageView& photo);

// The nib's black, clipped header with the background picture view
// ("headerBackgroundImage") filling it, installed as its background.
std::shared_ptr<uikit::UIImageView> installBackgroundImageView(QVADetailHeaderView& header);
// The background's blur (radius 1, no tint, saturation 1, no mask); the
// picture itself when it cannot be blurred.
uikit::UIImagePtr blurredBackground(const uikit::UIImagePtr& image);
// A side of the photo, 80 points until the table scrolls, under `outlet`.
std::shared_ptr<uikit::NSLayoutConstraint> addPhotoSideConstraint(const std::shared_ptr<uikit::UIImageView>& photo,
                                                                  uikit::NSLayoutAttribute attribute, const char* outlet);

}  // namespace DetailHeaderGeometry

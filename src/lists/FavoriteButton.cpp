#include "lists/FavoriteButton.h"

#include "lists/FilterFetching.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/NSLayoutConstraint.h"

namespace {

bool relationshipsReadGranted() {
    auto stack = FilterFetching::currentStack();
    if (!stack) return false;
    auto context = stack->managedObjectContextMainQueue();
    return context && FetchRequestUtils::hasRelantionshipsReadPermissionGrantedInContext(context);
}

}  // namespace

FavoriteButton::FavoriteButton(const graphics::Rect& frame) : uikit::UIButton(frame) { setIsFavorite(false); }

void FavoriteButton::setIsFavorite(bool favorite) {
    isFavorite_ = favorite;
    setImage(uikit::UIImage::imageNamed(favorite ? kActiveImageName : kNormalImageName), uikit::UIControlStateNormal);
}

void FavoriteButton::awakeFromNib() {
    if (!relationshipsReadGranted()) {
        if (widthConstraint_) widthConstraint_->setConstant(0);
        if (heightConstraint_) heightConstraint_->setConstant(0);
        // Constraints are not solved here: the frame takes the size they give.
        setFrame({frame().origin, {0, 0}});
        setHidden(true);
    } else {
        setHidden(false);
    }
    uikit::UIButton::awakeFromNib();
}

#include "lists/QVADetailHeaderView.h"

#include "Utils/Utils.h"
#include "foundation/Exception.h"
#include "graphics/MutablePath.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"

using uikit::NSLayoutAttribute;
using uikit::NSLayoutConstraint;
using uikit::NSLayoutRelation;

int QVADetailHeaderView::getHeaderHeight() { foundation::raise(kMissingSubclassMemberException, ""); }

std::string QVADetailHeaderView::getNibName() { foundation::raise(kMissingSubclassMemberException, ""); }

int QVADetailHeaderView::getHeaderBackgroundImageHeight() { foundation::raise(kMissingSubclassMemberException, ""); }

std::string QVADetailHeaderView::getNavigationBarTitle() { foundation::raise(kMissingSubclassMemberException, ""); }

QVADetailHeaderViewPtr QVADetailHeaderView::loadHeader(const std::string& nibName, double width, int headerHeight) {
    const auto objects = uikit::UINib::loadNibNamed(nibName, nullptr);
    auto header = objects.empty() ? nullptr : std::dynamic_pointer_cast<QVADetailHeaderView>(objects.front());
    if (!header) foundation::raise("Header nib without header", "The first object of nib " + nibName + " is no header view");
    header->setFrame(graphics::Rect(0, 0, width, headerHeight));
    header->setTranslatesAutoresizingMaskIntoConstraints(false);
    return header;
}

QVADetailHeaderViewPtr QVADetailHeaderView::addHeaderToTableView(const std::shared_ptr<uikit::UITableView>& tableView,
                                                                 const std::string& nibName, int headerHeight) {
    auto header = loadHeader(nibName, tableView->frame().size.width, headerHeight);
    tableView->setTableHeaderView(header);
    addConstraintsToHeaderView(header, headerHeight);
    return header;
}

QVADetailHeaderViewPtr QVADetailHeaderView::addHeaderViewToContainer(const std::shared_ptr<uikit::UIView>& container,
                                                                     const std::string& nibName, int headerHeight) {
    auto header = loadHeader(nibName, container->frame().size.width, headerHeight);
    container->addSubview(header);
    addConstraintsToHeaderView(header, headerHeight);
    return header;
}

void QVADetailHeaderView::addConstraintsToHeaderView(const QVADetailHeaderViewPtr& header, int headerHeight) {
    auto superview = header->superview();
    if (superview) {
        for (auto attribute : {NSLayoutAttribute::Top, NSLayoutAttribute::Leading, NSLayoutAttribute::Width}) {
            superview->addConstraint(NSLayoutConstraint::constraintWithItem(superview, attribute, NSLayoutRelation::Equal,
                                                                            header, attribute, 1, 0));
        }
    }
    auto height = NSLayoutConstraint::constraintWithItem(header, NSLayoutAttribute::Height, NSLayoutRelation::Equal,
                                                         nullptr, NSLayoutAttribute::NotAnAttribute, 1, headerHeight);
    header->addConstraint(height);
    header->setHeaderBackgroundImageHeightConstraint(height);
    if (superview) superview->updateConstraintsIfNeeded();
}

std::shared_ptr<uikit::UIImage> QVADetailHeaderView::getNavigationBarBackgroundImage() {
    auto background = headerBackgroundImage();
    if (!background) return nullptr;
    const auto picture = Utils::getScreenShotForView(*background);
    const graphics::Size size = background->frame().size;
    return getSubImageFrom(picture, graphics::Rect(0, size.height - kNavigationBarStripHeight, size.width,
                                                   kNavigationBarStripHeight));
}

std::shared_ptr<uikit::UIImage> QVADetailHeaderView::getSubImageFrom(const std::shared_ptr<uikit::UIImage>& image,
                                                                     const graphics::Rect& rect) {
    uikit::UIGraphicsBeginImageContextWithOptions(rect.size, false, 1);
    if (auto* context = uikit::UIGraphicsGetCurrentContext()) {
        graphics::MutablePath clip;
        clip.addRect(graphics::Rect(0, 0, rect.size.width, rect.size.height));
        context->clipToPath(clip);
        if (image) image->drawInRect(graphics::Rect(-rect.origin.x, -rect.origin.y, image->size().width, image->size().height));
    }
    auto piece = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return piece;
}

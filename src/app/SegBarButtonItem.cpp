#include "app/SegBarButtonItem.h"

#include "app/SegBarButtonItemProtocol.h"

std::shared_ptr<SegBarButtonItem> SegBarButtonItem::initWithImage(uikit::UIImagePtr image,
                                                                  std::string segueToExecute) {
    auto item = std::make_shared<SegBarButtonItem>();
    item->setImage(std::move(image));
    item->setStyle(uikit::UIBarButtonItemStyle::Bordered);
    item->segueIdentifier_ = std::move(segueToExecute);
    return item;
}

std::shared_ptr<SegBarButtonItem> SegBarButtonItem::initWithBarButtonSystemItem(
    uikit::UIBarButtonSystemItem systemItem, std::string segueToExecute) {
    auto item = std::make_shared<SegBarButtonItem>();
    item->adoptSystemItem(systemItem);
    item->segueIdentifier_ = std::move(segueToExecute);
    return item;
}

std::shared_ptr<SegBarButtonItem> SegBarButtonItem::initWithImage(
    uikit::UIImagePtr image, const std::shared_ptr<SegBarButtonItemProtocol>& delegate, std::string segueToExecute) {
    auto item = initWithImage(std::move(image), std::move(segueToExecute));
    item->buttonDelegate_ = delegate;
    item->setAction([](uikit::UIBarButtonItem& sender) {
        if (auto* pressed = dynamic_cast<SegBarButtonItem*>(&sender)) pressed->onSegBarButtonItemPressed();
    });
    return item;
}

void SegBarButtonItem::onSegBarButtonItemPressed() {
    if (auto delegate = buttonDelegate()) delegate->onBarButtonItemPressed(*this);
}

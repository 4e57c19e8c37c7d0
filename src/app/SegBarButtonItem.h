// A bar button that carries the identifier of the segue it stands for. The
// delegate form forwards each press to its SegBarButtonItemProtocol; the
// other two have no action (a storyboard wires them to their segue).
#pragma once

#include <memory>
#include <string>

#include "uikit/UIBarButtonItem.h"

class SegBarButtonItemProtocol;

class SegBarButtonItem : public uikit::UIBarButtonItem {
public:
    // A bordered image button without action.
    static std::shared_ptr<SegBarButtonItem> initWithImage(uikit::UIImagePtr image, std::string segueToExecute);
    // A system button without action.
    static std::shared_ptr<SegBarButtonItem> initWithBarButtonSystemItem(uikit::UIBarButtonSystemItem systemItem,
                                                                         std::string segueToExecute);
    // A bordered image button whose presses reach the delegate. The item
    // does not keep its delegate alive: the delegate is the screen that
    // shows the item, which holds it through its navigation item.
    static std::shared_ptr<SegBarButtonItem> initWithImage(uikit::UIImagePtr image,
                                                           const std::shared_ptr<SegBarButtonItemProtocol>& delegate,
                                                           std::string segueToExecute);

    const std::string& segueIdentifier() const { return segueIdentifier_; }
    std::shared_ptr<SegBarButtonItemProtocol> buttonDelegate() const { return buttonDelegate_.lock(); }
    void setButtonDelegate(const std::shared_ptr<SegBarButtonItemProtocol>& delegate) { buttonDelegate_ = delegate; }

    // The press: tells the delegate.
    void onSegBarButtonItemPressed();

    std::string className() const override { return "SegBarButtonItem"; }

private:
    std::string segueIdentifier_;
    std::weak_ptr<SegBarButtonItemProtocol> buttonDelegate_;
};

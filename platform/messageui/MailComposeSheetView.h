// The composer's look: a plain white sheet with a bar holding Cancel, the
// subject as title and Send, then the To and Subject lines and the body, so a
// screenshot shows what the person is about to send. It draws from the
// composer it belongs to at the moment it is drawn and prints nothing of its
// own in the screen dump (the composer's fields are printed there already).
#pragma once

#include <memory>

#include "uikit/UIView.h"

namespace messageui {

class MFMailComposeViewController;

class MailComposeSheetView : public uikit::UIView {
public:
    MailComposeSheetView(const graphics::Rect& frame, std::weak_ptr<const MFMailComposeViewController> composer);

    void drawRect(const graphics::Rect& rect) override;
    std::string className() const override { return "MailComposeSheetView"; }

private:
    std::weak_ptr<const MFMailComposeViewController> composer_;
};

}  // namespace messageui

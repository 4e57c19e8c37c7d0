// A session's feedback form in a web view, in a scroll view of its own.
// initDataContentNew loads the session's feedback address; when the view goes
// away it detaches the web view's delegate and stops the load, so nothing
// arrives for it afterwards. The feedback page keeps one without showing it.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UIScrollView.h"
#include "uikit/UITextView.h"

class QVASession;

namespace uikit {
class UIWebView;
}

class ProgrammeFeedbackView : public uikit::UIScrollView, public uikit::UITextViewDelegate {
public:
    // The view with its web view inside.
    static std::shared_ptr<ProgrammeFeedbackView> makeView(const graphics::Rect& frame = {});
    explicit ProgrammeFeedbackView(const graphics::Rect& frame = {});
    ~ProgrammeFeedbackView() override;

    const std::shared_ptr<uikit::UIWebView>& feedbackWebView() const { return feedbackWebView_; }
    // A session without an address, or one that does not parse, loads nothing.
    void initDataContentNew(const std::shared_ptr<QVASession>& session);

    std::string className() const override { return "ProgrammeFeedbackView"; }

private:
    std::shared_ptr<uikit::UIWebView> feedbackWebView_;
};

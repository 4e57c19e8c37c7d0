#include "programme/ProgrammeFeedbackView.h"

#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "model/QVASession.h"
#include "uikit/UIWebView.h"

ProgrammeFeedbackView::ProgrammeFeedbackView(const graphics::Rect& frame)
    : uikit::UIScrollView(frame),
      feedbackWebView_(std::make_shared<uikit::UIWebView>(graphics::Rect{{0, 0}, frame.size})) {
    feedbackWebView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth |
                                          uikit::UIViewAutoresizingFlexibleHeight);
}

std::shared_ptr<ProgrammeFeedbackView> ProgrammeFeedbackView::makeView(const graphics::Rect& frame) {
    auto view = std::make_shared<ProgrammeFeedbackView>(frame);
    view->addSubview(view->feedbackWebView_);
    return view;
}

ProgrammeFeedbackView::~ProgrammeFeedbackView() {
    feedbackWebView_->setDelegate(nullptr);
    feedbackWebView_->stopLoading();
}

void ProgrammeFeedbackView::initDataContentNew(const std::shared_ptr<QVASession>& session) {
    const auto& address = session ? session->feedbackUrl() : std::nullopt;
    const auto url = address ? foundation::URL::URLWithString(*address) : std::nullopt;
    if (url) feedbackWebView_->loadRequest(foundation::URLRequest(*url));
}

#include "programme/FeedbackSliderView.h"

#include <cmath>

#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UISlider.h"

namespace {

constexpr double kFeedbackSliderDefaultWidth = 320;
constexpr double kFeedbackSliderDefaultHeight = 120;
constexpr double kFeedbackSliderMargin = 10;
constexpr double kFeedbackSliderLabelHeight = 21;
constexpr uikit::UIEdgeInsets kFeedbackTrackCaps{11, 20, 11, 20};

}  // namespace

std::shared_ptr<FeedbackSliderView> FeedbackSliderView::makeView(const graphics::Rect& frame) {
    const graphics::Rect bounds = frame.size.width > 0 && frame.size.height > 0
                                      ? frame
                                      : graphics::Rect{frame.origin.x, frame.origin.y, kFeedbackSliderDefaultWidth,
                                                       kFeedbackSliderDefaultHeight};
    auto view = std::make_shared<FeedbackSliderView>(bounds);
    const double width = bounds.size.width - 2 * kFeedbackSliderMargin;
    double y = kFeedbackSliderMargin;
    view->questionTitle_ = std::make_shared<uikit::UILabel>(
        graphics::Rect{kFeedbackSliderMargin, y, width, kFeedbackSliderLabelHeight});
    y += kFeedbackSliderLabelHeight + kFeedbackSliderMargin;
    // The marks lie behind the slider, over its full width.
    view->containerSnapViews_ =
        std::make_shared<uikit::UIView>(graphics::Rect{kFeedbackSliderMargin, y, width, uikit::UISlider::kHeight});
    view->slider_ =
        std::make_shared<uikit::UISlider>(graphics::Rect{kFeedbackSliderMargin, y, width, uikit::UISlider::kHeight});
    y += uikit::UISlider::kHeight + kFeedbackSliderMargin;
    view->valueChosenLabel_ = std::make_shared<uikit::UILabel>(
        graphics::Rect{kFeedbackSliderMargin, y, width, kFeedbackSliderLabelHeight});
    for (const auto& subview : std::initializer_list<std::shared_ptr<uikit::UIView>>{
             view->questionTitle_, view->containerSnapViews_, view->slider_, view->valueChosenLabel_}) {
        subview->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
        view->addSubview(subview);
    }
    const std::weak_ptr<FeedbackSliderView> weak = view;
    view->slider_->addTarget(
        [weak](uikit::UIControl&) {
            if (auto self = weak.lock()) self->sliderDragged();
        },
        uikit::UIControlEventValueChanged);
    view->slider_->addTarget(
        [weak](uikit::UIControl&) {
            if (auto self = weak.lock()) self->sliderChangedValue();
        },
        uikit::UIControlEventTouchUpInside | uikit::UIControlEventTouchUpOutside);
    return view;
}

void FeedbackSliderView::initDataContent() {
    if (questionTitle_) questionTitle_->setText(selectedQuestion_ ? std::optional(selectedQuestion_->questionTitle())
                                                                  : std::nullopt);
    if (selectedQuestion_ && selectedQuestion_->hasAnswer()) {
        applyAnswer(*selectedQuestion_->selectedAnswerIndex(), true);
    } else {
        if (valueChosenLabel_) valueChosenLabel_->setText(std::string(kNoAnswerText));
        if (slider_) {
            slider_->setValue(0.5);
            auto image = uikit::UIImage::imageNamed(kTrackImageName);
            slider_->setMinimumTrackImage(image ? image->resizableImageWithCapInsets(kFeedbackTrackCaps) : nullptr,
                                          uikit::UIControlStateNormal);
        }
    }
    redrawSnapViews();
}

void FeedbackSliderView::redrawSnapViews() {
    if (!containerSnapViews_) return;
    const auto marks = containerSnapViews_->subviews();
    for (const auto& mark : marks) mark->removeFromSuperview();
    const int steps = nrOfQuestions_;
    if (steps < 0) return;
    const auto size = containerSnapViews_->bounds().size;
    const double spacing = steps > 0 ? (size.width - 2 * kSnapMarkInset) / steps : 0;
    for (int k = 0; k <= steps; ++k) {
        auto mark = std::make_shared<uikit::UIView>(
            graphics::Rect{kSnapMarkInset + k * spacing, 0, kSnapMarkWidth, size.height});
        mark->setBackgroundColor(graphics::Color::gray(0.8));
        mark->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleWidth |
                                  uikit::UIViewAutoresizingFlexibleRightMargin);
        containerSnapViews_->addSubview(mark);
    }
}

int64_t FeedbackSliderView::valueSelectedOnSlider() const {
    const double position = (slider_ ? slider_->value() : 0) * nrOfQuestions_;
    const auto whole = static_cast<int64_t>(std::trunc(position));
    const double fraction = position - static_cast<double>(whole);
    return fraction < 1 - fraction ? whole : whole + 1;
}

void FeedbackSliderView::sliderChangedValue() { applyAnswer(valueSelectedOnSlider(), true); }

void FeedbackSliderView::sliderDragged() { applyAnswer(valueSelectedOnSlider(), false); }

void FeedbackSliderView::applyAnswer(int64_t index, bool snap) {
    // A step count that does not match the answers could point past them.
    if (!selectedQuestion_ || index < 0 || index >= static_cast<int64_t>(selectedQuestion_->answersArray().size()))
        return;
    if (snap && slider_) slider_->setValue(nrOfQuestions_ > 0 ? static_cast<double>(index) / nrOfQuestions_ : 0);
    if (valueChosenLabel_) valueChosenLabel_->setText(selectedQuestion_->answersArray()[static_cast<size_t>(index)]);
    selectedQuestion_->setSelectedAnswerIndex(index);
    if (!slider_) return;
    const double value = slider_->value();
    slider_->setMinimumTrackTintColor(value < 0.5 ? graphics::Color::rgb(1, 2 * value, 0)
                                                  : graphics::Color::rgb(2 - 2 * value, 1, 0));
}

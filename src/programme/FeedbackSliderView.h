// A slider that answers a FeedbackQuestion: it shows the question's title and
// the chosen answer's text, snaps to the answer points when released (not
// while dragged), marks the points under the track, and tints its track from
// red through yellow to green. nrOfQuestions is the number of steps between
// the first and the last answer (4 for five answers). Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "programme/FeedbackQuestion.h"
#include "uikit/UIView.h"

namespace uikit {
class UILabel;
class UISlider;
}  // namespace uikit

class FeedbackSliderView : public uikit::UIView {
public:
    static constexpr const char* kNoAnswerText = "No answer";
    static constexpr const char* kTrackImageName = "bar-background.png";
    // The marks' inset from the container's sides, where the slider's ends lie.
    static constexpr double kSnapMarkInset = 12;
    static constexpr double kSnapMarkWidth = 2;

    // The subviews laid out in the frame (320 x 120 when empty); the slider's
    // actions are connected.
    static std::shared_ptr<FeedbackSliderView> makeView(const graphics::Rect& frame = {});

    using uikit::UIView::UIView;

    const std::shared_ptr<uikit::UILabel>& questionTitle() const { return questionTitle_; }
    const std::shared_ptr<uikit::UILabel>& valueChosenLabel() const { return valueChosenLabel_; }
    const std::shared_ptr<uikit::UISlider>& slider() const { return slider_; }
    const std::shared_ptr<uikit::UIView>& containerSnapViews() const { return containerSnapViews_; }
    const FeedbackQuestionPtr& selectedQuestion() const { return selectedQuestion_; }
    void setSelectedQuestion(FeedbackQuestionPtr question) { selectedQuestion_ = std::move(question); }
    int nrOfQuestions() const { return nrOfQuestions_; }
    void setNrOfQuestions(int count) { nrOfQuestions_ = count; }
    std::shared_ptr<uikit::UIView> viewWhereSwipeIsDisabled() const { return viewWhereSwipeIsDisabled_.lock(); }
    void setViewWhereSwipeIsDisabled(std::weak_ptr<uikit::UIView> view) { viewWhereSwipeIsDisabled_ = std::move(view); }
    std::shared_ptr<foundation::Object> theDelegate() const { return theDelegate_.lock(); }
    void setTheDelegate(std::weak_ptr<foundation::Object> delegate) { theDelegate_ = std::move(delegate); }

    // Shows the selected question: its answer, snapped, or "No answer" with
    // the slider in the middle; then redraws the snap marks.
    void initDataContent();
    // The answer nearest the slider's position; half-way goes up.
    int64_t valueSelectedOnSlider() const;
    // On release: the nearest answer, the slider moved onto it.
    void sliderChangedValue();
    // While dragging: the nearest answer, the slider left where it is.
    void sliderDragged();
    void redrawSnapViews();

    std::string className() const override { return "FeedbackSliderView"; }

private:
    void applyAnswer(int64_t index, bool snap);

    std::shared_ptr<uikit::UILabel> questionTitle_;
    std::shared_ptr<uikit::UILabel> valueChosenLabel_;
    std::shared_ptr<uikit::UISlider> slider_;
    std::shared_ptr<uikit::UIView> containerSnapViews_;
    FeedbackQuestionPtr selectedQuestion_;
    int nrOfQuestions_ = 0;
    std::weak_ptr<uikit::UIView> viewWhereSwipeIsDisabled_;
    std::weak_ptr<foundation::Object> theDelegate_;
};

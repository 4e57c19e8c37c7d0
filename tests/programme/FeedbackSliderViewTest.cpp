// The satisfaction slider and the feedback web view, made directly: no
// screen creates them.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/Value.h"
#include "model/QVASession.h"
#include "programme/FeedbackQuestion.h"
#include "programme/FeedbackSliderView.h"
#include "programme/ProgrammeFeedbackView.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UISlider.h"
#include "uikit/UIWebView.h"

namespace {

std::shared_ptr<FeedbackSliderView> feedbackSlider(std::optional<int64_t> selected) {
    auto view = FeedbackSliderView::makeView();
    view->setSelectedQuestion(FeedbackQuestion::initContentWithTitle("How was it?", selected));
    view->setNrOfQuestions(4);
    view->initDataContent();
    return view;
}

TEST(FeedbackSliderViewTest, ReleasingPicksTheNearestAnswerHalfWayGoingUp) {
    auto view = feedbackSlider(0);
    EXPECT_EQ(view->questionTitle()->text(), "How was it?");
    ASSERT_TRUE(view->slider()->releaseAtValue(0.6));
    EXPECT_EQ(view->valueChosenLabel()->text(), "Neutral");
    EXPECT_EQ(view->selectedQuestion()->selectedAnswerIndex(), 2);
    EXPECT_DOUBLE_EQ(view->slider()->value(), 0.5);

    ASSERT_TRUE(view->slider()->releaseAtValue(7.0 / 8));
    EXPECT_EQ(view->valueChosenLabel()->text(), "Very satisfied");
    EXPECT_DOUBLE_EQ(view->slider()->value(), 1);
}

TEST(FeedbackSliderViewTest, AStepPastTheAnswersChangesNothing) {
    auto view = FeedbackSliderView::makeView();
    view->setSelectedQuestion(FeedbackQuestion::initContentWithTitle("How was it?", 1));
    // More steps than the five answers: the last steps point past them.
    view->setNrOfQuestions(8);
    view->initDataContent();
    const auto shown = view->valueChosenLabel()->text();
    for (double value : {7.0 / 8, 1.0}) {
        ASSERT_TRUE(view->slider()->slideToValue(value));
        ASSERT_TRUE(view->slider()->releaseAtValue(value));
        EXPECT_EQ(view->selectedQuestion()->selectedAnswerIndex(), 1) << value;
        EXPECT_EQ(view->valueChosenLabel()->text(), shown) << value;
    }
    ASSERT_TRUE(view->slider()->releaseAtValue(0.5));
    EXPECT_EQ(view->selectedQuestion()->selectedAnswerIndex(), 4);
    EXPECT_EQ(view->valueChosenLabel()->text(), "Very satisfied");
}

TEST(FeedbackSliderViewTest, DraggingAnswersWithoutMovingTheSlider) {
    auto view = feedbackSlider(4);
    ASSERT_TRUE(view->slider()->slideToValue(0.6));
    EXPECT_DOUBLE_EQ(view->slider()->value(), 0.6);
    EXPECT_EQ(view->valueChosenLabel()->text(), "Neutral");
    ASSERT_TRUE(view->slider()->releaseAtValue(0.6));
    EXPECT_DOUBLE_EQ(view->slider()->value(), 0.5);
}

TEST(FeedbackSliderViewTest, NoAnswerShowsTheMiddleAndTheCappedTrackImage) {
    for (std::optional<int64_t> selected : {std::optional<int64_t>(-1), std::optional<int64_t>(5), std::optional<int64_t>()}) {
        auto view = feedbackSlider(selected);
        EXPECT_EQ(view->valueChosenLabel()->text(), "No answer");
        EXPECT_DOUBLE_EQ(view->slider()->value(), 0.5);
        auto image = view->slider()->minimumTrackImageForState(uikit::UIControlStateNormal);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->name(), "bar-background.png");
        EXPECT_EQ(image->capInsets(), (uikit::UIEdgeInsets{11, 20, 11, 20}));
    }
}

TEST(FeedbackSliderViewTest, TrackRunsFromRedThroughYellowToGreen) {
    const auto tintAt = [](int64_t answer) {
        auto view = feedbackSlider(answer);
        return view->slider()->minimumTrackTintColor();
    };
    EXPECT_EQ(tintAt(0), graphics::Color::rgb(1, 0, 0));
    EXPECT_EQ(tintAt(2), graphics::Color::rgb(1, 1, 0));
    EXPECT_EQ(tintAt(4), graphics::Color::rgb(0, 1, 0));
    EXPECT_EQ(tintAt(1), graphics::Color::rgb(1, 0.5, 0));
}

TEST(FeedbackSliderViewTest, SnapMarksSpreadOverTheContainerAndFollowItsWidth) {
    auto view = feedbackSlider(1);
    view->containerSnapViews()->setFrame({0, 0, 224, 31});
    view->redrawSnapViews();
    std::vector<double> xs;
    for (const auto& mark : view->containerSnapViews()->subviews()) {
        xs.push_back(mark->frame().origin.x);
        EXPECT_EQ(mark->frame().size.width, 2);
        EXPECT_EQ(mark->frame().size.height, 31);
        EXPECT_EQ(mark->autoresizingMask(), uikit::UIViewAutoresizingFlexibleLeftMargin |
                                                uikit::UIViewAutoresizingFlexibleWidth |
                                                uikit::UIViewAutoresizingFlexibleRightMargin);
    }
    EXPECT_EQ(xs, (std::vector<double>{12, 62, 112, 162, 212}));

    view->setNrOfQuestions(-1);
    view->redrawSnapViews();
    EXPECT_TRUE(view->containerSnapViews()->subviews().empty());
}

TEST(ProgrammeFeedbackViewTest, LoadsTheSessionsAddressAndStopsWhenReleased) {
    foundation::Clock::useVirtual(0);
    auto session = QVASession::initWithDictionary(
        foundation::Value::dictionary({{"itemId", foundation::Value("s1")},
                                       {"feedbackUrl", foundation::Value("http://127.0.0.1:1/form")}}));
    auto view = ProgrammeFeedbackView::makeView({0, 0, 320, 400});
    std::shared_ptr<uikit::UIWebView> web = view->feedbackWebView();
    ASSERT_EQ(web->superview().get(), view.get());
    auto delegate = std::make_shared<uikit::UIWebViewDelegate>();
    web->setDelegate(delegate);
    view->initDataContentNew(session);
    ASSERT_TRUE(web->request());
    EXPECT_EQ(web->request()->url()->absoluteString(), "http://127.0.0.1:1/form");
    EXPECT_TRUE(web->isLoading());

    view.reset();
    EXPECT_FALSE(web->isLoading());
    EXPECT_FALSE(web->delegate());
    foundation::RunLoop::main().runDueTasks();
    foundation::Clock::useReal();
}

}  // namespace

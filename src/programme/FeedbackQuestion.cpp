#include "programme/FeedbackQuestion.h"

std::shared_ptr<FeedbackQuestion> FeedbackQuestion::initContentWithTitle(std::string title,
                                                                         std::optional<int64_t> selectedIndex) {
    auto question = std::make_shared<FeedbackQuestion>();
    question->setSelectedAnswerIndex(selectedIndex);
    question->setQuestionTitle(std::move(title));
    question->setAnswersArray(
        {"Very dissatisfied", "Somewhat dissatisfied", "Neutral", "Somewhat satisfied", "Very satisfied"});
    return question;
}

bool FeedbackQuestion::hasAnswer() const {
    return selectedAnswerIndex_ && *selectedAnswerIndex_ >= 0 &&
           *selectedAnswerIndex_ < static_cast<int64_t>(answersArray_.size());
}

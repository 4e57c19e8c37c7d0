// A five-point satisfaction question: its title, the answers from "Very
// dissatisfied" to "Very satisfied", and the index of the chosen answer (an
// index outside the answers, or none, means no answer yet).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FeedbackQuestion {
public:
    static std::shared_ptr<FeedbackQuestion> initContentWithTitle(std::string title,
                                                                  std::optional<int64_t> selectedIndex);

    const std::string& questionTitle() const { return questionTitle_; }
    void setQuestionTitle(std::string title) { questionTitle_ = std::move(title); }
    const std::vector<std::string>& answersArray() const { return answersArray_; }
    void setAnswersArray(std::vector<std::string> answers) { answersArray_ = std::move(answers); }
    const std::optional<int64_t>& selectedAnswerIndex() const { return selectedAnswerIndex_; }
    void setSelectedAnswerIndex(std::optional<int64_t> index) { selectedAnswerIndex_ = index; }
    // Whether selectedAnswerIndex names one of the answers.
    bool hasAnswer() const;

private:
    std::string questionTitle_;
    std::vector<std::string> answersArray_;
    std::optional<int64_t> selectedAnswerIndex_;
};

using FeedbackQuestionPtr = std::shared_ptr<FeedbackQuestion>;

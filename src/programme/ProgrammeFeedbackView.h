// The feedback panel the feedback page keeps beside its web view, standing
// in until the session detail screen's own panel exists. The page holds it
// and never shows it.
#pragma once

#include <string>

#include "uikit/UIView.h"

class ProgrammeFeedbackView : public uikit::UIView {
public:
    using uikit::UIView::UIView;
    std::string className() const override { return "ProgrammeFeedbackView"; }
};

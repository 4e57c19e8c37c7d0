// The push segue: the destination goes onto the source's navigation stack,
// animated. A source outside a navigation controller is a programming error.
#pragma once

#include "uikit/UIStoryboardSegue.h"

namespace uikit {

class StoryboardPushSegue : public UIStoryboardSegue {
public:
    using UIStoryboardSegue::UIStoryboardSegue;
    void perform() override;
    std::string className() const override { return "StoryboardPushSegue"; }
};

}  // namespace uikit

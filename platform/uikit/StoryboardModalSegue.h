// The modal segue: the source presents the destination, animated, in the
// segue's presentation style when it names one (else the destination's own).
#pragma once

#include <optional>

#include "uikit/UIStoryboardSegue.h"

namespace uikit {

class StoryboardModalSegue : public UIStoryboardSegue {
public:
    StoryboardModalSegue(std::string identifier, UIViewControllerPtr source, UIViewControllerPtr destination,
                         std::optional<UIModalPresentationStyle> presentationStyle)
        : UIStoryboardSegue(std::move(identifier), std::move(source), std::move(destination)),
          presentationStyle_(presentationStyle) {}
    void perform() override;
    std::string className() const override { return "StoryboardModalSegue"; }

private:
    std::optional<UIModalPresentationStyle> presentationStyle_;
};

}  // namespace uikit

// A button that runs one block, given where the button is made, for the
// control events it is told. A later block replaces the earlier one whatever
// its events were, and the button keeps reacting to the events of every
// call, each event running the block once. The block is handed the sender,
// so it need not capture the button (which would keep it alive for ever).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIButton.h"

class UIBlockButton : public uikit::UIButton {
public:
    using ActionBlock = std::function<void(uikit::UIControl& sender)>;

    // The plain button's initialiser, nothing more.
    explicit UIBlockButton(const graphics::Rect& frame = {}) : uikit::UIButton(frame) {}

    void handleControlEvent(uikit::UIControlEvents events, ActionBlock block);
    // Runs the block with the sender when one is set.
    void callActionBlock(uikit::UIControl& sender);

    const ActionBlock& actionBlock() const { return actionBlock_; }

    std::string className() const override { return "UIBlockButton"; }

private:
    ActionBlock actionBlock_;
    // The one target registration of the button on itself, and its events.
    std::optional<uikit::UIControl::ActionId> target_;
    uikit::UIControlEvents targetEvents_ = 0;
};

using UIBlockButtonPtr = std::shared_ptr<UIBlockButton>;

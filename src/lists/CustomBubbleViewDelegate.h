// Told when a person touches a hint bubble's overlay anywhere.
#pragma once

class CustomBubbleViewDelegate {
public:
    virtual ~CustomBubbleViewDelegate() = default;
    virtual void bubbleTapped() = 0;
};

// What a screen implements to hear the presses of its SegBarButtonItems; it
// reads the item's segueIdentifier to decide what to open.
#pragma once

class SegBarButtonItem;

class SegBarButtonItemProtocol {
public:
    virtual ~SegBarButtonItemProtocol() = default;
    virtual void onBarButtonItemPressed(SegBarButtonItem& item) = 0;
};

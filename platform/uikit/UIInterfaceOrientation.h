// The orientation of the interface (the status bar's), as against the
// device's: the two landscape values are swapped, since turning the device
// left turns the interface right. A mask holds one bit per orientation,
// 1 << value: portrait 2, upside down 4, landscape right 8, landscape left 16.
#pragma once

#include "uikit/UIDevice.h"

namespace uikit {

enum class UIInterfaceOrientation { Unknown = 0, Portrait = 1, PortraitUpsideDown = 2, LandscapeRight = 3, LandscapeLeft = 4 };

using UIInterfaceOrientationMask = unsigned;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortrait = 1 << 1;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskPortraitUpsideDown = 1 << 2;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeRight = 1 << 3;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscapeLeft = 1 << 4;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskLandscape = (1 << 3) | (1 << 4);
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAll = 30;
inline constexpr UIInterfaceOrientationMask UIInterfaceOrientationMaskAllButUpsideDown = 26;

inline UIInterfaceOrientationMask UIInterfaceOrientationMaskFor(UIInterfaceOrientation o) {
    return o == UIInterfaceOrientation::Unknown ? 0 : 1u << static_cast<unsigned>(o);
}
inline bool UIInterfaceOrientationIsPortrait(UIInterfaceOrientation o) {
    return o == UIInterfaceOrientation::Portrait || o == UIInterfaceOrientation::PortraitUpsideDown;
}
inline bool UIInterfaceOrientationIsLandscape(UIInterfaceOrientation o) {
    return o == UIInterfaceOrientation::LandscapeLeft || o == UIInterfaceOrientation::LandscapeRight;
}
// The interface orientation that keeps the status bar on top for a device orientation.
inline UIInterfaceOrientation UIInterfaceOrientationForDevice(UIDeviceOrientation o) {
    switch (o) {
        case UIDeviceOrientation::Portrait: return UIInterfaceOrientation::Portrait;
        case UIDeviceOrientation::PortraitUpsideDown: return UIInterfaceOrientation::PortraitUpsideDown;
        case UIDeviceOrientation::LandscapeLeft: return UIInterfaceOrientation::LandscapeRight;
        case UIDeviceOrientation::LandscapeRight: return UIInterfaceOrientation::LandscapeLeft;
        case UIDeviceOrientation::Unknown: break;
    }
    return UIInterfaceOrientation::Unknown;
}

}  // namespace uikit

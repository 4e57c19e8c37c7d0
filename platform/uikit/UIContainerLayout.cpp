// The measures that depend on the application's state.
#include "uikit/UIContainerLayout.h"

#include "uikit/UIApplication.h"

namespace uikit {

UIEdgeInsets UIContainerLayout::fullScreenInsets() {
    return {UIApplication::sharedApplication().statusBarFrame().height(), 0, 0, 0};
}

graphics::Rect UIContainerLayout::formSheetFrame(const graphics::Rect& windowBounds) {
    return {{windowBounds.origin.x + (windowBounds.size.width - kFormSheetWidth) / 2,
             windowBounds.origin.y + (windowBounds.size.height - kFormSheetHeight) / 2},
            {kFormSheetWidth, kFormSheetHeight}};
}

}  // namespace uikit

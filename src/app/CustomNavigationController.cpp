#include "app/CustomNavigationController.h"

#include "app/ShellOrientation.h"
#include "uikit/UIColor.h"

CustomNavigationController::CustomNavigationController() { applyWhiteTint(); }

CustomNavigationController::CustomNavigationController(FromInterfaceFile) {}

void CustomNavigationController::applyWhiteTint() {
    navigationBar()->setTintColor(uikit::UIColor::whiteColor());
}

void CustomNavigationController::awakeFromNib() {
    uikit::UINavigationController::awakeFromNib();
    applyWhiteTint();
}

uikit::UIInterfaceOrientationMask CustomNavigationController::supportedInterfaceOrientations() const {
    return ShellOrientation::supportedInterfaceOrientations();
}

bool CustomNavigationController::shouldAutorotate() const { return ShellOrientation::shouldAutorotate(); }

#include "app/ShellOrientation.h"

#include "Utils/Utils.h"

namespace ShellOrientation {

uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() {
    return Utils::isIPad() ? uikit::UIInterfaceOrientationMaskAllButUpsideDown : uikit::UIInterfaceOrientationMaskPortrait;
}

bool shouldAutorotate() { return Utils::isIPad(); }

}  // namespace ShellOrientation

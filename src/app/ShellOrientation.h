// The shell's rotation rules, shared by the base screen, the tab bar and the
// navigation controllers: the pad turns to every orientation but upside
// down, the phone stays in portrait.
#pragma once

#include "uikit/UIInterfaceOrientation.h"

namespace ShellOrientation {

// 26 (all but upside down) on the pad, 2 (portrait) on the phone.
uikit::UIInterfaceOrientationMask supportedInterfaceOrientations();
// The pad only.
bool shouldAutorotate();

}  // namespace ShellOrientation

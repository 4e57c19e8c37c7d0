// The visible screen as text: one element per line, indented by nesting, in
// the order a person reads the screen (the window's root and its containers,
// the front screen's contents, then what floats over it: popovers, the
// keyboard, alerts and action sheets). The text is stable — the same screen
// gives the same text on every run — so tests compare it and a person reads
// it in the app mode's output. Main thread only.
#pragma once

#include <string>

namespace uikit {

class UIWindow;

// Every line ends in "\n".
std::string describe(const UIWindow& window);

}  // namespace uikit

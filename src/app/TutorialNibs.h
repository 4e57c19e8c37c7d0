// The tutorial pager's four interface files in the nib registry: the
// controller's views for each idiom, and each idiom's page file with its two
// page layouts (first without picture, then with one). On the pad a
// translucent backdrop holds the title, the close button, a 600-point pager
// and the dots; on the phone a bar with the close button sits above a pager
// as wide as the screen less 20 points. Registration is idempotent; the
// pager registers them on first use. Main thread only.
#pragma once

class TutorialNibs {
public:
    static constexpr const char* kControllerPad = "TutorialViewController";
    static constexpr const char* kControllerPhone = "TutorialViewController_iPhone";
    static constexpr const char* kPagePad = "TutorialPage";
    static constexpr const char* kPagePhone = "TutorialPage_iPhone";

    static void registerNibs();
};

// The process-wide state a screen test sets and gives back: the virtual clock
// from the test's instant, the application reset and the device profile
// applied on entering; on leaving (after the fixture has let go of its
// windows) the application reset again, the main loop's due tasks run and the
// real clock back. Each screen fixture holds one, so a test that leaves the
// clock virtual or a window up cannot reach the next.
#pragma once

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"

class ScreenEnvironment {
public:
    // 2015-03-10T08:30:00Z, a Tuesday morning, in seconds since 2001.
    static constexpr double kStartInstant = 447669000;

    void enter(const uikit::DeviceProfile& profile, double startInstant = kStartInstant) {
        foundation::Clock::useVirtual(startInstant);
        uikit::UIApplication::sharedApplication().resetForTests();
        uikit::DeviceProfile::apply(profile);
    }

    void leave() {
        uikit::UIApplication::sharedApplication().resetForTests();
        foundation::RunLoop::main().runDueTasks();
        foundation::Clock::useReal();
    }
};

// The start tutorial's interface file "QVAStartTutorialViewController": a
// root as large as the screen holding, from the back, the phone frame, the
// screenshot pager on the frame's screen, and the full-screen text pager.
// The phone sits centred below the pages' texts, half the screen high; on a
// rotation the pagers follow the root's size and the phone stays centred.
// Registration is idempotent. Main thread only.
#pragma once

class StartTutorialNib {
public:
    static constexpr const char* kPhoneFrameImageName = "start_tutorial_phone_frame";

    static void registerNib();
};

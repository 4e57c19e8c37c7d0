// Told by the calendar chooser which calendar the person picked; the
// receiver reads the chooser's selectedCalendar and starts mirroring into it.
#pragma once

class ChooseCalendarViewController;

class ChooseCalendarControllerDelegate {
public:
    virtual ~ChooseCalendarControllerDelegate() = default;
    virtual void onSelectCalendarToSync(ChooseCalendarViewController& chooser) = 0;
};

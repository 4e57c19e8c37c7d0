// The maps' side of a change of meeting: the old meeting's maps leave
// memory, their files stay for a later return to that meeting.
#include "maps/InteractiveMapsServices.h"

#include "settings/ApplicationSettingsStore.h"

void InteractiveMapsServices::clearInMemoryResourcesOnMeetingChange() {
    // Lowered now rather than after the queued clear: the new meeting's
    // screens must not take the old plans for loaded while a parse run
    // still holds the queue.
    ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentEventHasIMapsLoadedInMemory(false);
    clearInMemoryResources();
}

// Clearing the whole application: what logout, the switch back to the base
// user, the forced logout after a major update, the loading screen's "log in
// again" paths and the clear-cache failure all do. Main thread only.
#pragma once

class AppDataClearing {
public:
    // In order: the current account's token and meeting id read; when the
    // agenda is mirrored into the device calendar, the mirror removed with
    // them (before the settings naming them are gone, or the entries would
    // stay with nothing left to remove them); the maps' memory and files
    // cleared; the store and the settings cleared; the service client's
    // bearer token dropped, so the next login's first calls carry no old one.
    static void clearAppDataAndSettings();
};

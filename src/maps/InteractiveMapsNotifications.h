// The two names the maps service posts on the default notification centre
// when a map run of the current meeting ends: exactly one of them per run.
#pragma once

namespace InteractiveMapsNotifications {

// Every floor of the run loaded; the maps are in memory.
inline constexpr const char* kInteractiveMapsLoadedNotification =
    "interactive maps are downloaded and loaded in memory";
// The download failed, a floor file did not load, or there was no current
// account or meeting to load for.
inline constexpr const char* kInteractiveMapsFailedNotification =
    "either maps download fails, or parse fails, or another error";

}  // namespace InteractiveMapsNotifications

// The process-wide network switch: with "offline" on, every URL-session task
// that starts fails at once with "not connected to the Internet" (-1009),
// as on a device with no connection. Tests and the command-line front turn
// it on; nothing in the app does. Transfers already running are not touched.
#pragma once

namespace foundation {

class NetworkConditions {
public:
    static bool isOffline();
    static void setOffline(bool offline);
};

}  // namespace foundation

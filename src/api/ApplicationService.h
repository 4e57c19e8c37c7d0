// The one place that makes the application's shared services and hands them
// out: the delta update service, the device-calendar mirror and the
// application's version text. They
// are made together, once, the first time any of them is asked for, each
// holding the shared settings store, and live for the whole process.
#pragma once

#include <memory>
#include <string>

class DeltaUpdateService;
class SyncCalendarService;

class ApplicationService {
public:
    ApplicationService() = delete;

    static std::shared_ptr<DeltaUpdateService> deltaUpdateService();
    static std::shared_ptr<SyncCalendarService> syncCalendarService();
    // The bundle's short version string.
    static std::string applicationVersion();

private:
    // The shared services; defined where they are made.
    struct Shared;
    static const Shared& shared();
};

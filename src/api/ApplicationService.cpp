// The shared services, made once on first use.
#include "api/ApplicationService.h"

#include <mutex>

#include "settings/ApplicationSettingsStore.h"
#include "api/DeltaUpdateService.h"
#include "api/SyncCalendarService.h"
#include "foundation/Bundle.h"

struct ApplicationService::Shared {
    std::shared_ptr<DeltaUpdateService> deltaUpdateService;
    std::shared_ptr<SyncCalendarService> syncCalendarService;
    std::string applicationVersion;
};

const ApplicationService::Shared& ApplicationService::shared() {
    static std::once_flag once;
    static Shared* made = nullptr;
    std::call_once(once, [] {
        auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
        // Kept for the life of the process, never destroyed, so nothing that
        // runs late at exit finds them gone.
        made = new Shared{
            .deltaUpdateService = DeltaUpdateService::initService(settings),
            .syncCalendarService = SyncCalendarService::initService(settings),
            .applicationVersion = foundation::Bundle::mainBundle().shortVersionString(),
        };
    });
    return *made;
}

std::shared_ptr<DeltaUpdateService> ApplicationService::deltaUpdateService() { return shared().deltaUpdateService; }

std::shared_ptr<SyncCalendarService> ApplicationService::syncCalendarService() { return shared().syncCalendarService; }

std::string ApplicationService::applicationVersion() { return shared().applicationVersion; }

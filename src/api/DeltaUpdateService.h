// Decides when the delta update runs for the current account and meeting,
// and whether the user is first offered a newer meeting that the service now
// names as current. Automatic checks are throttled to one per 600 seconds
// (measured on the one clock) and honour the automatic-update setting; a
// forced check skips both. The throttle lives in the settings store's last
// delta-sync time, which only a fully successful delta sets, so a failed
// delta leaves the next check open.
//
// Main thread only: the answer of the current-meeting request arrives on the
// main queue, where the store read of the offer must run.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "api/DeltaDecision.h"
#include "foundation/Value.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

class ApplicationSettingsStore;

class DeltaUpdateService : public std::enable_shared_from_this<DeltaUpdateService> {
public:
    static constexpr double kDeltaThrottleSeconds = 600.0;
    static constexpr const char* kNewEventTitle = "New event available";
    static constexpr const char* kNewEventMessage =
        "The event %@ is now available.\n\n Note: You can switch to this event later from the Settings section.";
    static constexpr const char* kLoadButton = "Load";
    static constexpr const char* kCancelButton = "Cancel";

    // The service is owned through a shared pointer: the answers it waits
    // for and the offer's buttons keep it alive.
    static std::shared_ptr<DeltaUpdateService> initService(ApplicationSettingsStore& applicationSettingsStore);
    explicit DeltaUpdateService(ApplicationSettingsStore& applicationSettingsStore);

    ApplicationSettingsStore& applicationSettingsStore() const;
    void setApplicationSettingsStore(ApplicationSettingsStore& store);

    // Forgets the last delta-sync time, so the next check is not throttled.
    void resetDeltaLastSyncDate();
    // For the current account and meeting: nothing without an account, for
    // an automatic check with automatic updates off, or within 600 seconds
    // of the last delta unless forced; otherwise the delta, after the
    // new-meeting check when asked for. Returns what it decided.
    DeltaDecision checkForDeltaUpdates(bool force, bool isAutoUpdate, bool checkForNewEvent);
    // The same decision for a given account and meeting, the one being
    // loaded, which is not yet current. The new-meeting check, when asked
    // for, weighs the answer against the account and meeting current when
    // it arrives.
    DeltaDecision checkForDeltaUpdates(const std::shared_ptr<QVAUserAccount>& account,
                                       const std::shared_ptr<QVAEvent>& event, bool force, bool isAutoUpdate,
                                       bool checkForNewEvent);
    // The delta of the current meeting; a failure is only logged.
    void loadDeltaUpdates();

private:
    DeltaDecision decide(bool hasAccount, bool force, bool isAutoUpdate) const;
    // The delta of that meeting, its reports from its own feed.
    void loadDeltaUpdates(const std::shared_ptr<QVAEvent>& event, const std::optional<std::string>& authCode);
    // The answer of the current-meeting request, against the current
    // account and meeting (either may be gone by then).
    void checkNewEvent(const foundation::Value& answer, const std::shared_ptr<QVAUserAccount>& account,
                       const std::shared_ptr<QVAEvent>& event);
    void offerNewEvent(const std::shared_ptr<QVAEvent>& newEvent);

    mutable std::mutex mutex_;
    ApplicationSettingsStore* applicationSettingsStore_;
};

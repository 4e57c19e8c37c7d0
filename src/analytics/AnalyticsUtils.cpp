// The analytics facade's state and its serial queue (see AnalyticsUtils.h).
// The super-properties and the current client sit behind one mutex; the queue
// of events belongs to the client's serial queue and is touched only there.
#include "analytics/AnalyticsUtils.h"

#include <mutex>
#include <optional>

#include "analytics/AnalyticsConstants.h"
#include "analytics/AnalyticsEventArchive.h"
#include "crashreporting/CrashReporter.h"
#include "dispatch/Queue.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Clock.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"

using foundation::Log;
using foundation::Value;

namespace {

struct Client {
    dispatch::QueuePtr queue;
    std::string archivePath;
    std::vector<AnalyticsEvent> events;
};

struct State {
    std::mutex mutex;
    std::shared_ptr<Client> client;
    std::map<std::string, std::string> superProperties;
    std::shared_ptr<AnalyticsSuperPropertiesProvider> provider;
};

State& state() {
    static State* s = new State();  // outlives every queue task that may still run at exit
    return *s;
}

std::string currentArchivePath() {
    return foundation::ApplicationHome::libraryDirectory() + "/" + AnalyticsConstants::kDirectoryName + "/" +
           AnalyticsConstants::kArchiveFileName;
}

void load(Client& client) {
    auto contents = AnalyticsEventArchive::read(client.archivePath);
    client.events = std::move(contents.events);
    if (contents.validLength == contents.fileLength) return;
    // Later appends must start on a record boundary, or they would be lost behind the damage.
    Log("%@Dropped %d unreadable bytes at the end of %@", AnalyticsConstants::kLogPrefix,
        contents.fileLength - contents.validLength, client.archivePath);
    AnalyticsEventArchive::write(client.events, client.archivePath);
}

std::shared_ptr<Client> makeClient() {
    auto client = std::make_shared<Client>();
    client->queue = dispatch::Queue::createSerial("com.quovana.analytics");
    client->archivePath = currentArchivePath();
    std::string directory = client->archivePath.substr(0, client->archivePath.rfind('/'));
    foundation::ErrorPtr error;
    if (!foundation::FileManager::defaultManager().createDirectoryAtPath(directory, true, &error))
        Log("%@Cannot create %@: %@", AnalyticsConstants::kLogPrefix, directory,
            error ? error->localizedDescription() : std::string());
    client->queue->async([client] { load(*client); });
    return client;
}

std::shared_ptr<Client> clientLocked(State& s) {
    if (!s.client) s.client = makeClient();
    return s.client;
}

void track(const std::string& name, const std::optional<foundation::ValueDictionary>& data,
           const std::source_location& where) {
    AnalyticsEvent event{name, {}, {}, foundation::Date(foundation::Clock::now())};
    Value described;
    if (data) {
        foundation::ValueDictionary kept;
        for (const auto& [key, value] : *data) {
            if (value.isAbsent()) continue;
            kept[key] = value;
            event.properties[key] = value.stringValue();
        }
        described = Value(std::move(kept));
    }
    CrashReporter::log(foundation::Format(AnalyticsConstants::kTrackedEventCrashLogFormat, where.function_name(),
                                          int(where.line()), name, described));

    State& s = state();
    // Posting under the lock keeps the queue's order the order of the calls,
    // and lets a new launch drain the old client completely.
    std::lock_guard lock(s.mutex);
    event.superProperties = s.superProperties;
    auto client = clientLocked(s);
    client->queue->async([client, event = std::move(event)] {
        client->events.push_back(event);
        AnalyticsEventArchive::append(event, client->archivePath);
    });
}

}  // namespace

void AnalyticsUtils::initializeAnalytics() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    // The old client's tasks never take this lock, so waiting for them here is safe.
    if (s.client) s.client->queue->sync([] {});
    s.client = makeClient();
    s.superProperties.clear();
}

void AnalyticsUtils::setSuperPropertiesProvider(std::shared_ptr<AnalyticsSuperPropertiesProvider> provider) {
    std::lock_guard lock(state().mutex);
    state().provider = std::move(provider);
}

void AnalyticsUtils::registerSuperProperties() {
    std::shared_ptr<AnalyticsSuperPropertiesProvider> provider;
    {
        std::lock_guard lock(state().mutex);
        provider = state().provider;
    }
    if (!provider) {
        Log("%@No super-properties provider is registered; nothing to register", AnalyticsConstants::kLogPrefix);
        return;
    }
    // Asked outside the lock: the provider reads the settings store.
    std::map<std::string, std::string> found;
    if (auto v = provider->eventId()) found[AnalyticsConstants::kEventIdProperty] = *v;
    if (auto v = provider->eventName()) found[AnalyticsConstants::kEventNameProperty] = *v;
    if (auto v = provider->userId()) found[AnalyticsConstants::kUserIdProperty] = *v;
    {
        std::lock_guard lock(state().mutex);
        for (const auto& [key, value] : found) state().superProperties[key] = value;
    }
    for (const auto& [key, value] : found) CrashReporter::setCustomValue(value, key);
}

void AnalyticsUtils::clearSuperProperties() {
    std::lock_guard lock(state().mutex);
    state().superProperties.clear();
}

void AnalyticsUtils::trackEventWithName(const std::string& name, std::source_location where) {
    track(name, std::nullopt, where);
}

void AnalyticsUtils::trackEventWithNameAndData(const std::string& name, const foundation::ValueDictionary& data,
                                               std::source_location where) {
    track(name, data, where);
}

std::map<std::string, std::string> AnalyticsUtils::superProperties() {
    std::lock_guard lock(state().mutex);
    return state().superProperties;
}

std::vector<AnalyticsEvent> AnalyticsUtils::queuedEvents() {
    std::shared_ptr<Client> client;
    {
        std::lock_guard lock(state().mutex);
        client = clientLocked(state());
    }
    std::vector<AnalyticsEvent> events;
    client->queue->sync([&] { events = client->events; });
    return events;
}

std::string AnalyticsUtils::archivePath() {
    std::lock_guard lock(state().mutex);
    return state().client ? state().client->archivePath : currentArchivePath();
}

// A generated meeting served in-process on 127.0.0.1 and loaded into the
// app's store the way the app loads it, shared by the benchmark programs
// that need a meeting of a given size (sessions / participants). Each size
// is made once per process and kept; its store is downloaded on demand.
// The calling thread is the app's main thread.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "api/QVAApiManager.h"
#include "app/AppStoryboards.h"
#include "api/QVAApiManager_FullDownload.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "model/ModelClass.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "settings/ApplicationSettingsStore.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

namespace benchmeeting {

// What every benchmark program of the app sets up first and takes down
// last: this thread as the app's main thread, a fresh application home,
// the model and entity classes, and a silent log (the app logs every call
// and write; the console is not what is measured).
class BenchApp {
public:
    explicit BenchApp(const char* name) {
        (void)foundation::RunLoop::main();
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) return;
        home_ = pattern;
        foundation::ApplicationHome::setRoot(home_);
        registerModelClasses();
        registerEntityClasses();
        // The floors run under the allocator settings the store makes.
        coredata::PersistentStoreCoordinator::setUpAllocatorForBulkSaves();
        foundation::setLogSink([](const std::string&) {});
    }
    ~BenchApp() {
        if (!home_.empty()) std::filesystem::remove_all(home_);
    }
    BenchApp(const BenchApp&) = delete;
    BenchApp& operator=(const BenchApp&) = delete;
    bool ok() const { return !home_.empty(); }

private:
    std::string home_;
};

using foundation::Value;
using testservice::MeetingService;

inline constexpr double kTimeoutSeconds = 600;

// What the benchmarks wait for turns true in main-queue completions, so the
// wait sleeps until the main loop has work, as the app's own loop does.
inline bool pumpUntil(const std::function<bool()>& done) {
    return foundation::RunLoop::main().runUntilPosted(done, kTimeoutSeconds);
}

// One generated meeting served in-process, with the account and meeting the
// app loads it for. Made once per size and kept for the whole run.
struct Meeting {
    std::unique_ptr<MeetingService> service;
    std::shared_ptr<QVAUserAccount> account;
    std::shared_ptr<QVAEvent> event;
    int64_t rows = 0;
    bool loaded = false;

    std::optional<std::string> token() const { return account->authenticationCode(); }
    std::optional<std::string> eventId() const { return event->itemId(); }
};

inline Meeting& meetingOfSize(int sessions, int participants, int follows = 10) {
    static std::map<std::tuple<int, int, int>, std::unique_ptr<Meeting>> meetings;
    auto& slot = meetings[{sessions, participants, follows}];
    if (slot) return *slot;
    slot = std::make_unique<Meeting>();
    auto& meeting = *slot;
    meeting.service = std::make_unique<MeetingService>(
        // A seed per size (and count of follows): its own token and meeting
        // id, so its own store.
        testservice::generateMeeting({.seed = static_cast<uint64_t>(sessions) +
                                              (follows == 10 ? 0 : 1000000ull * static_cast<uint64_t>(follows)),
                                      .sessions = sessions,
                                      .participants = participants,
                                      .days = 4,
                                      .follows = follows}));
    if (!meeting.service->start()) abort();
    // Each size has its own service; the API client follows the root.
    QVAApiManager::setServiceRoot(meeting.service->rootURL());
    meeting.account = std::make_shared<QVAUserAccount>();
    meeting.account->setAuthenticationCode(meeting.service->demoToken());
    bool done = false;
    QVAApiManager::sharedApiManager().getEventWithId(meeting.service->eventId(), meeting.token(),
                                                     [&](const foundation::ErrorPtr&, const Value& result) {
                                                         meeting.event = result.objectAs<QVAEvent>();
                                                         done = true;
                                                     });
    if (!pumpUntil([&] { return done; }) || !meeting.event) abort();
    for (auto kind : testservice::allMeetingKinds()) meeting.rows += meeting.service->items(kind).size();
    return meeting;
}

// The meeting's service, and its account and meeting current, as the loading
// screen leaves them (the messages reload of the delta reads them).
inline void useMeeting(Meeting& meeting) {
    QVAApiManager::setServiceRoot(meeting.service->rootURL());
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.setCurrentAccount(meeting.account);
    settings.setCurrentEvent(meeting.event);
}

inline void freshStore(const Meeting& meeting) {
    auto& store = StorageManager::sharedStorageManager();
    store.removePersistentStoreForAuthToken(meeting.token(), meeting.eventId());
    store.initCoreDataStackForAuthToken(meeting.token(), meeting.eventId(), nullptr);
}

inline bool fullDownload(const Meeting& meeting) {
    bool done = false;
    foundation::ErrorPtr failure;
    QVAApiManagerFullDownload::loadAllDataForAccount(meeting.account, meeting.event, nullptr,
                                                     [&](const foundation::ErrorPtr& error, const Value&) {
                                                         failure = error;
                                                         done = true;
                                                     });
    return pumpUntil([&] { return done; }) && !failure;
}

inline void ensureLoaded(Meeting& meeting) {
    if (meeting.loaded) return;
    freshStore(meeting);
    if (!fullDownload(meeting)) abort();
    meeting.loaded = true;
}

// A worker save through the store front; the main loop runs until it is done.
inline bool workerSave(const Meeting& meeting, std::function<void(coredata::ManagedObjectContext&)> change) {
    bool done = false;
    foundation::ErrorPtr failure;
    StorageManager::sharedStorageManager().executeBlockInWorkerBackgroundContext(
        std::move(change), meeting.token(), meeting.eventId(), nullptr, [&](foundation::ErrorPtr error, Value) {
            failure = std::move(error);
            done = true;
        });
    return pumpUntil([&] { return done; }) && !failure;
}

// The meeting of the size made current and downloaded once: where a screen's
// benchmark starts.
inline Meeting& loadedMeeting(int sessions, int participants, int follows = 10) {
    auto& meeting = meetingOfSize(sessions, participants, follows);
    useMeeting(meeting);
    ensureLoaded(meeting);
    return meeting;
}

// A list scene of the phone storyboard with its delegate, loaded and shown
// in a key window; taken out of the window when it goes.
template <typename List, typename Delegate>
struct PhoneListScene {
    std::shared_ptr<uikit::UIWindow> window = std::make_shared<uikit::UIWindow>();
    std::shared_ptr<List> list;
    std::shared_ptr<Delegate> delegate = std::make_shared<Delegate>();

    PhoneListScene() {
        list = std::dynamic_pointer_cast<List>(uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName)
                                                   ->instantiateViewControllerWithIdentifier(List::kStoryboardIdentifier));
        if (!list) abort();
        list->setListDelegate(delegate);
        list->loadViewIfNeeded();
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    ~PhoneListScene() { window->setRootViewController(nullptr); }
    PhoneListScene(const PhoneListScene&) = delete;
    PhoneListScene& operator=(const PhoneListScene&) = delete;
};

}  // namespace benchmeeting

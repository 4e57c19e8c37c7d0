// The store's saves as a screen observes them: only the main-queue context
// of the store open when the screen loads, and only that context's own
// saves (with no store open an absent sender would stand for every sender,
// and a worker's save would then reach the screen off the main thread); a
// save whose objects the screen shows is answered by one update, on a later
// turn of the main run loop. The registration ends with the observer.
#pragma once

#include <functional>
#include <memory>

#include "foundation/NotificationCenter.h"

class CoreDataStack;

class StoreSaveObserver {
public:
    // Raised when a save reaches a screen off the main thread.
    static constexpr const char* kOffMainThreadSaveException =
        "New exception introduced for parent child core data contexts";

    StoreSaveObserver() = default;
    ~StoreSaveObserver();
    StoreSaveObserver(const StoreSaveObserver&) = delete;
    StoreSaveObserver& operator=(const StoreSaveObserver&) = delete;

    // Hands the did-save notifications of the stack's main-queue context to
    // `onSave`, when there is one and nothing is observed yet.
    void observe(const std::shared_ptr<CoreDataStack>& stack, std::function<void(const foundation::Notification&)> onSave);
    // The observed context (identity only; the registration keeps it); null when none.
    const foundation::Object* context() const { return context_; }

    // What a screen's did-save handler does: raises off the main thread
    // (`offMainThreadReason`); ignores every sender but `context`; and, when
    // the saved objects `match`, posts `update` to the main queue.
    static void updateOnceOnMatchingSave(const foundation::Notification& notification,
                                         const foundation::Object* context, const std::string& offMainThreadReason,
                                         const std::function<bool(const foundation::Value& userInfo)>& match,
                                         std::function<void()> update);

private:
    const foundation::Object* context_ = nullptr;
};

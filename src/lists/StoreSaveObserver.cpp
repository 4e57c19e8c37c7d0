#include "lists/StoreSaveObserver.h"

#include "coredata/Constants.h"
#include "coredata/ManagedObjectContext.h"
#include "dispatch/Queue.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "store/CoreDataStack.h"

StoreSaveObserver::~StoreSaveObserver() { foundation::NotificationCenter::defaultCenter().removeObserver(this); }

void StoreSaveObserver::observe(const std::shared_ptr<CoreDataStack>& stack,
                                std::function<void(const foundation::Notification&)> onSave) {
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context || context_) return;
    context_ = context.get();
    foundation::NotificationCenter::defaultCenter().addObserver(
        this, std::move(onSave), coredata::kManagedObjectContextDidSaveNotification, foundation::Value(context));
}

void StoreSaveObserver::updateOnceOnMatchingSave(const foundation::Notification& notification,
                                                 const foundation::Object* context,
                                                 const std::string& offMainThreadReason,
                                                 const std::function<bool(const foundation::Value& userInfo)>& match,
                                                 std::function<void()> update) {
    foundation::requireMainThread(offMainThreadReason, kOffMainThreadSaveException);
    if (!context || notification.object.object().get() != context) return;
    if (!match(notification.userInfo)) return;
    // After the notification has been delivered, once per matching save.
    dispatch::Queue::main()->async(std::move(update));
}

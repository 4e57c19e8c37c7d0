#include "http/UIImageView_QNNetworking.h"

#include <map>
#include <mutex>

#include "http/QNImageCache.h"

#include "foundation/OperationQueue.h"
#include "http/QNHTTPRequestOperation.h"
#include "uikit/UIImageView.h"

namespace UIImageView_QNNetworking {

namespace {

constexpr const char* kOperationKey = "qn_imageRequestOperation";

struct ClassCaches {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<QNImageCache>> byClass;
};

ClassCaches& classCaches() {
    static ClassCaches* caches = new ClassCaches();
    return *caches;
}

}  // namespace

std::shared_ptr<QNImageCache> qn_imageCacheSetOnClass(const std::string& className) {
    std::lock_guard lock(classCaches().mutex);
    auto it = classCaches().byClass.find(className);
    return it == classCaches().byClass.end() ? nullptr : it->second;
}

void qn_setImageCacheOnClass(std::shared_ptr<QNImageCache> cache, const std::string& className) {
    std::lock_guard lock(classCaches().mutex);
    classCaches().byClass[className] = std::move(cache);
}

std::shared_ptr<foundation::OperationQueue> qn_sharedImageRequestOperationQueue() {
    // Made once, thread-safely; the default width unless someone changes it.
    static const auto queue = foundation::OperationQueue::create();
    return queue;
}

std::shared_ptr<QNHTTPRequestOperation> qn_imageRequestOperation(const uikit::UIImageView& view) {
    return std::static_pointer_cast<QNHTTPRequestOperation>(view.attachedObject(kOperationKey));
}

void qn_setImageRequestOperation(uikit::UIImageView& view, std::shared_ptr<QNHTTPRequestOperation> operation) {
    view.setAttachedObject(kOperationKey, std::move(operation));
}

}  // namespace UIImageView_QNNetworking

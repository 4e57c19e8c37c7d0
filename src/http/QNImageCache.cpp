#include "http/QNImageCache.h"

#include "foundation/URL.h"

namespace {

std::optional<std::string> keyOf(const foundation::URLRequest& request) {
    if (!request.url()) return std::nullopt;
    return request.url()->absoluteString();
}

}  // namespace

std::shared_ptr<uikit::UIImage> QNImageCache::cachedImageForRequest(const foundation::URLRequest& request) {
    using Policy = foundation::URLRequest::CachePolicy;
    if (request.cachePolicy() == Policy::ReloadIgnoringLocalCacheData ||
        request.cachePolicy() == Policy::ReloadIgnoringLocalAndRemoteCacheData) {
        return nullptr;
    }
    auto key = keyOf(request);
    if (!key) return nullptr;
    std::lock_guard lock(mutex_);
    auto it = images_.find(*key);
    return it == images_.end() ? nullptr : it->second;
}

void QNImageCache::cacheImage(const std::shared_ptr<uikit::UIImage>& image,
                              const std::optional<foundation::URLRequest>& request) {
    if (!image || !request) return;
    auto key = keyOf(*request);
    if (!key) return;
    std::lock_guard lock(mutex_);
    images_[*key] = image;
}

void QNImageCache::removeAllObjects() {
    std::lock_guard lock(mutex_);
    images_.clear();
}

size_t QNImageCache::count() const {
    std::lock_guard lock(mutex_);
    return images_.size();
}

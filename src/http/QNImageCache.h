// Decoded images held in memory, keyed by the absolute text of their
// request's URL, with no count or cost limit; safe from any thread. The image
// views' and buttons' remote loading asks it before going to the network. A
// cache of another kind subclasses this one and overrides the two operations.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/URLRequest.h"

namespace uikit {
class UIImage;
}

class QNImageCache {
public:
    virtual ~QNImageCache() = default;

    // Null on a miss; a request that ignores local cache data (policies 1
    // and 4) always misses.
    virtual std::shared_ptr<uikit::UIImage> cachedImageForRequest(const foundation::URLRequest& request);
    // Stores only when there are both an image and a request with a URL.
    virtual void cacheImage(const std::shared_ptr<uikit::UIImage>& image,
                            const std::optional<foundation::URLRequest>& request);

    void removeAllObjects();
    size_t count() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<uikit::UIImage>> images_;
};

using QNImageCachePtr = std::shared_ptr<QNImageCache>;
